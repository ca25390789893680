// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One run of a top-40 report over the shared ranking list: the run resets the list, takes the
// report's candidates in its scan order, and finishes into what the window's 40 rows show.
// Each candidate goes in above the first row whose figure it strictly exceeds (compared
// unrounded) and is stored rounded half to even, so equal figures keep their scan order.
//
// The list is shared by every top-40 report and by the top-5 export, and a run leaves its rows,
// posts and the already-placed flag behind for the next one: some rows of a later report depend
// on what an earlier one left. Rows that no candidate reached in this run keep value 1 and
// whatever posts they held, and show nothing derived from those posts.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/trade_data.h"
#include "rules/reports/age_of_values.h"
#include "rules/reports/colour_bands.h"

namespace ledgerly {

// How a run resets the list: value 1 on every row, and
enum class RankingStart {
    KeepPosts,          // slot 1; the source and destination columns keep what they hold
    ClearDestinations,  // slot 1 and destination 0; the source column keeps what it holds
    WithoutSlot,        // slot 0, which names no good: a row nothing reaches keeps its label
};

// Which post of a row a town box names.
enum class RankedPost { Source, Destination };

// How the rows of a report read.
struct RankingLook {
    BoxKind band = BoxKind::RankedPayoff;  // of the value boxes
    RankedPost tradingPost = RankedPost::Source;
    bool withDestination = false;  // a second town box, naming the destination
    // Set for a report on the goods of one chosen post whose list keeps their goods slots (a run
    // started with KeepPosts): the slots are not turned into commodities, and every row, reached
    // or not, names that post's good in its slot.
    std::optional<int> keepSlotsOf;
};

// One row as shown. For the optional fields, "no value" means the window leaves that control
// exactly as it is; an empty string clears it.
struct RankedRowView {
    std::optional<std::string> name;  // name label `Label22`
    std::string value;                // value box `txtbestvalue`
    BandColour colour = BandColour::Red;
    std::optional<std::string> tradingPost;  // trading-post box `txttp`
    std::optional<std::string> destination;  // destination box `txtto`, where the window has one
};

// A whole top-40 report: the age of the chosen post's values (for windows that show it) and
// rows 1..40 (row 0 unused, so row numbers read as they do on screen).
struct RankingReportView {
    std::optional<AgeView> age;
    std::array<RankedRowView, kRankingRows + 1> rows{};
};

class RankingRun {
public:
    RankingRun(TradeData& data, RankingStart start);

    // Offers one candidate, in the report's scan order.
    void offer(double measure, int sourceTp, int slot, int destinationTp);

    // Shows every row's figure and name, turns the goods slots into the commodities sold in
    // them (unless the look keeps slots), then shows the towns.
    RankingReportView finish(const RankingLook& look);

private:
    void convertSlotsToCommodities();

    TradeData& data_;
    int entered_ = 0;  // candidates that went in, which tells how many rows one reached
};

}  // namespace ledgerly
