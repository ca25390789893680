// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/capture/auto_valuer_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpSocket>
#include <QThread>
#include <filesystem>

#include "core/store_file.h"
#include "ui/qt_text.h"
#include "ui/widget_helpers.h"

namespace ledgerly {
namespace {

const QString kNotYetKnown = QStringLiteral("Not Yet Known");
// Server text taken in one turn of the event loop: a few milliseconds' work, so that presses and
// painting come through even while a server floods the line.
constexpr qint64 kArrivalBudget = qint64{64} * 1024;

QString latin1Text(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

AutoValuerWindow::AutoValuerWindow(AppContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      dialogue_(context.data, context.platform.clock, localeDecimalSeparator()),
      nameBox_(new QLineEdit(this)),
      passwordBox_(new QLineEdit(this)),
      connectButton_(new QPushButton(QStringLiteral("Connect"), this)),
      valueButton_(new QPushButton(QStringLiteral("Value"), this)),
      serverLog_(new QPlainTextEdit(this)),
      shopBox_(new QLineEdit(this)),
      progressLabel_(new QLabel(this)),
      socket_(new QTcpSocket(this)),
      log_(this, serverLog_, progressLabel_) {
    setObjectName(QStringLiteral("frmvalueing"));
    setWindowTitle(QStringLiteral("Auto Valuer"));

    nameBox_->setObjectName(QStringLiteral("txtpname"));
    passwordBox_->setObjectName(QStringLiteral("txtppass"));
    connectButton_->setObjectName(QStringLiteral("Command2"));
    valueButton_->setObjectName(QStringLiteral("Command3"));
    serverLog_->setObjectName(QStringLiteral("txtmain"));
    shopBox_->setObjectName(QStringLiteral("txttpat"));
    progressLabel_->setObjectName(QStringLiteral("Label4"));
    socket_->setObjectName(QStringLiteral("sckMain"));

    // Readable while it is typed, masked whenever the user is not editing it, so a glance at
    // the screen does not give it away.
    passwordBox_->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    serverLog_->setReadOnly(true);
    serverLog_->setUndoRedoEnabled(false);  // an undo history of the log would grow without end
    serverLog_->setAccessibleName(QStringLiteral("Server text"));
    // Room for a typical line of the game's text and a screenful of it.
    const QFontMetrics metrics(serverLog_->font());
    serverLog_->setMinimumSize(metrics.averageCharWidth() * 80, metrics.lineSpacing() * 16);
    // The post is recognised from the server's text, never typed.
    shopBox_->setReadOnly(true);
    shopBox_->setText(kNotYetKnown);
    // A description, not a name: a name would stand in for the label's text, and assistive
    // tools would read "Progress" instead of the percentage.
    progressLabel_->setAccessibleDescription(QStringLiteral("Valuing progress"));

    auto* label1 = buddyLabel(QStringLiteral("Label1"), QStringLiteral("Name"), nameBox_, this);
    auto* label2 =
        buddyLabel(QStringLiteral("Label2"), QStringLiteral("Password"), passwordBox_, this);
    auto* label3 =
        buddyLabel(QStringLiteral("Label3"), QStringLiteral("You are at:"), shopBox_, this);
    auto* label5 = new QLabel(
        QStringLiteral("Instructions: Go to the post you want to value at and lose link. Type in "
                       "your name and password and press connect.  When you have connected, "
                       "press value."),
        this);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setWordWrap(true);

    for (QPushButton* button : {connectButton_, valueButton_})
        button->setAutoDefault(false);

    auto* login = new QGridLayout;
    login->addWidget(label1, 0, 0);
    login->addWidget(nameBox_, 0, 1);
    login->addWidget(label2, 1, 0);
    login->addWidget(passwordBox_, 1, 1);
    login->addWidget(connectButton_, 0, 2);
    login->addWidget(valueButton_, 1, 2);

    auto* place = new QHBoxLayout;
    place->addWidget(label3);
    place->addWidget(shopBox_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label5);
    layout->addLayout(login);
    layout->addWidget(serverLog_, 1);
    layout->addLayout(place);
    layout->addWidget(progressLabel_);

    chainTabOrder({nameBox_, passwordBox_, connectButton_, valueButton_, serverLog_, shopBox_});

    connect(connectButton_, &QPushButton::clicked, this, &AutoValuerWindow::connectPressed);
    connect(valueButton_, &QPushButton::clicked, this, &AutoValuerWindow::valuePressed);
    connect(socket_, &QTcpSocket::connected, this, &AutoValuerWindow::socketConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &AutoValuerWindow::takeArrivals);
    connect(socket_, &QTcpSocket::disconnected, this, &AutoValuerWindow::takeArrivals);
    connect(socket_, &QTcpSocket::errorOccurred, this, &AutoValuerWindow::socketError);
}

AutoValuerWindow::~AutoValuerWindow() {
    // Closing the window drops its connection (and the dialogue puts back a run left
    // unfinished). Dropped here, while the window is whole, the socket has nothing left to say
    // when it goes with its parent.
    socket_->abort();
}

void AutoValuerWindow::connectPressed() {
    const std::string problem = dialogue_.connectPressed(nameBox_->text().toStdString(),
                                                         passwordBox_->text().toStdString());
    if (!problem.empty()) {
        context_.platform.messages.inform(this, qtText(problem));
        return;
    }
    ++connection_;
    shopBox_->setText(kNotYetKnown);
    log_.reset(QStringLiteral("Connecting...."));
    // Dropped without a goodbye: the server will see the character lose link, as it should.
    socket_->abort();
    const GameEndpoint& endpoint = context_.platform.gameEndpoint;
    socket_->connectToHost(endpoint.host, endpoint.port);
}

void AutoValuerWindow::socketConnected() {
    // Every line is a command the server should act on now, not gather with the next.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    log_.append(QStringLiteral("\r\nConnected."));
    const quint64 connection = connection_;
    for (const std::string& line : dialogue_.connected())
        sendLine(line);
    // The server needs a moment to take the login; the pause deliberately holds everything.
    QThread::msleep(static_cast<unsigned long>(context_.platform.loginPause.count()));
    // What came meanwhile is shown before anything more is sent: a server that answered the
    // login by hanging up would make the next line fail, and its last words would be lost.
    if (!letPendingEventsRun() || connection != connection_)
        return;
    sendLines(dialogue_.pauseOver());
}

void AutoValuerWindow::valuePressed() {
    const ValuePress press = dialogue_.valuePressed();
    if (press.notConnected)
        informNotConnected();
    else
        react(press);
}

void AutoValuerWindow::takeArrivals() {
    const auto handle = [this](const QByteArray& bytes) { return handleArrival(bytes); };
    switch (arrivals_.drain(*socket_, handle, kArrivalBudget)) {
        case ArrivalPump::Drained::OwnerGone:
            return;
        case ArrivalPump::Drained::MoreWaiting:
            QMetaObject::invokeMethod(this, &AutoValuerWindow::takeArrivals, Qt::QueuedConnection);
            return;
        case ArrivalPump::Drained::Empty:
            break;
    }
    // A line that has closed ends the conversation only once everything the server sent
    // before it has been examined, however deep in a handler the closing was noticed.
    if (!arrivals_.draining() && !isConnected())
        dialogue_.lineClosed();
}

bool AutoValuerWindow::handleArrival(const QByteArray& bytes) {
    log_.holdPainting();
    const ArrivalOutcome out = dialogue_.arrive(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    log_.append(latin1Text(out.shown));
    if (out.shopName)
        shopBox_->setText(latin1Text(*out.shopName));
    return react(out);
}

bool AutoValuerWindow::react(const Reaction& reaction) {
    for (const std::string& note : reaction.notes)
        appendNote(note);
    // Unlike server text, the progress is the program's own UTF-8: the user's decimal
    // separator need not be a single Latin-1 character.
    if (reaction.progress)
        log_.setProgress(qtText(*reaction.progress));
    if (reaction.completed)
        return completeRun(*reaction.completed);
    if (reaction.lines.empty())
        return true;
    if (!isConnected()) {
        informNotConnected();
        return true;
    }
    return sendLines(reaction.lines);
}

bool AutoValuerWindow::completeRun(const RunCompletion& run) {
    sendLine("quit");
    socket_->close();

    // Saved before anything is said, so that "completed" is only ever said of prices on disk,
    // and a program left with the message open loses nothing.
    const QString path = context_.platform.storePath;
    const auto failure = saveStore(std::filesystem::path(path.toStdU16String()), context_.data);

    // The records beside the store follow only prices that are on disk.
    ValuingRunListener::Outcome records;
    if (!failure && context_.valuingRuns) {
        records = context_.valuingRuns->valuingRunSaved(run.tradingPost);
        for (const QString& note : records.notes)
            log_.append(QStringLiteral("\r\n") + note + QStringLiteral("\r\n"));
    }

    QPointer<AutoValuerWindow> self(this);
    MessageBoxes& messages = context_.platform.messages;
    if (failure) {
        messages.inform(
            this, QStringLiteral("The valuing run is complete, but the trade values file %1 could "
                                 "not be written (%2). The file is as it was before; the new "
                                 "prices are kept in memory only.")
                      .arg(QDir::toNativeSeparators(path), QString::fromStdString(*failure)));
    } else {
        messages.inform(this, qtText(completionText(run)), QStringLiteral("Finished!"));
        if (self && !records.failure.isEmpty())
            messages.inform(this, records.failure);
    }
    if (!self)
        return false;
    shopBox_->setText(kNotYetKnown);
    log_.reset(QString());
    log_.setProgress(QString());
    hide();
    return true;
}

void AutoValuerWindow::socketError(QAbstractSocket::SocketError error) {
    if (error == QAbstractSocket::RemoteHostClosedError) {
        // The server hanging up is not a fault of the user's; the log says so quietly.
        appendNote("The server has closed the connection.");
        return;
    }
    // Named: with --server it need not be the game's own server that refused.
    const GameEndpoint& server = context_.platform.gameEndpoint;
    context_.platform.messages.inform(
        this, QStringLiteral("Error: %1 (server %2, port %3)")
                  .arg(socket_->errorString(), server.host, QString::number(server.port)));
}

bool AutoValuerWindow::letPendingEventsRun() {
    QPointer<AutoValuerWindow> self(this);
    QCoreApplication::processEvents();
    return !self.isNull();
}

bool AutoValuerWindow::isConnected() const {
    return socket_->state() == QAbstractSocket::ConnectedState;
}

bool AutoValuerWindow::sendLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        sendLine(line);
    return letPendingEventsRun();
}

void AutoValuerWindow::sendLine(const std::string& line) {
    if (!isConnected())
        return;
    QByteArray bytes(line.data(), static_cast<qsizetype>(line.size()));
    bytes += "\r\n";
    socket_->write(bytes);
    socket_->flush();
}

void AutoValuerWindow::appendNote(const std::string& note) {
    log_.append(QStringLiteral("\r\n") + latin1Text(note) + QStringLiteral("\r\n"));
}

void AutoValuerWindow::informNotConnected() {
    context_.platform.messages.inform(this, QStringLiteral("You're not connected to anything"));
}

}  // namespace ledgerly
