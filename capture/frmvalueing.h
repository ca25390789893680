// The Auto Valuer: logs the character into the game, asks the shopkeeper for every commodity's
// value and saves the answers as the trading post's prices. The window owns the socket and the
// controls; ValuingDialogue decides what is sent and what arrived text means.
#pragma once

#include <QAbstractSocket>
#include <QWidget>
#include <optional>

#include "capture/arrival_pump.h"
#include "capture/valuing_dialogue.h"
#include "ui/platform.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTcpSocket;
class QTimer;

namespace ledgerly {

class frmvalueing : public QWidget {
    Q_OBJECT
public:
    // The log keeps at most this many characters, dropping the oldest, so that a chatty server
    // cannot make it grow without end.
    static constexpr int kLogLimit = 1 << 20;

    frmvalueing(AppContext& context, ValuingSession& session, QWidget* parent = nullptr);
    ~frmvalueing() override;

private:
    void connectPressed();
    void valuePressed();
    void socketConnected();
    void socketReadyRead();
    void socketError(QAbstractSocket::SocketError error);

    // Each returns false when the window was closed while pending events ran; the caller must
    // then return at once without touching the window.
    bool handleArrival(const QByteArray& bytes);
    bool askNext();
    bool finishRun();
    bool letPendingEventsRun();

    bool isConnected() const;
    void sendLine(const std::string& line);
    void appendToLog(const QString& text);
    void flushLog();
    void appendNote(const std::string& note);
    void informNotConnected();
    void holdPainting();

    AppContext& context_;
    ValuingDialogue dialogue_;
    quint64 connection_ = 0;  // counts Connect presses, so a handler can tell it was overtaken
    ArrivalPump arrivals_;
    // Against a server that answers at once, repainting the window for every answer would cost
    // far more than the conversation itself; painting is held back for a moment instead.
    QTimer* paintPacer_;
    QString pendingLog_;  // log text not yet in the box, while painting is held back
    bool pendingLogReplacesAll_ = false;      // so much arrived that the box's text is outdated
    std::optional<QString> pendingProgress_;  // progress text for the next repaint

    QLineEdit* txtpname_;
    QLineEdit* txtppass_;
    QPushButton* Command2_;
    QPushButton* Command3_;
    QPlainTextEdit* txtmain_;
    QLineEdit* txttpat_;
    QLabel* Label4_;
    QTcpSocket* sckMain_;
};

}  // namespace ledgerly
