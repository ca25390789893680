// A small game server on 127.0.0.1 for the Auto Valuer's tests: it greets, describes the shop
// the character stands in, answers value commands with the shopkeeper's usual sentence and
// records every byte the program sends. Knobs let a test fragment the answers, add chat, stay
// silent or hang up.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <optional>

namespace ledgerly::testing {

class FakeGameServer : public QObject {
public:
    FakeGameServer();
    quint16 port() const { return server_.serverPort(); }

    // The price the shopkeeper names for commodity c.
    static int priceOf(int commodity) { return 100 + commodity; }

    QByteArray greeting = "\r\nWelcome to Caldmoor\xFF!\nName: \xFF\xF9";
    QByteArray place = "\r\nSea's End Direct Merchants\r\nCrates of salted fish.\r\n";
    int answersToGive = 1000;  // value commands beyond this get no answer
    int hangUpAfter = -1;      // close the connection once this many answers are out
    // How one answer is cut into pieces, written a millisecond apart; whole by default.
    std::function<QList<QByteArray>(const QByteArray& answer, int commodity)> pieces;
    // Text sent after the answer for commodity c, e.g. another player's chat.
    std::function<QByteArray(int commodity)> after;

    QList<QByteArray> received;  // everything the program sent, one entry per connection
    int answersGiven = 0;
    bool clientConnected() const {
        return client_ && client_->state() == QTcpSocket::ConnectedState;
    }

    void send(const QByteArray& bytes) { queue({bytes}); }

private:
    void accept();
    void onLine(const QByteArray& line);
    void queue(const QList<std::optional<QByteArray>>& pieces);
    void drain();

    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QByteArray pending_;
    QList<std::optional<QByteArray>> outbox_;  // nothing: hang up
    bool draining_ = false;
    bool placeSent_ = false;
};

}  // namespace ledgerly::testing
