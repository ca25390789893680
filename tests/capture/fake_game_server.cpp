#include "fake_game_server.h"

#include <QTimer>

#include "core/catalogue.h"

namespace ledgerly::testing {

FakeGameServer::FakeGameServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
}

void FakeGameServer::accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        if (client_)
            client_->disconnect(this);
        client_ = socket;
        // Pieces are meant to arrive as pieces, not wait for each other's acknowledgement.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        received.append(QByteArray());
        pending_.clear();
        outbox_.clear();
        placeSent_ = false;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (socket != client_)
                return;
            const QByteArray bytes = client_->readAll();
            received.last() += bytes;
            pending_ += bytes;
            for (qsizetype end; (end = pending_.indexOf("\r\n")) >= 0; pending_.remove(0, end + 2))
                onLine(pending_.left(end));
        });
        queue({greeting});
    }
}

void FakeGameServer::onLine(const QByteArray& line) {
    if ((line.isEmpty() && !placeSent_) || line == "look") {
        placeSent_ = true;
        return queue({place});
    }
    if (line == "quit")
        return queue({"Farewell.\r\n"});
    if (!line.startsWith("value ") || !line.endsWith(" covered"))
        return;
    const QByteArray name = line.mid(6, line.size() - 6 - 8);
    int commodity = 0;
    for (int c = 1; c <= kCommodityCount; ++c) {
        if (name == QByteArray(commodityName(c).data(), commodityName(c).size()))
            commodity = c;
    }
    if (commodity == 0 || answersGiven >= answersToGive)
        return;
    ++answersGiven;
    const QByteArray answer =
        "The shopkeeper says, 'We'll pay you covered: " + QByteArray::number(priceOf(commodity)) +
        " coins of gold for that.'\r\n";
    QList<std::optional<QByteArray>> out;
    for (const QByteArray& piece : pieces ? pieces(answer, commodity) : QList<QByteArray>{answer})
        out.append(piece);
    if (after)
        out.append(after(commodity));
    if (answersGiven == hangUpAfter)
        out.append(std::nullopt);
    queue(out);
}

void FakeGameServer::queue(const QList<std::optional<QByteArray>>& pieces) {
    outbox_ += pieces;
    if (!draining_)
        drain();
}

void FakeGameServer::drain() {
    draining_ = true;
    while (client_ && !outbox_.isEmpty()) {
        const std::optional<QByteArray> piece = outbox_.takeFirst();
        if (!piece) {
            client_->disconnectFromHost();
            outbox_.clear();
            break;
        }
        client_->write(*piece);
        client_->flush();
        if (pieces && !outbox_.isEmpty()) {
            QTimer::singleShot(1, this, [this] { drain(); });
            return;
        }
    }
    draining_ = false;
}

}  // namespace ledgerly::testing
