// A full 88-answer valuing run through the Auto Valuer window against a loopback server that
// answers at once (no login pause), against a bare socket client making the same 88 round trips
// to the same server.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "bench/bench_cases.h"
#include "core/catalogue.h"
#include "core/trade_data.h"
#include "tests/capture/fake_game_server.h"
#include "ui/platform.h"
#include "windows/capture/capture_windows.h"

namespace ledgerly::bench {
namespace {

using testing::FakeGameServer;

class CountingMessages final : public MessageBoxes {
public:
    using MessageBoxes::inform;
    void inform(QWidget*, const QString&, const QString&) override { ++shown; }
    int shown = 0;
};

class NoClipboard final : public Clipboard {
public:
    void setText(const QString&) override {}
};

template <typename Done>
bool waitUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(10);
    while (!done()) {
        if (clock.hasExpired(30000))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Milliseconds from pressing Value to the completion message; negative if it never came.
double ledgerlyRun() {
    FakeGameServer server;
    QTemporaryDir dir;
    TradeData data;
    data.setDefaults();
    data.raiseLowValues();
    CountingMessages messages;
    NoClipboard clipboard;
    SystemClock clock;
    Platform platform{messages,
                      clipboard,
                      clock,
                      dir.filePath(QStringLiteral("tradevalues.txt")),
                      {QStringLiteral("127.0.0.1"), server.port()},
                      std::chrono::milliseconds(0)};
    AppContext context{data, platform};
    const auto makeAutoValuer = autoValuerFactory(context);
    std::unique_ptr<QWidget> window(makeAutoValuer(nullptr));
    window->show();
    window->findChild<QLineEdit*>(QStringLiteral("txtpname"))->setText(QStringLiteral("bench"));
    window->findChild<QLineEdit*>(QStringLiteral("txtppass"))->setText(QStringLiteral("bench"));
    window->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    auto* at = window->findChild<QLineEdit*>(QStringLiteral("txttpat"));
    if (!waitUntil([&] { return at->text() != QStringLiteral("Not Yet Known"); }))
        return -1;

    QElapsedTimer timer;
    timer.start();
    window->findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    if (!waitUntil([&] { return messages.shown > 0; }))
        return -1;
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The same 88 questions and answers with nothing but a socket and a substring search.
double rawRun() {
    FakeGameServer server;
    QTcpSocket socket;
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket.connectToHost(QStringLiteral("127.0.0.1"), server.port());
    if (!socket.waitForConnected(5000))
        return -1;
    socket.write("bench\r\nbench\r\n\r\n");
    QByteArray seen;
    if (!waitUntil([&] {
            seen += socket.readAll();
            return seen.contains("Merchants");
        }))
        return -1;

    QElapsedTimer timer;
    timer.start();
    int answered = 0;
    QByteArray pending;
    const auto ask = [&](int c) {
        socket.write("value " + QByteArray(commodityName(c).data()) + " covered\r\n");
    };
    socket.write("y\r\nnewbie\r\nlook\r\nemote is autovalueing.\r\n");
    ask(1);
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        pending += socket.readAll();
        for (qsizetype end; (end = pending.indexOf("gold for that.")) >= 0;) {
            pending.remove(0, end + 14);
            if (++answered < kCommodityCount)
                ask(answered + 1);
        }
    });
    if (!waitUntil([&] { return answered == kCommodityCount; }))
        return -1;
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    socket.write("quit\r\n");
    socket.disconnectFromHost();
    return ms;
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

}  // namespace

void runValuingBenchmarks(int runs, Reporter report) {
    std::vector<double> ledgerly, raw;
    for (int r = 0; r < runs; ++r) {
        ledgerly.push_back(ledgerlyRun());
        raw.push_back(rawRun());
    }
    const bool worked = *std::min_element(ledgerly.begin(), ledgerly.end()) > 0 &&
                        *std::min_element(raw.begin(), raw.end()) > 0;
    const double ratio = median(ledgerly) / median(raw);
    report(QStringLiteral("valuing run, 88 answers through the Auto Valuer (ms)"), median(ledgerly),
           "ms", "-", worked);
    report(QStringLiteral("valuing run, bare socket client (ms)"), median(raw), "ms", "-", worked);
    report(QStringLiteral("valuing run ratio vs bare socket client"), ratio, "x", "<= 2",
           worked && ratio <= 2.0);
}

}  // namespace ledgerly::bench
