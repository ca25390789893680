// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Auto Valuer: logs the character into the game, asks the shopkeeper for every commodity's
// value and saves the answers as the trading post's prices. The window owns the socket and the
// controls; ValuingDialogue decides what is sent and what arrived text means.
#pragma once

#include <QAbstractSocket>
#include <QWidget>

#include "rules/capture/arrival_pump.h"
#include "rules/capture/valuing_dialogue.h"
#include "ui/platform.h"
#include "windows/capture/paced_log.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTcpSocket;

namespace ledgerly {

class AutoValuerWindow : public QWidget {
    Q_OBJECT
public:
    explicit AutoValuerWindow(AppContext& context, QWidget* parent = nullptr);
    ~AutoValuerWindow() override;

private:
    void connectPressed();
    void valuePressed();
    void socketConnected();
    void takeArrivals();
    void socketError(QAbstractSocket::SocketError error);

    // Each returns false when the window was closed while pending events ran; the caller must
    // then return at once without touching the window.
    bool handleArrival(const QByteArray& bytes);
    bool react(const Reaction& reaction);
    bool completeRun(const RunCompletion& run);
    bool letPendingEventsRun();

    bool isConnected() const;
    // Sends each line, unless the connection has gone, and lets pending events run.
    bool sendLines(const std::vector<std::string>& lines);
    void sendLine(const std::string& line);
    void appendNote(const std::string& note);
    void informNotConnected();

    AppContext& context_;
    ValuingDialogue dialogue_;
    quint64 connection_ = 0;  // counts Connect presses, so a handler can tell it was overtaken
    ArrivalPump arrivals_;

    QLineEdit* nameBox_;
    QLineEdit* passwordBox_;
    QPushButton* connectButton_;
    QPushButton* valueButton_;
    QPlainTextEdit* serverLog_;
    QLineEdit* shopBox_;
    QLabel* progressLabel_;
    QTcpSocket* socket_;
    PacedLog log_;
};

}  // namespace ledgerly
