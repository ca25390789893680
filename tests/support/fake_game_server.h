// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A game server on 127.0.0.1 for the Auto Valuer's tests and benchmark: it greets, names the shop
// after the login and on "look", answers value commands and records every byte it receives.
#pragma once

#include <QTcpServer>
#include <QTcpSocket>

#include "core/catalogue.h"

namespace ledgerly::testing {

class FakeGameServer : public QObject {
public:
    FakeGameServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            received.append(QByteArray());
            connect(socket, &QTcpSocket::readyRead, this,
                    [this, socket, lines = QByteArray()]() mutable {
                        const QByteArray bytes = socket->readAll();
                        received.last() += bytes;
                        for (lines += bytes; lines.contains("\r\n");
                             lines.remove(0, lines.indexOf("\r\n") + 2))
                            answer(socket, lines.left(lines.indexOf("\r\n")));
                    });
            socket->write("\r\nWelcome to Caldmoor\xFF!\nName: \xFF\xF9");
        });
    }
    quint16 port() const { return server_.serverPort(); }
    int hangUpAfter = -1;        // close the connection once this many answers are out
    QList<QByteArray> received;  // everything the program sent, one entry per connection

private:
    void answer(QTcpSocket* client, const QByteArray& line) {
        if (line.isEmpty() || line == "look")
            client->write("\r\nSea's End Direct Merchants\r\nCrates of salted fish.\r\n");
        for (int c = 1; c <= kCommodityCount; ++c) {
            if (line != "value " + QByteArray(commodityName(c).data()) + " covered")
                continue;
            client->write("The shopkeeper says, 'We'll pay you covered: " +
                          QByteArray::number(100 + c) + " coins of gold for that.'\r\n");
            if (++answersGiven_ == hangUpAfter)
                client->disconnectFromHost();
        }
    }

    QTcpServer server_;
    int answersGiven_ = 0;
};

}  // namespace ledgerly::testing
