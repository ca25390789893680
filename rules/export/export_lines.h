// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one-line summaries that players paste to each other: what one trading post pays for
// another post's goods, and the five best-paid goods at a post. Plain C++ over the data module;
// the export windows only show the line and hand it to the clipboard.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/hour_clock.h"
#include "core/trade_data.h"

namespace ledgerly {

// Commodities the top-5 line never lists, however well they pay: the goods of the post the
// line's readers cannot trade with.
inline constexpr int kTopFiveExcluded[] = {5, 18, 47, 59, 84};

bool isExcludedFromTopFive(int c);

// "Values from <From> to <To>. Valued <age> hours ago. Ale - 210  Raisins - 95  ...": for each
// goods slot of `fromTp`, what `toTp` pays, with the age of toTp's values. Nothing when either
// post is not 1..19.
std::optional<std::string> valuesExportLine(const TradeData& data, const Clock& clock, int fromTp,
                                            int toTp);

// The town that sells commodity c, searching the posts in catalogue order and each post's slots
// 1..5; empty when no post sells it.
std::string townSelling(int c);

// Ranks the five best-paid commodities at `toTp` (leaving out the excluded ones) into rows 1..5
// of the shared ranking list (commodity in `slot`, figure in `value`) and their towns into the
// shared top-5 town strings, then returns "Top 5 non-cpk values to <To>. Valued <age> hours ago.
// Jewels(New Ashton) - 1520  ...". Nothing, and no buffer touched, when toTp is not 1..19.
std::optional<std::string> topFiveExportLine(TradeData& data, const Clock& clock, int toTp);

}  // namespace ledgerly
