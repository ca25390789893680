#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QScopeGuard>
#include <filesystem>

#include "capture/frmvalueing.h"
#include "core/catalogue.h"
#include "core/number_text.h"
#include "core/store_file.h"
#include "support/capture_valuer.h"

#if defined(__SANITIZE_ADDRESS__)
#define LEDGERLY_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LEDGERLY_UNDER_ASAN 1
#endif
#endif

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

constexpr int kSeaSEnd = 16;
const QString kCompleted = QStringLiteral("Valuing successfully completed!");
const QString kNotConnected = QStringLiteral("You're not connected to anything");
const QByteArray kValueStart = "y\r\nnewbie\r\nlook\r\nemote is autovalueing.\r\n";

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

// Everything one connection sends when a run goes from commodity `first` to the end.
QByteArray runBytesFrom(int first) {
    QByteArray bytes = capturedLoginBytes() + kValueStart;
    for (int c = first; c <= kCommodityCount; ++c)
        bytes += "value " + QByteArray(commodityName(c).data(), commodityName(c).size()) +
                 " covered\r\n";
    return bytes + "quit\r\n";
}

void expectCompletedRunAtSeaSEnd(CaptureValuer& v) {
    QVERIFY(v.waitForMessage());
    QCOMPARE(v.t.messages.shown.size(), 1);
    QCOMPARE(v.t.messages.shown[0].text, kCompleted);
    QCOMPARE(v.t.messages.shown[0].caption, QStringLiteral("Finished!"));
    for (int c = 1; c <= kCommodityCount; ++c)
        QCOMPARE(v.t.data.value(kSeaSEnd, c), float(FakeGameServer::priceOf(c)));
    const float stamp = hourClockAt(v.t.clock.now());
    QCOMPARE(v.t.data.stamp(kSeaSEnd), stamp);
    QCOMPARE(fileBytes(v.t.storePath()), storeAfterRunAtSeaSEnd(stamp));
    QVERIFY(!v.window->isVisible());
    QCOMPARE(v.at(), QStringLiteral("Not Yet Known"));
    QCOMPARE(v.find<QLabel>("Label4")->text(), QString());
    QCOMPARE(v.log(), QString());
}

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// About 64 KB of other players talking, some of it naming another shop or carrying telnet bytes.
QByteArray chatter(int commodity) {
    QByteArray text;
    for (int line = 0; text.size() < 64 * 1024; ++line) {
        text += "Someone says, 'line " + QByteArray::number(line) + " after answer " +
                QByteArray::number(commodity) + "'\xFF\xF9\n";
        if (line % 97 == 0)
            text += "A voice shouts: meet me at the New Ashton Trading Post!\r\n";
    }
    return text;
}

}  // namespace

class AutoValuerTest : public QObject {
    Q_OBJECT
private slots:
    void windowStartsIdleWithItsCaptions() {
        CaptureValuer v;
        QCOMPARE(v.window->windowTitle(), QStringLiteral("Auto Valuer"));
        QCOMPARE(v.window->objectName(), QStringLiteral("frmvalueing"));
        const char* const captions[][3] = {
            {"Label1", "Name", "txtpname"},
            {"Label2", "Password", "txtppass"},
            {"Label3", "You are at:", "txttpat"},
            {"Label4", "", ""},
            {"Label5",
             "Instructions: Go to the post you want to value at and lose link. Type in your name "
             "and password and press connect.  When you have connected, press value.",
             ""},
            {"Command2", "Connect", ""},
            {"Command3", "Value", ""},
            {"txttpat", "Not Yet Known", ""},
        };
        for (const auto& [name, caption, buddy] : captions) {
            const QWidget* widget = v.find<QWidget>(name);
            QVERIFY2(widget, name);
            QCOMPARE(widget->property("text").toString(), QString::fromLatin1(caption));
            const auto* label = qobject_cast<const QLabel*>(widget);
            QCOMPARE(label && label->buddy() ? label->buddy()->objectName() : QString(),
                     QString::fromLatin1(buddy));
        }
        QCOMPARE(v.log(), QString());
        QCOMPARE(v.find<QLineEdit>("txtppass")->echoMode(), QLineEdit::Normal);
    }

    void connectTwiceLogsInOnceAndShowsCleanedServerText() {
        CaptureValuer v;
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
        QTest::newRow("answers in fragments cut at every position in turn") << "fragments";
        QTest::newRow("chat naming another shop mid-run") << "chat";
    }
    void completeRun() {
        QFETCH(QString, server);
        CaptureValuer v;
        if (server == "fragments") {
            // Three cuts per answer; over the run, every position of an answer is cut at.
            v.server.pieces = [](const QByteArray& answer, int commodity) {
                QList<qsizetype> cuts{0, answer.size()};
                for (int step : {1, 7, 13})
                    cuts.append(commodity * step % answer.size());
                std::sort(cuts.begin(), cuts.end());
                QList<QByteArray> pieces;
                for (qsizetype i = 1; i < cuts.size(); ++i)
                    pieces.append(answer.mid(cuts[i - 1], cuts[i] - cuts[i - 1]));
                return pieces;
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
        QVERIFY(v.waitForMessage());
        v.t.clock.set(start);
        expectCompletedRunAtSeaSEnd(v);
        QCOMPARE(v.t.data.buffers.hourClockScratch, hourClockAt(start));
        QCOMPARE(places, (QStringList{"Sea's End Direct Merchants", "Not Yet Known"}));
        QVERIFY(waitUntil([&] { return v.server.received.last().endsWith("quit\r\n"); }));
        QCOMPARE(v.server.received.last(), runBytesFrom(1));
        QVERIFY(waitUntil([&] { return !v.server.clientConnected(); }));
    }

    void runCompletesUnderMegabytesOfChatter() {
        CaptureValuer v;
        v.server.after = chatter;
        v.typeLogin();
        QVERIFY(v.connectAndLogIn());
        // A timer that only ticks while the event loop turns: the window stays responsive.
        int ticks = 0;
        QTimer heartbeat;
        connect(&heartbeat, &QTimer::timeout, this, [&ticks] { ++ticks; });
        heartbeat.start(5);
        const long residentBefore = residentKiB();
        qsizetype longestLog = 0;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, this, [&] {
            longestLog =
                std::max(longestLog, v.find<QPlainTextEdit>("txtmain")->toPlainText().size());
        });
        watcher.start(20);
        v.click("Command3");
        QVERIFY(v.waitForMessage(60000));
        expectCompletedRunAtSeaSEnd(v);
        QCOMPARE(v.server.answersGiven, kCommodityCount);
        QVERIFY2(longestLog <= frmvalueing::kLogLimit, qPrintable(QString::number(longestLog)));
        QVERIFY2(longestLog > frmvalueing::kLogLimit / 2, qPrintable(QString::number(longestLog)));
        QVERIFY2(ticks > 10, qPrintable(QString::number(ticks)));
#ifndef LEDGERLY_UNDER_ASAN
        // More than five megabytes went through; what stays is the bounded log and its layout.
        const long grownKiB = residentKiB() - residentBefore;
        QVERIFY2(grownKiB < 96 * 1024, qPrintable(QString::number(grownKiB)));
#else
        Q_UNUSED(residentBefore);
#endif
    }

    // The progress stays in view after the drop, with the user's decimal separator (here one
    // beyond Latin-1), for the eye and for a screen reader.
    void droppedConnectionKeepsTheFileAndResumesAfterReconnecting() {
        const auto restore = qScopeGuard([saved = QLocale()] { QLocale::setDefault(saved); });
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        CaptureValuer v;
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
        const QString progress = QStringLiteral("Getting Values   34\u066B1%");
        QCOMPARE(v.find<QLabel>("Label4")->text(), progress);
        QCOMPARE(QAccessible::queryAccessibleInterface(v.find<QLabel>("Label4"))
                     ->text(QAccessible::Name),
                 progress);

        v.click("Command3");
        QCOMPARE(v.t.messages.shown.size(), 1);
        QCOMPARE(v.t.messages.shown[0].text, kNotConnected);
        v.t.messages.shown.clear();

        v.server.hangUpAfter = -1;
        QVERIFY(v.connectAndLogIn());
        v.click("Command3");
        expectCompletedRunAtSeaSEnd(v);
        QVERIFY(waitUntil([&] { return v.server.received.last().endsWith("quit\r\n"); }));
        QCOMPARE(v.server.received.last(), runBytesFrom(31));
    }

    void valueUnconnectedAndRefusedConnectionAreReported() {
        CaptureValuer v;
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
        const QString refused = v.t.messages.shown[1].text;  // names the server it tried
        const GameEndpoint& tried = v.t.platform.gameEndpoint;
        QVERIFY2(refused.startsWith(QStringLiteral("Error: Connection refused")) &&
                     refused.contains(tried.host) && refused.contains(QString::number(tried.port)),
                 qPrintable(refused));
        QCOMPARE(v.t.messages.shown[1].caption, QStringLiteral("Ledgerly"));
        QCOMPARE(v.log(), QStringLiteral("Connecting...."));
    }

    void closingTheWindowDropsTheConnectionAndKeepsTheSession() {
        CaptureValuer v;
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
        expectCompletedRunAtSeaSEnd(v);
        QVERIFY(v.server.received.last().contains(kValueStart + "value Adamantite covered"));
    }

    void failedSaveIsReportedAndTheValuesKept() {
        CaptureValuer v;
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
        CaptureValuer v;
        QByteArray chatter;
        for (int line = 0; chatter.size() < 3 * frmvalueing::kLogLimit; ++line)
            chatter += "Someone shouts about line " + QByteArray::number(line) + ".\r\n";
        chatter += "The last word.\r\n";
        v.typeLogin();
        QVERIFY(v.connectAndLogIn());
        v.server.send(chatter);
        QVERIFY(waitUntil([&] { return v.log().endsWith("The last word.\n"); }));
        QVERIFY(v.log().size() <= frmvalueing::kLogLimit);
        QVERIFY(!v.log().contains(QStringLiteral("about line 0.")));
    }
};

QTEST_MAIN(AutoValuerTest)
#include "test_auto_valuer.moc"
