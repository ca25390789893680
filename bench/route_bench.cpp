// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Plan a Route's Find for 8 legs on the fully valued random table of the other computations, for
// every start; each figure is the slowest start's median.
#include <QString>
#include <algorithm>
#include <random>

#include "bench/bench_cases.h"
#include "core/hour_clock.h"
#include "core/trade_data.h"
#include "rules/reports/route_planner.h"

namespace ledgerly::bench {

void runRoutePlannerBenchmarks(int runs, Reporter report, CallTimer timePerCall) {
    TradeData data;
    std::mt19937 random(20261206);
    std::uniform_real_distribution<float> price(1.0F, 2000000.0F);
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 1; c <= kCommodityCount; ++c)
            data.setValue(tp, c, price(random));
        data.setStamp(tp, 200000.0F + static_cast<float>(tp));
    }
    data.raiseLowValues();
    const SystemClock clock;

    struct Case {
        const char* what;
        bool once;
        bool back;
        double aimMs;
    };
    const Case cases[] = {
        {"route: 8 legs, walks", false, false, 1.0},
        {"route: 8 legs, walks, back", false, true, 1.0},
        {"route: 8 legs, each post once", true, false, 100.0},
        {"route: 8 legs, each post once, back", true, true, 100.0},
    };
    for (const Case& c : cases) {
        double slowest = 0.0;
        for (int start = 1; start <= kTradingPostCount; ++start) {
            const RouteOptions options{start, kMaxRouteLegs, c.back, c.once, std::nullopt};
            const double us =
                timePerCall(runs, c.once ? 2 : 50, [&] { planRoute(data, clock, options, "."); });
            slowest = std::max(slowest, us);
        }
        const double ms = slowest / 1000.0;
        report(QString::fromLatin1(c.what) + QStringLiteral(" (slowest start, ms)"), ms, "ms",
               QStringLiteral("< %1").arg(c.aimMs), ms < c.aimMs);
    }
}

}  // namespace ledgerly::bench
