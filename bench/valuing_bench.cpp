// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A full 88-answer valuing run through the Auto Valuer window against a loopback server that
// answers at once (no login pause), against a bare socket client making the same 88 round trips
// to the same server; and how long the window leaves a press waiting while a server pours out
// text without line breaks.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "bench/bench_cases.h"
#include "core/catalogue.h"
#include "core/trade_data.h"
#include "tests/support/fake_game_server.h"
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

// The Auto Valuer as the main window makes it, with Connect pressed for a server on `port`.
struct ConnectedValuer {
    QTemporaryDir dir;
    TradeData data;
    CountingMessages messages;
    NoClipboard clipboard;
    SystemClock clock;
    Platform platform;
    AppContext context{data, platform};
    std::unique_ptr<QWidget> window;

    explicit ConnectedValuer(quint16 port)
        : platform{messages,
                   clipboard,
                   clock,
                   dir.filePath(QStringLiteral("tradevalues.txt")),
                   {QStringLiteral("127.0.0.1"), port},
                   std::chrono::milliseconds(0)} {
        data.setDefaults();
        data.raiseLowValues();
        window.reset(autoValuerFactory(context)(nullptr));
        window->show();
        window->findChild<QLineEdit*>(QStringLiteral("txtpname"))->setText(QStringLiteral("bench"));
        window->findChild<QLineEdit*>(QStringLiteral("txtppass"))->setText(QStringLiteral("bench"));
        window->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    }
    bool shopNamed() const {
        auto* at = window->findChild<QLineEdit*>(QStringLiteral("txttpat"));
        return waitUntil([&] { return at->text() != QStringLiteral("Not Yet Known"); });
    }
};

// Milliseconds from pressing Value to the completion message; negative if it never came.
double ledgerlyRun() {
    FakeGameServer server;
    ConnectedValuer valuer(server.port());
    if (!valuer.shopNamed())
        return -1;
    QElapsedTimer timer;
    timer.start();
    valuer.window->findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    if (!waitUntil([&] { return valuer.messages.shown > 0; }))
        return -1;
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

struct FloodFigures {
    double longestWaitMs = -1;  // the longest a press would have waited for the window
    double totalMs = -1;        // until the last of the text was in the log
};

// A server that sends 1 MiB without a line break, 1 KiB at a time as fast as the event loop
// lets it, so that the window handles about a thousand arrivals of one ever-longer line.
FloodFigures floodRun() {
    constexpr int kPiece = 1024;
    constexpr int kPieces = 1024;
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    ConnectedValuer valuer(server.serverPort());
    if (!waitUntil([&] { return server.hasPendingConnections(); }))
        return {};
    QTcpSocket* client = server.nextPendingConnection();
    auto* log = valuer.window->findChild<QPlainTextEdit*>(QStringLiteral("txtmain"));

    int sent = 0;
    QTimer sender;
    QObject::connect(&sender, &QTimer::timeout, &sender, [&] {
        client->write(++sent < kPieces ? QByteArray(kPiece, 'x') : QByteArray("x\r\nEND\r\n"));
        if (sent == kPieces)
            sender.stop();
    });
    // A press waits as long as the event loop is busy; a heartbeat that should come every
    // millisecond measures that.
    FloodFigures figures;
    figures.longestWaitMs = 0;
    QElapsedTimer sinceBeat;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, &heartbeat, [&] {
        figures.longestWaitMs =
            std::max(figures.longestWaitMs, static_cast<double>(sinceBeat.nsecsElapsed()) / 1e6);
        sinceBeat.restart();
    });
    QElapsedTimer total;
    total.start();
    sinceBeat.start();
    heartbeat.start(1);
    sender.start(0);
    if (!waitUntil([&] { return log->document()->lastBlock().previous().text() == "END"; }))
        return {};
    figures.totalMs = static_cast<double>(total.nsecsElapsed()) / 1e6;
    return figures;
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

    std::vector<double> waits, totals;
    for (int r = 0; r < std::min(runs, 3); ++r) {
        const FloodFigures flood = floodRun();
        waits.push_back(flood.longestWaitMs);
        totals.push_back(flood.totalMs);
    }
    const bool flooded = *std::min_element(totals.begin(), totals.end()) > 0;
    report(QStringLiteral("1 MiB without line breaks: longest wait for a press (ms)"),
           median(waits), "ms", "< 1000", flooded && median(waits) < 1000);
    report(QStringLiteral("1 MiB without line breaks: until all of it is in the log (ms)"),
           median(totals), "ms", "-", flooded);
}

}  // namespace ledgerly::bench
