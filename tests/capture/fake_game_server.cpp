#include "fake_game_server.h"

#include <QTimer>

#include "core/catalogue.h"

namespace ledgerly::testing {

FakeGameServer::FakeGameServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
}

QByteArray FakeGameServer::answerFor(int commodity) {
    return "The shopkeeper says, 'We'll pay you covered: " +
           QByteArray::number(priceOf(commodity)) + " coins of gold for that.'\r\n";
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
            if (socket == client_)
                readLines();
        });
        queue({greeting});
    }
}

void FakeGameServer::readLines() {
    const QByteArray bytes = client_->readAll();
    received.last() += bytes;
    pending_ += bytes;
    for (qsizetype end; (end = pending_.indexOf("\r\n")) >= 0;) {
        const QByteArray line = pending_.left(end);
        pending_.remove(0, end + 2);
        onLine(line);
    }
}

void FakeGameServer::onLine(const QByteArray& line) {
    if ((line.isEmpty() && !placeSent_) || line == "look") {
        placeSent_ = true;
        queue({place});
        return;
    }
    if (line == "quit") {
        queue({"Farewell.\r\n"});
        return;
    }
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
    const QByteArray answer = answerFor(commodity);
    queue(pieces ? pieces(answer, commodity) : QList<QByteArray>{answer});
    if (after)
        queue({after(commodity)});
    if (answersGiven == hangUpAfter) {
        outbox_.append(std::nullopt);
        if (!draining_)
            drain();
    }
}

void FakeGameServer::queue(const QList<QByteArray>& pieces) {
    for (const QByteArray& piece : pieces)
        outbox_.append(piece);
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
        if (gapMs > 0 && !outbox_.isEmpty()) {
            QTimer::singleShot(gapMs, this, [this] { drain(); });
            return;
        }
    }
    draining_ = false;
}

}  // namespace ledgerly::testing
