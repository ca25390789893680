// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Plan a Route: the chain of hauls from one trading post that earns the most gold per move over a
// given number of legs. Each leg carries the start post's best-paid good to the next post; the
// planner finds the exact best route, not a guess, and like the trader questions it only reads
// the data module (the clock is read, never stored, and the shared buffers stay untouched).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hour_clock.h"
#include "core/trade_data.h"
#include "rules/reports/colour_bands.h"

namespace ledgerly {

inline constexpr int kMaxRouteLegs = 8;

struct RouteOptions {
    int start = 0;                      // trading post 1..19
    int legs = 1;                       // 1..8
    bool backToStart = false;           // the last leg ends where the first began
    bool eachPostOnce = false;          // no post twice, but for the start at the end
    std::optional<double> maxAgeHours;  // no leg to a post whose prices are older than this
};

// The posts of a route in order, the start first: p0, p1, ..., pL.
using RoutePosts = std::vector<int>;

// The route with the most gold per move (sum of payoffs over sum of moves, compared exactly);
// equal figures keep the route whose posts p1..pL come first in post order. `reading` is the
// hour clock the age filter measures from. Nothing when no route fits the options.
std::optional<RoutePosts> bestRoute(const TradeData& data, float reading,
                                    const RouteOptions& options);

enum class NoRouteReason {
    None,
    OutOfRange,          // no start post picked, or a number of legs outside 1..8
    StartSellsNothing,   // nothing to carry away from the start
    NoWayOut,            // no route leads from the start to any other post
    OneLegCannotReturn,  // one leg never ends where it began
    FiltersLeaveNone,    // every route calls at a post with prices too old
};

struct RouteLegView {
    int number = 0;  // 1..L
    std::string from;
    std::string to;
    std::string cargo;
    std::string value;  // what the destination pays for the cargo
    std::string moves;
    BoxView age;  // of the destination's values
};

struct RoutePlanView {
    RoutePosts posts;  // empty when there is no route
    std::vector<RouteLegView> legs;
    std::string totalPayoff;  // whole gold
    std::string totalMoves;
    BoxView goldPerMove;  // whole gold on the CPM band
    NoRouteReason noRoute = NoRouteReason::None;
    std::string noRouteText;  // what the window says in place of rows
};

RoutePlanView planRoute(const TradeData& data, const Clock& clock, const RouteOptions& options,
                        std::string_view decimalSeparator = ".");

}  // namespace ledgerly
