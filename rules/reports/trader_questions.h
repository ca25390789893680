// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Three questions traders keep asking: where one commodity fetches the most, which posts' prices
// are oldest, and which loop between two posts pays best per move with both legs loaded.
// Unlike the top-40 reports these only read the data module: they read the clock without
// storing it and never touch the shared ranking list, CPM table or hour-clock scratch, so a
// top-40 report shows the same whether or not one of these ran before it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hour_clock.h"
#include "core/trade_data.h"
#include "rules/reports/colour_bands.h"

namespace ledgerly {

// What an age box says for a post whose values were never captured, in place of the hours since
// hour 10.
inline constexpr std::string_view kNeverValuedText = "never valued";
// What a moves box says for a pair without a route.
inline constexpr std::string_view kNoRouteText = "no route";
// What a per-move box says where there is no route to divide by.
inline constexpr std::string_view kNoFigureText = "-";

// Where to Sell, one row per destination post.
struct SellingRow {
    int tp = 0;
    std::string town;
    std::string value;  // what the post pays for the commodity
    BoxView age;
    std::string moves;                            // from the seller, or "no route"
    std::string goldPerMove;                      // "-" where there is no route
    std::optional<BandColour> goldPerMoveColour;  // none for "-"
};

struct WhereToSellView {
    std::string soldAt;            // town of the post that sells the commodity
    std::vector<SellingRow> rows;  // all 19 posts, best trade value first
};

// Every post as a market for commodity c (1..88), best paying first; equal values keep post
// order. Nothing for a commodity no post sells.
std::optional<WhereToSellView> whereToSell(const TradeData& data, const Clock& clock, int c,
                                           std::string_view decimalSeparator = ".");

// Revalue Next, one row per post.
struct RevalueRow {
    int tp = 0;
    std::string town;
    std::string listLabel;
    BoxView age;
};

// The 19 posts, oldest prices first: never-valued posts lead in post order, then the others by
// age as shown (cut to hundredths); equal ages keep post order.
std::vector<RevalueRow> revalueNext(const TradeData& data, const Clock& clock,
                                    std::string_view decimalSeparator = ".");

// Round Trips.
inline constexpr int kRoundTripRows = 40;

struct RoundTripFilter {
    std::optional<int> through;         // only loops that call at this post
    std::optional<double> maxAgeHours;  // leave out loops with a post older than this
};

struct RoundTripRow {
    std::string townA;
    std::string townB;
    std::string outbound;  // a's best good at b
    std::string outboundValue;
    std::string inbound;  // b's best good at a
    std::string inboundValue;
    std::string payoff;  // both legs, whole gold
    BoxView goldPerMove;
};

// The best loops {a, b} (a < b, a route both ways) by gold per move, at most 40, highest first;
// equal figures keep the order of (a, b).
std::vector<RoundTripRow> bestRoundTrips(const TradeData& data, const Clock& clock,
                                         const RoundTripFilter& filter,
                                         std::string_view decimalSeparator = ".");

}  // namespace ledgerly
