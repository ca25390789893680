// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/reports/top_forty_reports.h"

#include "core/catalogue.h"
#include "rules/reports/payoff_measures.h"

namespace ledgerly {

std::optional<RankingReportView> topPayoffsTo(TradeData& data, const Clock& clock, int destination,
                                              std::string_view decimalSeparator) {
    if (!isTradingPost(destination))
        return std::nullopt;
    const int d = destination;
    const AgeView age = ageOfValuesFor(data, clock, d, decimalSeparator);
    RankingRun run(data, RankingStart::KeepPosts);
    for (int s = 1; s <= kTradingPostCount; ++s) {
        for (int k = 1; k <= kGoodsSlotCount; ++k)
            run.offer(payoff(data, s, k, d), s, k, d);
    }
    RankingReportView view = run.finish({.band = BoxKind::RankedPayoff,
                                         .tradingPost = RankedPost::Source,
                                         .withDestination = false,
                                         .keepSlotsOf = {}});
    view.age = age;
    return view;
}

std::optional<RankingReportView> topPayoffsFrom(TradeData& data, int source) {
    if (!isTradingPost(source))
        return std::nullopt;
    const int s = source;
    RankingRun run(data, RankingStart::KeepPosts);
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int k = 1; k <= kGoodsSlotCount; ++k)
            run.offer(payoff(data, s, k, d), s, k, d);
    }
    return run.finish({.band = BoxKind::RankedPayoff,
                       .tradingPost = RankedPost::Destination,
                       .withDestination = false,
                       .keepSlotsOf = {}});
}

RankingReportView topPayoffsToAny(TradeData& data) {
    RankingRun run(data, RankingStart::ClearDestinations);
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int s = 1; s <= kTradingPostCount; ++s) {
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                run.offer(payoff(data, s, k, d), s, k, d);
        }
    }
    return run.finish({.band = BoxKind::RankedPayoff,
                       .tradingPost = RankedPost::Source,
                       .withDestination = true,
                       .keepSlotsOf = {}});
}

std::optional<RankingReportView> topCpmTo(TradeData& data, const Clock& clock, int destination,
                                          std::string_view decimalSeparator) {
    if (!isTradingPost(destination))
        return std::nullopt;
    const int d = destination;
    const AgeView age = ageOfValuesFor(data, clock, d, decimalSeparator);
    RankingRun run(data, RankingStart::KeepPosts);
    fillCpmTableByDestination(data);
    for (int s = 1; s <= kTradingPostCount; ++s) {
        for (int k = 1; k <= kGoodsSlotCount; ++k)
            run.offer(data.buffers.cpm(d, s, k), s, k, d);
    }
    // Every commodity is sold at exactly one post, so the seller of a row's commodity is its
    // source; going by the source also names the right town for an empty slot.
    RankingReportView view = run.finish({.band = BoxKind::Cpm,
                                         .tradingPost = RankedPost::Source,
                                         .withDestination = false,
                                         .keepSlotsOf = {}});
    view.age = age;
    return view;
}

std::optional<RankingReportView> topCpmFrom(TradeData& data, int source) {
    if (!isTradingPost(source))
        return std::nullopt;
    const int s = source;
    RankingRun run(data, RankingStart::KeepPosts);
    fillCpmTableByDestination(data);
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int k = 1; k <= kGoodsSlotCount; ++k)
            run.offer(data.buffers.cpm(d, s, k), s, k, d);
    }
    return run.finish({.band = BoxKind::Cpm,
                       .tradingPost = RankedPost::Destination,
                       .withDestination = false,
                       .keepSlotsOf = s});
}

RankingReportView topCpmToAny(TradeData& data) {
    RankingRun run(data, RankingStart::WithoutSlot);
    fillCpmTableByDestination(data);
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int s = 1; s <= kTradingPostCount; ++s) {
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                run.offer(data.buffers.cpm(d, s, k), s, k, d);
        }
    }
    return run.finish({.band = BoxKind::Cpm,
                       .tradingPost = RankedPost::Source,
                       .withDestination = true,
                       .keepSlotsOf = {}});
}

void fillCpmTableByDestination(TradeData& data) {
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int s = 1; s <= kTradingPostCount; ++s) {
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                data.buffers.cpm(d, s, k) = cpmOf(payoff(data, s, k, d), moves(d, s));
        }
    }
}

}  // namespace ledgerly
