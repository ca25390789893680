// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "All Values": every haul into one chosen trading post, in 18 frames, one per trading post that
// sells anything (post 11 sells nothing and has none), with five rows of boxes each: the
// commodity, what the destination pays for it and the payoff per move. Nothing is ranked.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/hour_clock.h"
#include "core/trade_data.h"
#include "rules/reports/age_of_values.h"
#include "rules/reports/colour_bands.h"

namespace ledgerly {

inline constexpr int kAllPayoffsFrames = 18;
inline constexpr int kAllPayoffsBoxes = kAllPayoffsFrames * kGoodsSlotCount;

struct AllPayoffsFrame {
    std::string_view caption;  // as designed; some differ from the list labels
    int sourceTp = 0;
};

// Frames 1..18 (element 0 unused).
extern const std::array<AllPayoffsFrame, kAllPayoffsFrames + 1> kAllPayoffsFrameTable;

// Row k of frame f uses box number n = 5 * (f - 1) + k.
inline constexpr int allPayoffsBox(int frame, int slot) {
    return kGoodsSlotCount * (frame - 1) + slot;
}

// One row of a frame. For the optional texts, "no value" leaves the box as it is: the two empty
// slots of Temple Shop (boxes 39 and 40) never get a name or a payoff.
struct AllPayoffsRowView {
    std::optional<std::string> name;   // `txtgname`
    std::optional<std::string> value;  // `txtvalue`
    BandColour valueColour = BandColour::Red;
    std::string cpm;  // `txtcpm`
    BandColour cpmColour = BandColour::Red;
};

struct AllPayoffsView {
    AgeView age;
    std::array<AllPayoffsRowView, kAllPayoffsBoxes + 1> rows{};  // boxes 1..90
};

// Every haul into `destination`: its age of values, and for each selling post's five slots the
// commodity, what the destination pays and the payoff per move. Fills the CPM table cells
// (source, destination, slot) and the hour-clock scratch; leaves the ranking list alone.
// Nothing, and nothing written, when `destination` is not a trading post.
std::optional<AllPayoffsView> allPayoffsTo(TradeData& data, const Clock& clock, int destination,
                                           std::string_view decimalSeparator);

}  // namespace ledgerly
