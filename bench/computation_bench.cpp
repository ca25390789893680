// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Report, export and store computations on a fully valued random table.
#include <QTemporaryDir>
#include <filesystem>
#include <random>

#include "bench/bench_cases.h"
#include "core/store_file.h"
#include "core/trade_data.h"
#include "rules/export/export_lines.h"
#include "rules/reports/all_payoffs.h"
#include "rules/reports/run_picker.h"
#include "rules/reports/top_forty_reports.h"
#include "rules/reports/trader_questions.h"

namespace ledgerly::bench {
namespace {

TradeData randomTable() {
    TradeData data;
    std::mt19937 random(20261206);
    std::uniform_real_distribution<float> price(1.0F, 2000000.0F);
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 1; c <= kCommodityCount; ++c)
            data.setValue(tp, c, price(random));
        data.setStamp(tp, 200000.0F + static_cast<float>(tp));
    }
    data.raiseLowValues();
    return data;
}

}  // namespace

void runComputationBenchmarks(int runs, Reporter report, CallTimer timePerCall) {
    TradeData data = randomTable();
    const SystemClock clock;
    const auto computation = [&](const QString& what, const std::function<void()>& call) {
        const double us = timePerCall(runs, 200, call);
        report(what + QStringLiteral(" (us)"), us, "us", "< 100", us < 100.0);
    };

    // Each report as its window runs it: every ranking fills the shared buffers anew.
    computation(QStringLiteral("report: all payoffs to a post"),
                [&] { allPayoffsTo(data, clock, 12, "."); });
    computation(QStringLiteral("report: top 40 payoffs to a post"),
                [&] { topPayoffsTo(data, clock, 12, "."); });
    computation(QStringLiteral("report: top 40 payoffs from a post"),
                [&] { topPayoffsFrom(data, 5); });
    computation(QStringLiteral("report: top 40 payoffs to any post"),
                [&] { topPayoffsToAny(data); });
    computation(QStringLiteral("report: top 40 CPM to a post"),
                [&] { topCpmTo(data, clock, 12, "."); });
    computation(QStringLiteral("report: top 40 CPM from a post"), [&] { topCpmFrom(data, 5); });
    computation(QStringLiteral("report: top 40 CPM to any post"), [&] { topCpmToAny(data); });
    computation(QStringLiteral("report: run picker"), [&] { pickRun(data, 5, "."); });
    // The trader questions read the table only; Round Trips with its age filter on, which
    // leaves every loop of this table in.
    computation(QStringLiteral("question: where to sell a commodity"),
                [&] { whereToSell(data, clock, 6, "."); });
    computation(QStringLiteral("question: which posts to revalue"),
                [&] { revalueNext(data, clock, "."); });
    computation(QStringLiteral("question: best round trips"), [&] {
        bestRoundTrips(data, clock, RoundTripFilter{std::nullopt, 1.0e9}, ".");
    });
    runRoutePlannerBenchmarks(runs, report, timePerCall);
    computation(QStringLiteral("export: values between two posts"),
                [&] { valuesExportLine(data, clock, 5, 12); });
    computation(QStringLiteral("export: top 5 non-cpk"),
                [&] { topFiveExportLine(data, clock, 12); });

    QTemporaryDir dir;
    const std::filesystem::path store =
        std::filesystem::path(dir.path().toStdString()) / "tradevalues.txt";
    const double save = timePerCall(runs, 20, [&] { saveStore(store, data); });
    report(QStringLiteral("store save (ms)"), save / 1000.0, "ms", "< 5", save < 5000.0);
    const double load = timePerCall(runs, 20, [&] {
        TradeData loaded;
        loadStoreAtStartup(store, loaded);
    });
    report(QStringLiteral("store load (ms)"), load / 1000.0, "ms", "< 5", load < 5000.0);
}

}  // namespace ledgerly::bench
