// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTest>
#include <QThread>
#include <atomic>

#include "core/store_file.h"
#include "support/fake_game_server.h"
#include "support/test_platform.h"
#include "support/wait_until.h"
#include "windows/capture/capture_windows.h"
#include "windows/capture/paced_log.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

constexpr int kSeaSEnd = 16;

// Stands in for the price history and sharing: notes the store as it was when told of a run.
struct RecordedRuns final : ValuingRunListener {
    QString storePath;
    QList<int> posts;
    QByteArray storeWhenTold;
    Outcome valuingRunSaved(int tradingPost) override {
        posts << tradingPost;
        storeWhenTold = fileBytes(storePath);
        return {{QStringLiteral("compared with the last snapshot")}, QStringLiteral("not kept")};
    }
};

// The Auto Valuer as the main window makes it, with a pasted name and a typed password.
struct Valuer {
    TestContext t;
    RecordedRuns runs;
    std::function<QWidget*(QWidget*)> makeAutoValuer;
    std::unique_ptr<QWidget> window;

    Valuer(quint16 port, int loginPauseMs) {
        setNeverValued(t.data);
        runs.storePath = t.storePath();
        t.context.valuingRuns = &runs;
        t.platform.gameEndpoint = {QStringLiteral("127.0.0.1"), port};
        t.platform.loginPause = std::chrono::milliseconds(loginPauseMs);
        makeAutoValuer = autoValuerFactory(t.context);
        window.reset(makeAutoValuer(nullptr));
        window->show();
        find<QLineEdit>("txtpname")->setText("Aramir\r\n");
        QTest::keyClicks(find<QLineEdit>("txtppass"), "se cret");
    }
    template <typename T = QWidget>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QString log() const { return find("txtmain")->property("plainText").toString(); }
    QString progress() const { return find("Label4")->property("text").toString(); }
    void click(const char* button) { QTest::mouseClick(find(button), Qt::LeftButton); }
    bool connectAndLogIn(const FakeGameServer& server) {
        click("Command2");
        return waitUntil([&] {
            return log().contains("Connected.\nWelcome to Caldmoor\u00FF!\nName: \n\nSea's") &&
                   server.received.last().endsWith("Aramir\r\nse cret\r\n\r\n \r\n \r\n \r\n");
        });
    }
};

// A log on plain widgets whose clock stands still until the test moves it.
struct Log {
    QWidget window;
    QPlainTextEdit* box = new QPlainTextEdit(&window);
    QLabel* progress = new QLabel(&window);
    qint64 now = 0;
    PacedLog log{&window, box, progress, [this] { return now; }};
};

}  // namespace

class AutoValuerTest : public QObject {
    Q_OBJECT
private slots:
    // Dropped after 30 answers, a run keeps them in memory only and goes on after a new Connect.
    void runResumesAfterADroppedConnectionAndCompletes() {
        const auto restore = qScopeGuard([saved = QLocale()] { QLocale::setDefault(saved); });
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        FakeGameServer server;
        Valuer v(server.port(), 5);
        const QString unknown = v.find<QLineEdit>("txttpat")->text();
        QCOMPARE(v.find<QLineEdit>("txtppass")->echoMode(), QLineEdit::PasswordEchoOnEdit);
        QCOMPARE(QAccessible::queryAccessibleInterface(v.find("txtppass"))->text(QAccessible::Name),
                 v.find("Label2")->property("text").toString());
        QVERIFY(!QAccessible::queryAccessibleInterface(v.find("Label4"))
                     ->text(QAccessible::Description)
                     .isEmpty());
        server.hangUpAfter = 30;
        QVERIFY(v.connectAndLogIn(server));
        v.click("Command3");
        // The burst of answers is painted once it is over.
        QVERIFY(waitUntil([&] {
            return v.find<QTcpSocket>("sckMain")->state() == QAbstractSocket::UnconnectedState &&
                   v.progress().endsWith(" 34\u066B1%") && v.window->updatesEnabled() &&
                   v.log().contains("130 coins");
        }));
        for (int c = 1; c <= kCommodityCount; ++c)
            QCOMPARE(v.t.data.value(kSeaSEnd, c), c <= 30 ? 100.0F + c : 1.0F);
        QVERIFY(fileBytes(v.t.storePath()).isEmpty());
        v.click("Command3");  // the line has closed: the user is told so
        QCOMPARE(v.t.messages.shown.size(), 1);

        server.hangUpAfter = -1;
        QVERIFY(v.connectAndLogIn(server));
        QByteArray savedWhenTold;
        bool logEndsWithRecord = false;  // while the user reads "completed"
        v.t.messages.whileShown = [&] {
            if (savedWhenTold.isEmpty()) {
                savedWhenTold = fileBytes(v.t.storePath());
                logEndsWithRecord = waitUntil(
                    [&] { return v.log().trimmed().endsWith("compared with the last snapshot"); });
            }
        };
        v.click("Command3");
        // Completed, then the record that could not be kept.
        QVERIFY(waitUntil([&] { return v.t.messages.shown.size() == 3; }));
        QCOMPARE(v.t.messages.shown[2].text, "not kept");
        for (int c = 1; c <= kCommodityCount; ++c)
            QCOMPARE(v.t.data.value(kSeaSEnd, c), 100.0F + c);
        QCOMPARE(savedWhenTold, QByteArray::fromStdString(storeText(v.t.data)));
        QCOMPARE(v.runs.posts, QList<int>{kSeaSEnd});
        QCOMPARE(v.runs.storeWhenTold, savedWhenTold);
        QVERIFY(logEndsWithRecord);
        QVERIFY(!v.window->isVisible() && v.progress().isEmpty() && v.log().isEmpty());
        QCOMPARE(v.find<QLineEdit>("txttpat")->text(), unknown);
        QVERIFY(waitUntil([&] { return server.received.last().endsWith("covered\r\nquit\r\n"); }));
        QVERIFY(server.received.last().contains("look\r\nemote is autovalueing.\r\nvalue " +
                                                QByteArray(commodityName(31).data()) + " covered"));
    }

    // A name that would go out as two lines is refused; a save that fails leaves the file as it
    // was and says so, instead of saying that all went well.
    void refusedNameAndFailedSave() {
        FakeGameServer server;
        Valuer v(server.port(), 0);
        v.find<QLineEdit>("txtpname")->setText("Ara\nmir");
        v.click("Command2");
        QVERIFY(v.t.messages.shown.size() == 1 && v.log().isEmpty());  // not even "Connecting"
        v.find<QLineEdit>("txtpname")->setText("Aramir");
        QFile(v.t.storePath()).open(QIODevice::WriteOnly);  // an empty file, for now
        QVERIFY(QDir().mkpath(v.t.storePath() + ".tmp"));   // where the new file would go
        QVERIFY(v.connectAndLogIn(server));
        v.click("Command3");
        QVERIFY(waitUntil([&] { return v.t.messages.shown.size() > 1; }));
        QCOMPARE(v.t.messages.shown.size(), 2);
        QCOMPARE(v.t.messages.shown[1].caption, MessageBoxes::programTitle());
        QVERIFY(v.t.messages.shown[1].text.contains(QDir::toNativeSeparators(v.t.storePath())));
        QCOMPARE(QFileInfo(v.t.storePath()).size(), 0);
        QCOMPARE(v.t.data.value(kSeaSEnd, kCommodityCount), 100.0F + kCommodityCount);
        QVERIFY(v.runs.posts.isEmpty());  // no history of prices that are not on disk
    }

    // The server answers the login and hangs up during the pause, on a thread the pause can't hold.
    void lastWordsOfAServerHangingUpDuringTheLoginPauseAreShown() {
        std::atomic<quint16> port = 0;
        std::unique_ptr<QThread> server(QThread::create([&port] {
            QTcpServer listener;
            listener.listen(QHostAddress::LocalHost, 0);
            port = listener.serverPort();
            if (!listener.waitForNewConnection(5000))
                return;
            QTcpSocket* client = listener.nextPendingConnection();
            QByteArray login;
            while (!login.endsWith("\r\n\r\n") && client->waitForReadyRead(5000))
                login += client->readAll();
            client->write(
                "Sea's End Direct Merchants: We'll pay you covered: 999 coins of gold for "
                "that.\r\nBye.\r\n");
            client->waitForBytesWritten(5000);
        }));
        server->start();
        const auto join = qScopeGuard([&] { server->wait(); });
        QVERIFY(waitUntil([&] { return port != 0; }));
        Valuer v(port, 500);
        v.click("Command2");
        // The note that the connection has gone follows the server's last words.
        QVERIFY2(waitUntil([&] { return !v.log().section("Bye.", 1).trimmed().isEmpty(); }),
                 qPrintable(v.log()));
        v.click("Command3");
        QCOMPARE(v.t.messages.shown.size(), 1);       // only now: not connected
        QCOMPARE(v.t.data.value(kSeaSEnd, 1), 1.0F);  // the answer nobody asked for
        QVERIFY(server->wait(5000));
        v.click("Command2");  // nobody listens any more
        QVERIFY(waitUntil([&] { return v.t.messages.shown.size() == 2; }));
        const QString error = v.t.messages.shown[1].text;  // names the server it tried
        QVERIFY(error.contains("refused") && error.contains(QString::number(port)));
    }

    // Bursts are painted once an interval is over; a full log drops its oldest text.
    void heldTextIsPaintedAfterOneInterval() {
        Log log;
        log.log.holdPainting();
        log.log.append(QString(PacedLog::kLogLimit, 'a'));
        log.log.append("b");  // more than the log keeps
        log.now += PacedLog::kPaintInterval - 1;
        log.log.holdPainting();
        QVERIFY(log.box->toPlainText().isEmpty() && !log.window.updatesEnabled());
        log.now += 1;
        log.log.holdPainting();
        const QString shown = log.box->toPlainText();
        QVERIFY(shown.endsWith("ab") && shown.size() < PacedLog::kLogLimit);
        QVERIFY(log.window.updatesEnabled());
    }
};

QTEST_MAIN(AutoValuerTest)
#include "test_auto_valuer.moc"
