// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The run picker: the single best haul of one trading post's goods. Unlike the top-40 lists it
// ranks by a combined score, the trade value plus 4000 gold for every point of CPM, so a haul
// that pays a little less but is much shorter can win.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/trade_data.h"

namespace ledgerly {

// What one point of CPM is worth against trade value in the score.
inline constexpr std::int32_t kGoldPerCpmPoint = 4000;

// value + cpm x 4000. The product is kept to the signed 32-bit range (clamped rather than
// wrapped, so a hand-edited huge price cannot turn into a negative score), the sum is formed in
// double precision and the score kept in single precision.
float runScore(float value, std::int32_t cpm);

struct BestRun {
    int destinationTp = 0;
    int slot = 0;  // goods slot 1..5 of the source
    float value = 0.0F;
    std::int32_t cpm = 0;
    float score = 0.0F;
};

// Scores the 95 hauls of `source`'s goods (every destination, every slot, empty slots and
// unreachable posts included) and returns the best one; among equal scores the first met
// (lower destination, then lower slot) wins. Writes the CPM table cells (source, d, k) and no
// others. Nothing is returned when no haul scores above 0, or when `source` is not a post (then
// nothing is written either).
std::optional<BestRun> findBestRun(TradeData& data, int source);

// The four boxes of the picker window. An empty optional leaves a box as it is.
struct RunPickView {
    std::optional<std::string> freight;
    std::optional<std::string> to;
    std::optional<std::string> value;
    std::optional<std::string> cpm;
};

// One "Find": searches and says what the boxes show. When no haul wins, Freight and To keep
// their text and Value and CPM are emptied; for a `source` that is not a post nothing changes.
RunPickView pickRun(TradeData& data, int source, std::string_view decimalSeparator = ".");

}  // namespace ledgerly
