// A valuing run against a server that buries every answer under a large amount of chatter, with
// telnet bytes and other shops' names in it: the run still completes with every price in the
// right place, the log stays within its bound, memory does not grow with the chatter and the
// window keeps handling events throughout.
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "capture/capture_windows.h"
#include "capture/frmvalueing.h"
#include "core/catalogue.h"
#include "fake_game_server.h"
#include "support/test_platform.h"

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

template <typename Done>
bool waitUntil(Done done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(10);
    while (!done()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
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

class SoakTest : public QObject {
    Q_OBJECT
private slots:
    void runCompletesUnderMegabytesOfChatter() {
        TestContext t;
        setNeverValued(t.data);
        FakeGameServer server;
        server.after = chatter;
        t.platform.gameEndpoint = {QStringLiteral("127.0.0.1"), server.port()};
        ToolWindowCatalogue catalogue;
        addCaptureWindows(catalogue, t.context);
        std::unique_ptr<QWidget> window(catalogue.at(QStringLiteral("Command12"))(nullptr));
        window->show();
        window->findChild<QLineEdit*>(QStringLiteral("txtpname"))
            ->setText(QStringLiteral("Aramir"));
        window->findChild<QLineEdit*>(QStringLiteral("txtppass"))->setText(QStringLiteral("pw"));
        auto* log = window->findChild<QPlainTextEdit*>(QStringLiteral("txtmain"));

        window->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        QVERIFY(waitUntil(
            [&] {
                return window->findChild<QLineEdit*>(QStringLiteral("txttpat"))->text() ==
                       QStringLiteral("Sea's End Direct Merchants");
            },
            5000));

        // A timer that only ticks while the event loop turns: the window stays responsive.
        int ticks = 0;
        QTimer heartbeat;
        QObject::connect(&heartbeat, &QTimer::timeout, &heartbeat, [&ticks] { ++ticks; });
        heartbeat.start(5);
        const long residentBefore = residentKiB();
        qsizetype longestLog = 0;
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, &watcher,
                         [&] { longestLog = std::max(longestLog, log->toPlainText().size()); });
        watcher.start(20);

        window->findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        QVERIFY(waitUntil([&] { return !t.messages.shown.isEmpty(); }, 60000));

        QCOMPARE(t.messages.shown.first().text, QStringLiteral("Valuing successfully completed!"));
        QCOMPARE(server.answersGiven, kCommodityCount);
        for (int c = 1; c <= kCommodityCount; ++c)
            QCOMPARE(t.data.value(kSeaSEnd, c), float(FakeGameServer::priceOf(c)));
        QCOMPARE(t.data.value(12, 1), 1.0F);  // the shouted shop never took an answer
        QVERIFY2(longestLog <= frmvalueing::kLogLimit, qPrintable(QString::number(longestLog)));
        QVERIFY2(longestLog > frmvalueing::kLogLimit / 2, qPrintable(QString::number(longestLog)));
        qInfo("log peaked at %lld characters; %d heartbeats during the run",
              static_cast<long long>(longestLog), ticks);
        QVERIFY2(ticks > 10, qPrintable(QString::number(ticks)));
#ifndef LEDGERLY_UNDER_ASAN
        // More than five megabytes went through; what stays is the bounded log and its layout.
        const long grownKiB = residentKiB() - residentBefore;
        QVERIFY2(grownKiB < 96 * 1024, qPrintable(QString::number(grownKiB)));
#else
        Q_UNUSED(residentBefore);
#endif
    }
};

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
