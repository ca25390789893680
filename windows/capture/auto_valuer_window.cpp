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

#include "core/catalogue.h"
#include "core/hour_clock.h"
#include "core/store_file.h"
#include "ui/qt_text.h"
#include "ui/widget_helpers.h"

namespace ledgerly {
namespace {

const QString kNotYetKnown = QStringLiteral("Not Yet Known");

QString latin1Text(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string latin1Bytes(const QString& text) {
    return text.toLatin1().toStdString();
}

}  // namespace

AutoValuerWindow::AutoValuerWindow(AppContext& context, ValuingSession& session, QWidget* parent)
    : QWidget(parent),
      context_(context),
      dialogue_(context.data, session, localeDecimalSeparator()),
      txtpname_(new QLineEdit(this)),
      txtppass_(new QLineEdit(this)),
      Command2_(new QPushButton(QStringLiteral("Connect"), this)),
      Command3_(new QPushButton(QStringLiteral("Value"), this)),
      txtmain_(new QPlainTextEdit(this)),
      txttpat_(new QLineEdit(this)),
      Label4_(new QLabel(this)),
      sckMain_(new QTcpSocket(this)),
      log_(this, txtmain_, Label4_) {
    setObjectName(QStringLiteral("frmvalueing"));
    setWindowTitle(QStringLiteral("Auto Valuer"));

    txtpname_->setObjectName(QStringLiteral("txtpname"));
    txtppass_->setObjectName(QStringLiteral("txtppass"));
    Command2_->setObjectName(QStringLiteral("Command2"));
    Command3_->setObjectName(QStringLiteral("Command3"));
    txtmain_->setObjectName(QStringLiteral("txtmain"));
    txttpat_->setObjectName(QStringLiteral("txttpat"));
    Label4_->setObjectName(QStringLiteral("Label4"));
    sckMain_->setObjectName(QStringLiteral("sckMain"));

    // Readable while it is typed, masked whenever the user is not editing it, so a glance at
    // the screen does not give it away.
    txtppass_->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    txtmain_->setReadOnly(true);
    txtmain_->setUndoRedoEnabled(false);  // an undo history of the log would grow without end
    txtmain_->setAccessibleName(QStringLiteral("Server text"));
    // Room for a typical line of the game's text and a screenful of it.
    const QFontMetrics metrics(txtmain_->font());
    txtmain_->setMinimumSize(metrics.averageCharWidth() * 80, metrics.lineSpacing() * 16);
    // The post is recognised from the server's text, never typed. A new window starts blank
    // even though the session still remembers who logged in and where.
    txttpat_->setReadOnly(true);
    txttpat_->setText(kNotYetKnown);
    // A description, not a name: a name would stand in for the label's text, and assistive
    // tools would read "Progress" instead of the percentage.
    Label4_->setAccessibleDescription(QStringLiteral("Valuing progress"));

    auto* label1 = buddyLabel(QStringLiteral("Label1"), QStringLiteral("Name"), txtpname_, this);
    auto* label2 =
        buddyLabel(QStringLiteral("Label2"), QStringLiteral("Password"), txtppass_, this);
    auto* label3 =
        buddyLabel(QStringLiteral("Label3"), QStringLiteral("You are at:"), txttpat_, this);
    auto* label5 = new QLabel(
        QStringLiteral("Instructions: Go to the post you want to value at and lose link. Type in "
                       "your name and password and press connect.  When you have connected, "
                       "press value."),
        this);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setWordWrap(true);

    for (QPushButton* button : {Command2_, Command3_})
        button->setAutoDefault(false);

    auto* login = new QGridLayout;
    login->addWidget(label1, 0, 0);
    login->addWidget(txtpname_, 0, 1);
    login->addWidget(label2, 1, 0);
    login->addWidget(txtppass_, 1, 1);
    login->addWidget(Command2_, 0, 2);
    login->addWidget(Command3_, 1, 2);

    auto* place = new QHBoxLayout;
    place->addWidget(label3);
    place->addWidget(txttpat_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label5);
    layout->addLayout(login);
    layout->addWidget(txtmain_, 1);
    layout->addLayout(place);
    layout->addWidget(Label4_);

    chainTabOrder({txtpname_, txtppass_, Command2_, Command3_, txtmain_, txttpat_});

    connect(Command2_, &QPushButton::clicked, this, &AutoValuerWindow::connectPressed);
    connect(Command3_, &QPushButton::clicked, this, &AutoValuerWindow::valuePressed);
    connect(sckMain_, &QTcpSocket::connected, this, &AutoValuerWindow::socketConnected);
    connect(sckMain_, &QTcpSocket::readyRead, this, &AutoValuerWindow::socketReadyRead);
    connect(sckMain_, &QTcpSocket::errorOccurred, this, &AutoValuerWindow::socketError);
}

AutoValuerWindow::~AutoValuerWindow() {
    // Closing the window drops its connection; nothing the socket says on the way out may reach
    // a half-destroyed window.
    sckMain_->disconnect(this);
    sckMain_->abort();
}

void AutoValuerWindow::connectPressed() {
    dialogue_.connectPressed(latin1Bytes(txtpname_->text()), latin1Bytes(txtppass_->text()));
    ++connection_;
    log_.reset(QStringLiteral("Connecting...."));
    // Dropped without a goodbye: the server will see the character lose link, as it should.
    sckMain_->abort();
    const GameEndpoint& endpoint = context_.platform.gameEndpoint;
    sckMain_->connectToHost(endpoint.host, endpoint.port);
}

void AutoValuerWindow::socketConnected() {
    // Every line is a command the server should act on now, not gather with the next.
    sckMain_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    log_.append(QStringLiteral("\r\nConnected."));
    if (!isConnected()) {
        informNotConnected();
        return;
    }
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
    const ValuePress press = dialogue_.valuePressed(isConnected());
    if (press.notConnected) {
        informNotConnected();
        return;
    }
    if (press.progress)
        log_.setProgress(qtText(*press.progress));
    if (!press.note.empty())
        appendNote(press.note);
    if (!press.lines.empty())
        sendLines(press.lines);
}

void AutoValuerWindow::socketReadyRead() {
    arrivals_.drain(*sckMain_, [this](const QByteArray& bytes) { return handleArrival(bytes); });
}

bool AutoValuerWindow::handleArrival(const QByteArray& bytes) {
    log_.holdPainting();
    const ArrivalOutcome out = dialogue_.arrive(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    log_.append(latin1Text(out.shown));
    for (const std::string& note : out.notes)
        appendNote(note);
    if (out.shopName)
        txttpat_->setText(latin1Text(*out.shopName));
    // Unlike server text, the progress is the program's own UTF-8: the user's decimal
    // separator need not be a single Latin-1 character.
    if (out.progress)
        log_.setProgress(qtText(*out.progress));
    if (out.complete)
        return finishRun();
    if (!out.ask)
        return true;
    if (!isConnected()) {
        informNotConnected();
        return true;
    }
    return sendLines({*out.ask});
}

bool AutoValuerWindow::finishRun() {
    sendLine("quit");
    sckMain_->close();

    // The stamp says when the prices were taken, and the file is written before anyone has to
    // dismiss a message box, so a program left with the box open loses nothing.
    const float reading = readHourClock(context_.platform.clock);
    dialogue_.finishRun(reading);
    const QString path = context_.platform.storePath;
    const auto failure = saveStore(std::filesystem::path(path.toStdU16String()), context_.data);

    QPointer<AutoValuerWindow> self(this);
    MessageBoxes& messages = context_.platform.messages;
    messages.inform(this, QStringLiteral("Valuing successfully completed!"),
                    QStringLiteral("Finished!"));
    if (!self)
        return false;
    if (failure) {
        messages.inform(this,
                        QStringLiteral("The new values are kept in memory, but the trade values "
                                       "file %1 could not be written (%2).")
                            .arg(QDir::toNativeSeparators(path), QString::fromStdString(*failure)));
        if (!self)
            return false;
    }
    txttpat_->setText(kNotYetKnown);
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
                  .arg(sckMain_->errorString(), server.host, QString::number(server.port)));
}

bool AutoValuerWindow::letPendingEventsRun() {
    QPointer<AutoValuerWindow> self(this);
    QCoreApplication::processEvents();
    return !self.isNull();
}

bool AutoValuerWindow::isConnected() const {
    return sckMain_->state() == QAbstractSocket::ConnectedState;
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
    sckMain_->write(bytes);
    sckMain_->flush();
}

void AutoValuerWindow::appendNote(const std::string& note) {
    log_.append(QStringLiteral("\r\n") + latin1Text(note) + QStringLiteral("\r\n"));
}

void AutoValuerWindow::informNotConnected() {
    context_.platform.messages.inform(this, QStringLiteral("You're not connected to anything"));
}

}  // namespace ledgerly
