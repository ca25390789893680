#include <QAccessible>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>
#include <QThread>
#include <atomic>

#include "core/hour_clock.h"
#include "core/store_file.h"
#include "support/test_platform.h"
#include "support/wait_until.h"
#include "support/fake_game_server.h"
#include "windows/capture/capture_windows.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

constexpr int kSeaSEnd = 16;

// The Auto Valuer as the main window makes it, with a name and password typed in.
struct Valuer {
    TestContext t;
    ToolWindowCatalogue catalogue;
    std::unique_ptr<QWidget> window;

    Valuer(quint16 port, int loginPauseMs) {
        setNeverValued(t.data);
        t.platform.gameEndpoint = {QStringLiteral("127.0.0.1"), port};
        t.platform.loginPause = std::chrono::milliseconds(loginPauseMs);
        addCaptureWindows(catalogue, t.context);
        window.reset(catalogue.at(QStringLiteral("Command12"))(nullptr));
        window->show();
        QTest::keyClicks(find<QLineEdit>("txtpname"), "Aramir");
        QTest::keyClicks(find<QLineEdit>("txtppass"), "se cret");
    }
    template <typename T = QWidget>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QString log() const { return find("txtmain")->property("plainText").toString(); }
    QString progress() const { return find("Label4")->property("text").toString(); }
    void click(const char* button) { QTest::mouseClick(find(button), Qt::LeftButton); }
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
        const auto connectAndLogIn = [&] {
            v.click("Command2");
            return waitUntil([&] {
                return v.log().contains(
                           "Connected.\nWelcome to Caldmoor\u00FF!\nName: \n\nSea's") &&
                       server.received.last().endsWith("Aramir\r\nse cret\r\n\r\n \r\n \r\n \r\n");
            });
        };
        server.hangUpAfter = 30;
        QVERIFY(connectAndLogIn());
        v.click("Command3");
        QVERIFY(waitUntil([&] {
            return v.find<QTcpSocket>("sckMain")->state() == QAbstractSocket::UnconnectedState &&
                   v.progress().endsWith(" 34\u066B1%");
        }));
        for (int c = 1; c <= kCommodityCount; ++c)
            QCOMPARE(v.t.data.value(kSeaSEnd, c), c <= 30 ? 100.0F + c : 1.0F);
        QVERIFY(fileBytes(v.t.storePath()).isEmpty());

        server.hangUpAfter = -1;
        QVERIFY(connectAndLogIn());
        v.click("Command3");
        QVERIFY(waitUntil([&] { return v.t.messages.shown.size() == 1; }));  // completed
        for (int c = 1; c <= kCommodityCount; ++c)
            QCOMPARE(v.t.data.value(kSeaSEnd, c), 100.0F + c);
        QCOMPARE(v.t.data.stamp(kSeaSEnd), hourClockAt(v.t.clock.now()));
        QCOMPARE(fileBytes(v.t.storePath()), QByteArray::fromStdString(storeText(v.t.data)));
        QVERIFY(!v.window->isVisible() && v.progress().isEmpty() && v.log().isEmpty());
        QCOMPARE(v.find<QLineEdit>("txttpat")->text(), unknown);
        QVERIFY(waitUntil([&] { return server.received.last().endsWith("covered\r\nquit\r\n"); }));
        QVERIFY(server.received.last().contains("look\r\nemote is autovalueing.\r\nvalue " +
                                                QByteArray(commodityName(31).data()) + " covered"));
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
};

QTEST_MAIN(AutoValuerTest)
#include "test_auto_valuer.moc"
