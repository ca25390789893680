// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The price history: reading two years of hourly snapshots and drawing one commodity's prices,
// and appending one snapshot with its flush to disk.
#include <QComboBox>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "bench/bench_cases.h"
#include "core/price_history.h"
#include "core/trade_data.h"
#include "rules/history/price_series.h"
#include "windows/history/price_history_window.h"

namespace ledgerly::bench {
namespace {

constexpr int kSnapshots = 20000;

PriceSnapshot randomSnapshot(std::mt19937& random, UtcSeconds time) {
    std::uniform_int_distribution<int> post(1, kTradingPostCount);
    std::uniform_int_distribution<int> gold(1, 2000000);
    PriceSnapshot snapshot;
    snapshot.time = time;
    snapshot.tp = post(random);
    snapshot.source = std::string(kValuedSource);
    for (int c = 1; c <= kCommodityCount; ++c)
        snapshot.prices[static_cast<std::size_t>(c)] = static_cast<float>(gold(random));
    return snapshot;
}

class QuietMessages final : public MessageBoxes {
public:
    using MessageBoxes::inform;
    void inform(QWidget*, const QString&, const QString&) override {}
};

class NoClipboard final : public Clipboard {
public:
    void setText(const QString&) override {}
};

double medianOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

}  // namespace

void runHistoryBenchmarks(int runs, Reporter report) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    const std::filesystem::path path = folder / "price-history.csv";

    // About two years of a run every hour, each at some post.
    std::mt19937 random(20261207);
    UtcSeconds time = std::chrono::sys_days{std::chrono::year{2025} / 1 / 1};
    {
        std::ofstream out(path, std::ios::binary);
        out << priceHistoryHeader();
        for (int i = 0; i < kSnapshots; ++i) {
            out << priceHistoryRow(randomSnapshot(random, time));
            time += std::chrono::hours{1};
        }
    }

    std::vector<double> samples;
    std::size_t points = 0;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        const PriceHistory history = readPriceHistoryFile(path);
        const auto series = commoditySeries(history, 42);
        samples.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        points = 0;
        for (const PostSeries& post : series)
            points += post.points.size();
    }
    const double read = points == kSnapshots ? medianOf(samples) : -1.0;
    report(QStringLiteral("history: read 20,000 snapshots, one commodity's series (ms)"), read,
           "ms", "-", read >= 0);

    // The same through the Price History window, drawn: made (which reads the file), the
    // commodity picked, and the whole window painted as the screen would show it.
    TradeData data;
    QuietMessages messages;
    NoClipboard clipboard;
    const SystemClock clock;
    Platform platform{messages, clipboard,
                      clock,    QString::fromStdString((folder / "tradevalues.txt").string()),
                      {},       {}};
    AppContext context{data, platform};
    samples.clear();
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        PriceHistoryWindow window(context);
        window.resize(1000, 700);
        window.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(41);
        const QPixmap drawn = window.grab();
        samples.push_back(drawn.isNull() ? 1e9 : static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    const double drawn = medianOf(samples);
    report(QStringLiteral("history: read 20,000 snapshots and draw one commodity (ms)"), drawn,
           "ms", "< 200", drawn < 200.0);

    // Appending to that history. The first append also flushes the file just written, as the
    // journal commits it with the row; it is not counted.
    samples.clear();
    appendPriceSnapshot(path, randomSnapshot(random, time));
    for (int r = 0; r < std::max(runs, 20); ++r) {
        const PriceSnapshot snapshot = randomSnapshot(random, time += std::chrono::hours{1});
        QElapsedTimer timer;
        timer.start();
        const bool ok = !appendPriceSnapshot(path, snapshot);
        samples.push_back(ok ? static_cast<double>(timer.nsecsElapsed()) / 1e6 : 1e9);
    }
    const double append = medianOf(samples);
    report(QStringLiteral("history: append one snapshot with its flush (ms)"), append, "ms", "< 5",
           append < 5.0);
}

}  // namespace ledgerly::bench
