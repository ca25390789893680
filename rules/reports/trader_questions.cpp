// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/reports/trader_questions.h"

#include <algorithm>
#include <array>

#include "core/catalogue.h"
#include "core/number_text.h"
#include "rules/reports/age_of_values.h"
#include "rules/reports/payoff_measures.h"

namespace ledgerly {
namespace {

bool neverValued(const TradeData& data, int tp) {
    // The start-up pass lowers every stamp below 11 to 10, so "at most 10" is "never".
    return data.stamp(tp) <= kNeverValuedStamp;
}

// A post's age of values as its box shows it: the hours on their band, or "never valued" (on
// the band of the huge age it stands for) instead of the hours since hour 10.
BoxView ageBox(const TradeData& data, int tp, const AgeView& age) {
    return {neverValued(data, tp) ? std::string(kNeverValuedText) : age.text, age.colour};
}

bool hasRoute(int movesBetween) {
    return movesBetween < kNoRouteMoves;
}

// The slot of `from`'s goods that `to` pays most for; the lower slot wins a tie and an empty
// slot never counts. 0 when `from` sells nothing.
int bestSlotFor(const TradeData& data, int from, int to) {
    int best = 0;
    float bestValue = 0.0F;
    for (int k = 1; k <= kGoodsSlotCount; ++k) {
        if (goodsSlot(from, k) == 0)
            continue;
        const float value = payoff(data, from, k, to);
        if (best == 0 || value > bestValue) {
            best = k;
            bestValue = value;
        }
    }
    return best;
}

struct Loop {
    int a;
    int b;
    int outboundSlot;
    int inboundSlot;
    double payoff;
    std::int32_t goldPerMove;
};

bool passes(const RoundTripFilter& filter, const std::array<double, kTradingPostCount + 1>& ages,
            int a, int b) {
    if (filter.through && *filter.through != a && *filter.through != b)
        return false;
    return !filter.maxAgeHours ||
           (ages[a] <= *filter.maxAgeHours && ages[b] <= *filter.maxAgeHours);
}

}  // namespace

std::optional<WhereToSellView> whereToSell(const TradeData& data, const Clock& clock, int c,
                                           std::string_view decimalSeparator) {
    const int seller = isCommodity(c) ? sellerOf(c) : 0;
    if (!isTradingPost(seller))
        return std::nullopt;
    const float reading = readHourClock(clock);
    WhereToSellView view;
    view.soldAt = std::string(tradingPost(seller).townName);
    for (int d = 1; d <= kTradingPostCount; ++d) {
        SellingRow row;
        row.tp = d;
        row.town = std::string(tradingPost(d).townName);
        row.value = singleText(data.value(d, c), decimalSeparator);
        row.age = ageBox(data, d, ageOfValuesAt(data, reading, d, decimalSeparator));
        if (hasRoute(moves(seller, d))) {
            row.moves = wholeText(moves(seller, d));
            const std::int32_t perMove = cpmOf(data.value(d, c), moves(d, seller));
            row.goldPerMove = wholeText(perMove);
            row.goldPerMoveColour = colourBand(perMove, BoxKind::Cpm);
        } else {
            row.moves = std::string(kNoRouteText);
            row.goldPerMove = std::string(kNoFigureText);
        }
        view.rows.push_back(std::move(row));
    }
    std::stable_sort(view.rows.begin(), view.rows.end(),
                     [&data, c](const SellingRow& x, const SellingRow& y) {
                         return data.value(x.tp, c) > data.value(y.tp, c);
                     });
    return view;
}

std::vector<RevalueRow> revalueNext(const TradeData& data, const Clock& clock,
                                    std::string_view decimalSeparator) {
    const float reading = readHourClock(clock);
    std::vector<RevalueRow> rows;
    std::array<double, kTradingPostCount + 1> ages{};
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        const AgeView age = ageOfValuesAt(data, reading, tp, decimalSeparator);
        ages[tp] = age.age;
        const TradingPost& post = tradingPost(tp);
        rows.push_back(
            {tp, std::string(post.townName), std::string(post.listLabel), ageBox(data, tp, age)});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [&data, &ages](const RevalueRow& x, const RevalueRow& y) {
                         const bool xNever = neverValued(data, x.tp);
                         if (xNever != neverValued(data, y.tp))
                             return xNever;
                         return !xNever && ages[x.tp] > ages[y.tp];
                     });
    return rows;
}

std::vector<RoundTripRow> bestRoundTrips(const TradeData& data, const Clock& clock,
                                         const RoundTripFilter& filter,
                                         std::string_view decimalSeparator) {
    // Only the ages themselves, cut to hundredths as shown; their texts are never shown here.
    std::array<double, kTradingPostCount + 1> ages{};
    if (filter.maxAgeHours) {
        const float reading = readHourClock(clock);
        for (int tp = 1; tp <= kTradingPostCount; ++tp)
            ages[tp] = ageOfValues(reading, data.stamp(tp));
    }

    std::vector<Loop> loops;
    loops.reserve(kTradingPostCount * (kTradingPostCount - 1) / 2);
    for (int a = 1; a <= kTradingPostCount; ++a) {
        for (int b = a + 1; b <= kTradingPostCount; ++b) {
            if (!hasRoute(moves(a, b)) || !hasRoute(moves(b, a)) || !passes(filter, ages, a, b))
                continue;
            const int out = bestSlotFor(data, a, b);
            const int back = bestSlotFor(data, b, a);
            // A post that sells nothing cannot load its leg.
            if (out == 0 || back == 0)
                continue;
            const double total = static_cast<double>(payoff(data, a, out, b)) +
                                 static_cast<double>(payoff(data, b, back, a));
            const int loopMoves = moves(a, b) + moves(b, a);
            loops.push_back({a, b, out, back, total, roundHalfEven32(total / loopMoves)});
        }
    }
    // Loops were met in (a, b) order, which a stable sort keeps among equal figures.
    std::stable_sort(loops.begin(), loops.end(),
                     [](const Loop& x, const Loop& y) { return x.goldPerMove > y.goldPerMove; });
    if (loops.size() > kRoundTripRows)
        loops.resize(kRoundTripRows);

    std::vector<RoundTripRow> rows;
    for (const Loop& loop : loops) {
        RoundTripRow row;
        row.townA = std::string(tradingPost(loop.a).townName);
        row.townB = std::string(tradingPost(loop.b).townName);
        row.outbound = std::string(commodityName(goodsSlot(loop.a, loop.outboundSlot)));
        row.outboundValue =
            singleText(payoff(data, loop.a, loop.outboundSlot, loop.b), decimalSeparator);
        row.inbound = std::string(commodityName(goodsSlot(loop.b, loop.inboundSlot)));
        row.inboundValue =
            singleText(payoff(data, loop.b, loop.inboundSlot, loop.a), decimalSeparator);
        row.payoff = wholeText(roundHalfEven32(loop.payoff));
        row.goldPerMove = {wholeText(loop.goldPerMove), colourBand(loop.goldPerMove, BoxKind::Cpm)};
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace ledgerly
