#include <QAccessible>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "capture/capture_windows.h"
#include "capture/frmvalueing.h"
#include "core/catalogue.h"
#include "core/number_text.h"
#include "core/store_file.h"
#include "fake_game_server.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

constexpr int kSeaSEnd = 16;
constexpr int kCaldmoor = 1;
constexpr int kRunTimeoutMs = 5000;
const QString kCompleted = QStringLiteral("Valuing successfully completed!");
const QString kNotConnected = QStringLiteral("You're not connected to anything");

// Runs events until `done` holds. Unlike QTest::qWaitFor it does not sleep between rounds, so a
// run of 88 round trips takes as long as the sockets need, not 88 sleeps.
template <typename Done>
bool waitUntil(Done done, int timeoutMs = kRunTimeoutMs) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake;  // makes sure the wait below returns even when nothing else happens
    wake.start(10);
    while (!done()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The store after a run at Sea's End that took every price the fake server names.
QByteArray storeAfterRunAtSeaSEnd(float stamp) {
    QByteArray bytes;
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 1; c <= kCommodityCount; ++c) {
            bytes += tp == kSeaSEnd ? " " + QByteArray::number(FakeGameServer::priceOf(c)) + " \r\n"
                                    : QByteArray(" 1 \r\n");
        }
        bytes += tp == kSeaSEnd ? QByteArray::fromStdString(storeNumberField(stamp)) + "\r\n"
                                : QByteArray(" 10 \r\n");
    }
    return bytes;
}

QByteArray loginBytes() {
    return "Aramir\r\nse cret\r\n\r\n \r\n \r\n \r\n";
}

QByteArray valueStartBytes() {
    return "y\r\nnewbie\r\nlook\r\nemote is autovalueing.\r\n";
}

QByteArray valueCommandsFrom(int first) {
    QByteArray bytes;
    for (int c = first; c <= kCommodityCount; ++c) {
        const auto name = commodityName(c);
        bytes += "value " + QByteArray(name.data(), name.size()) + " covered\r\n";
    }
    return bytes;
}

// One Auto Valuer made the way the main window makes it, talking to a fake server.
struct Valuer {
    TestContext t;
    FakeGameServer server;
    ToolWindowCatalogue catalogue;
    std::unique_ptr<QWidget> window;

    Valuer() {
        setNeverValued(t.data);
        t.platform.gameEndpoint = {QStringLiteral("127.0.0.1"), server.port()};
        t.platform.loginPause = std::chrono::milliseconds(5);
        addCaptureWindows(catalogue, t.context);
        open();
    }
    void open() {
        window.reset(catalogue.at(QStringLiteral("Command12"))(nullptr));
        window->show();
    }
    template <typename T>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    // The log shows text at the next repaint, a moment after it arrives.
    QString log() const {
        const auto* pacer = window->findChild<QTimer*>(QStringLiteral("paintPacer"));
        waitUntil([&] { return !pacer || !pacer->isActive(); });
        return find<QPlainTextEdit>("txtmain")->toPlainText();
    }
    QString at() const { return find<QLineEdit>("txttpat")->text(); }

    void typeLogin() {
        find<QLineEdit>("txtpname")->clear();
        find<QLineEdit>("txtppass")->clear();
        QTest::keyClicks(find<QLineEdit>("txtpname"), QStringLiteral("Aramir"));
        QTest::keyClicks(find<QLineEdit>("txtppass"), QStringLiteral("se cret"));
    }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    // Connect and wait until the login is out and the shop recognised.
    bool connectAndLogIn() {
        click("Command2");
        return waitUntil([&] {
            return !server.received.isEmpty() && server.received.last().endsWith(loginBytes()) &&
                   at() == QStringLiteral("Sea's End Direct Merchants");
        });
    }
    bool waitForCompletion() {
        return waitUntil([&] { return !t.messages.shown.isEmpty(); });
    }
    void expectCompletedRunAtSeaSEnd() {
        QVERIFY(waitForCompletion());
        QCOMPARE(t.messages.shown.size(), 1);
        QCOMPARE(t.messages.shown[0].text, kCompleted);
        QCOMPARE(t.messages.shown[0].caption, QStringLiteral("Finished!"));
        for (int c = 1; c <= kCommodityCount; ++c)
            QCOMPARE(t.data.value(kSeaSEnd, c), float(FakeGameServer::priceOf(c)));
        const float stamp = hourClockAt(t.clock.now());
        QCOMPARE(t.data.stamp(kSeaSEnd), stamp);
        QCOMPARE(fileBytes(t.storePath()), storeAfterRunAtSeaSEnd(stamp));
        QVERIFY(!window->isVisible());
        QCOMPARE(at(), QStringLiteral("Not Yet Known"));
        QCOMPARE(find<QLabel>("Label4")->text(), QString());
        QCOMPARE(log(), QString());
    }
};

// Makes `locale` the user's locale for as long as it lives.
class UserLocale {
public:
    explicit UserLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~UserLocale() { QLocale::setDefault(saved_); }
    UserLocale(const UserLocale&) = delete;
    UserLocale& operator=(const UserLocale&) = delete;

private:
    QLocale saved_;
};

// Cuts text into pieces at the given positions, in order.
QList<QByteArray> cutAt(const QByteArray& text, QList<qsizetype> cuts) {
    QList<QByteArray> pieces;
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        pieces.append(text.mid(from, cut - from));
        from = cut;
    }
    pieces.append(text.mid(from));
    return pieces;
}

}  // namespace

class AutoValuerTest : public QObject {
    Q_OBJECT
private slots:
    void windowStartsIdleWithItsCaptions() {
        Valuer v;
        QCOMPARE(v.window->windowTitle(), QStringLiteral("Auto Valuer"));
        QCOMPARE(v.window->objectName(), QStringLiteral("frmvalueing"));
        const struct {
            const char* label;
            const char* caption;
            const char* buddy;
        } labels[] = {
            {"Label1", "Name", "txtpname"},
            {"Label2", "Password", "txtppass"},
            {"Label3", "You are at:", "txttpat"},
            {"Label4", "", nullptr},
            {"Label5",
             "Instructions: Go to the post you want to value at and lose link. Type in your name "
             "and password and press connect.  When you have connected, press value.",
             nullptr},
        };
        for (const auto& expected : labels) {
            const QLabel* label = v.find<QLabel>(expected.label);
            QVERIFY2(label, expected.label);
            QCOMPARE(label->text(), QString::fromLatin1(expected.caption));
            QCOMPARE(label->buddy() ? label->buddy()->objectName() : QString(),
                     QString::fromLatin1(expected.buddy));
        }
        QCOMPARE(v.find<QPushButton>("Command2")->text(), QStringLiteral("Connect"));
        QCOMPARE(v.find<QPushButton>("Command3")->text(), QStringLiteral("Value"));
        QCOMPARE(v.at(), QStringLiteral("Not Yet Known"));
        QCOMPARE(v.log(), QString());
        QCOMPARE(v.find<QLineEdit>("txtppass")->echoMode(), QLineEdit::Normal);
    }

    void connectTwiceLogsInOnceAndShowsCleanedServerText() {
        Valuer v;
        v.typeLogin();
        v.click("Command2");  // abandoned by the next press
        QVERIFY(v.connectAndLogIn());
        QTest::qWait(20);
        QVERIFY2(v.log().startsWith(QStringLiteral("Connecting....\nConnected.\nWelcome to "
                                                   "Caldmoor\u00FF!\nName: \n")),
                 qPrintable(v.log()));
        QCOMPARE(v.log().count(QStringLiteral("Connected.")), 1);
        QVERIFY(v.log().contains(QStringLiteral("\nSea's End Direct Merchants\n")));
        int loggedIn = 0;
        for (const QByteArray& bytes : v.server.received)
            loggedIn += bytes.contains("Aramir\r\n") ? 1 : 0;
        QCOMPARE(loggedIn, 1);
        QVERIFY(v.t.messages.shown.isEmpty());
    }

    // Complete runs against servers that deliver their answers in different ways.
    void completeRun_data() {
        QTest::addColumn<QString>("server");
        QTest::newRow("answers at once") << "at once";
        QTest::newRow("every answer cut at another position") << "cut";
        QTest::newRow("answers in random fragments") << "random";
        QTest::newRow("chat naming another shop mid-run") << "chat";
    }
    void completeRun() {
        QFETCH(QString, server);
        Valuer v;
        QRandomGenerator random(20261206);
        if (server == "cut" || server == "random")
            v.server.gapMs = 1;
        if (server == "cut") {
            v.server.pieces = [](const QByteArray& answer, int commodity) {
                return cutAt(answer, {commodity % answer.size()});
            };
        } else if (server == "random") {
            v.server.pieces = [&random](const QByteArray& answer, int) {
                QList<qsizetype> cuts;
                for (int i = random.bounded(1, 5); i > 0; --i)
                    cuts.append(random.bounded(answer.size() + 1));
                std::sort(cuts.begin(), cuts.end());
                return cutAt(answer, cuts);
            };
        } else if (server == "chat") {
            v.server.after = [](int commodity) {
                return commodity == 40
                           ? QByteArray("Bob says, 'See you at Caldmoor Trading Shop.'\r\n")
                           : QByteArray();
            };
        }
        QStringList places;
        connect(v.find<QLineEdit>("txttpat"), &QLineEdit::textChanged, this,
                [&places](const QString& text) { places.append(text); });
        v.t.messages.whileShown = [&] {
            // The run is stamped and saved before anyone reads the box; a clock that moves on
            // meanwhile must not change the stamp.
            QCOMPARE(fileBytes(v.t.storePath()),
                     storeAfterRunAtSeaSEnd(hourClockAt(v.t.clock.now())));
            v.t.clock.set({2027, 1, 1, 0, 0, 0});
        };
        const LocalDateTime start = v.t.clock.now();
        v.typeLogin();
        QVERIFY(v.connectAndLogIn());
        v.click("Command3");
        QVERIFY(v.waitForCompletion());
        v.t.clock.set(start);
        v.expectCompletedRunAtSeaSEnd();
        QCOMPARE(v.t.data.buffers.hourClockScratch, hourClockAt(start));
        for (int c = 1; c <= kCommodityCount; ++c)
            QCOMPARE(v.t.data.value(kCaldmoor, c), 1.0F);
        QCOMPARE(places, (QStringList{"Sea's End Direct Merchants", "Not Yet Known"}));
        QVERIFY(waitUntil([&] { return v.server.received.last().endsWith("quit\r\n"); }));
        QCOMPARE(v.server.received.last(),
                 loginBytes() + valueStartBytes() + valueCommandsFrom(1) + "quit\r\n");
        QVERIFY(v.server.received.last().startsWith(loginBytes() + valueStartBytes() +
                                                    "value Adamantite covered\r\nvalue Ale"));
        QVERIFY(v.server.received.last().endsWith("value Wands covered\r\nquit\r\n"));
        QVERIFY(waitUntil([&] { return !v.server.clientConnected(); }));
    }

    void progressShowsTheUsersDecimalSeparator_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("progress");
        QTest::newRow("period") << QLocale(QLocale::English, QLocale::UnitedStates)
                                << QStringLiteral("Getting Values   1.1%");
        QTest::newRow("comma") << QLocale(QLocale::German, QLocale::Germany)
                               << QStringLiteral("Getting Values   1,1%");
        QTest::newRow("separator beyond Latin-1") << QLocale(QLocale::Arabic, QLocale::Egypt)
                                                  << QStringLiteral("Getting Values   1\u066B1%");
    }
    void progressShowsTheUsersDecimalSeparator() {
        QFETCH(QLocale, locale);
        QFETCH(QString, progress);
        const UserLocale user(locale);
        Valuer v;
        v.server.answersToGive = 1;
        v.typeLogin();
        QVERIFY(v.connectAndLogIn());
        v.click("Command3");
        QVERIFY(waitUntil([&] { return v.t.data.value(kSeaSEnd, 1) == 101.0F; }));
        v.log();  // the label, like the log, changes at the next repaint
        auto* label4 = v.find<QLabel>("Label4");
        QCOMPARE(label4->text(), progress);
        // and a screen reader reads the same
        QCOMPARE(QAccessible::queryAccessibleInterface(label4)->text(QAccessible::Name), progress);
    }

    void droppedConnectionKeepsTheFileAndResumesAfterReconnecting() {
        Valuer v;
        QVERIFY(!saveStore(std::filesystem::path(v.t.storePath().toStdString()), v.t.data));
        const QByteArray storeBefore = fileBytes(v.t.storePath());
        v.server.hangUpAfter = 30;
        v.typeLogin();
        QVERIFY(v.connectAndLogIn());
        v.click("Command3");
        QVERIFY(waitUntil([&] { return v.log().contains("closed the connection"); }));
        for (int c = 1; c <= kCommodityCount; ++c)
            QCOMPARE(v.t.data.value(kSeaSEnd, c), c <= 30 ? float(100 + c) : 1.0F);
        QCOMPARE(v.t.data.stamp(kSeaSEnd), 10.0F);
        QCOMPARE(fileBytes(v.t.storePath()), storeBefore);
        QVERIFY(v.t.messages.shown.isEmpty());
        QCOMPARE(v.find<QLabel>("Label4")->text(), QStringLiteral("Getting Values   34.1%"));

        v.click("Command3");
        QCOMPARE(v.t.messages.shown.size(), 1);
        QCOMPARE(v.t.messages.shown[0].text, kNotConnected);
        v.t.messages.shown.clear();

        v.server.hangUpAfter = -1;
        QVERIFY(v.connectAndLogIn());
        v.click("Command3");
        v.expectCompletedRunAtSeaSEnd();
        QVERIFY(waitUntil([&] { return v.server.received.last().endsWith("quit\r\n"); }));
        QCOMPARE(v.server.received.last(),
                 loginBytes() + valueStartBytes() + valueCommandsFrom(31) + "quit\r\n");
    }

    void valueUnconnectedAndRefusedConnectionAreReported() {
        Valuer v;
        v.click("Command3");
        QCOMPARE(v.t.messages.shown.size(), 1);
        QCOMPARE(v.t.messages.shown[0].text, kNotConnected);
        QCOMPARE(v.t.messages.shown[0].caption, QStringLiteral("Ledgerly"));
        QVERIFY(v.server.received.isEmpty());

        {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
            v.t.platform.gameEndpoint.port = closed.serverPort();
        }
        v.click("Command2");
        QVERIFY(waitUntil([&] { return v.t.messages.shown.size() == 2; }));
        QCOMPARE(v.t.messages.shown[1].text, QStringLiteral("Error: Connection refused"));
        QCOMPARE(v.t.messages.shown[1].caption, QStringLiteral("Ledgerly"));
        QCOMPARE(v.log(), QStringLiteral("Connecting...."));
    }

    void closingTheWindowDropsTheConnectionAndKeepsTheSession() {
        Valuer v;
        v.server.answersToGive = 5;
        v.typeLogin();
        QVERIFY(v.connectAndLogIn());
        v.click("Command3");
        QVERIFY(waitUntil([&] { return v.t.data.value(kSeaSEnd, 5) == 105.0F; }));
        v.window.reset();
        QVERIFY(waitUntil([&] { return !v.server.clientConnected(); }));

        v.open();
        // A new window shows its design-time face.
        QCOMPARE(v.find<QLineEdit>("txtpname")->text(), QString());
        QCOMPARE(v.find<QLineEdit>("txtppass")->text(), QString());
        QCOMPARE(v.at(), QStringLiteral("Not Yet Known"));
        // A new window starts its count afresh.
        v.typeLogin();
        v.server.answersToGive = 1000;
        QVERIFY(v.connectAndLogIn());
        v.click("Command3");
        v.expectCompletedRunAtSeaSEnd();
        QVERIFY(v.server.received.last().contains(valueStartBytes() + "value Adamantite covered"));
    }

    void failedSaveIsReportedAndTheValuesKept() {
        Valuer v;
        v.t.platform.storePath = v.t.folder.filePath(QStringLiteral("missing/tradevalues.txt"));
        v.typeLogin();
        QVERIFY(v.connectAndLogIn());
        v.click("Command3");
        QVERIFY(waitUntil([&] { return v.t.messages.shown.size() == 2; }));
        QCOMPARE(v.t.messages.shown[0].text, kCompleted);
        QVERIFY(v.t.messages.shown[1].text.contains(QStringLiteral("could not be written")));
        QCOMPARE(v.t.data.value(kSeaSEnd, 88), 188.0F);
        QCOMPARE(v.t.data.stamp(kSeaSEnd), hourClockAt(v.t.clock.now()));
        QVERIFY(!v.window->isVisible());
    }

    void logKeepsOnlyTheNewestText() {
        Valuer v;
        QByteArray chatter;
        for (int line = 0; chatter.size() < 3 * frmvalueing::kLogLimit; ++line)
            chatter += "Someone shouts about line " + QByteArray::number(line) + ".\r\n";
        chatter += "The last word.\r\n";
        v.typeLogin();
        QVERIFY(v.connectAndLogIn());
        v.server.send(chatter);
        QVERIFY(waitUntil([&] { return v.log().endsWith("The last word.\n"); }));
        QVERIFY(v.log().size() <= frmvalueing::kLogLimit);
        QVERIFY(!v.log().contains(QStringLiteral("Connecting....")));
        QVERIFY(!v.log().contains(QStringLiteral("about line 0.")));
    }
};

QTEST_MAIN(AutoValuerTest)
#include "test_auto_valuer.moc"
