// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The data module: the one live table of the program (what every trading post pays for every
// commodity, with a valuation stamp per post) and the result buffers that the reports share.
// One instance lives for the whole run and is handed to every window by reference.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/catalogue.h"

namespace ledgerly {

inline constexpr float kNeverValued = 1.0F;
inline constexpr float kNeverValuedStamp = 10.0F;
inline constexpr int kRankingRows = 40;
inline constexpr int kTopFiveRows = 5;

// One row of the shared ranking list. During ranking `slot` holds a goods slot (1..5); after
// the convert step it holds the commodity sold in that slot.
struct RankingRow {
    std::int32_t value = 0;
    std::int16_t sourceTp = 0;
    std::int16_t slot = 0;
    std::int16_t destinationTp = 0;
};

// Buffers that one report leaves behind for the next; nothing clears them between reports.
struct ReportBuffers {
    std::array<RankingRow, kRankingRows + 1> ranking{};        // rows 1..40; row 0 unused
    std::array<std::string, kTopFiveRows + 1> topFiveTowns{};  // rows 1..5
    std::int16_t alreadyPlaced = 0;
    float hourClockScratch = 0.0F;

    // Per-move figure for a pair of posts and a goods slot; which post comes first is up to the
    // report that fills it.
    std::int32_t& cpm(int a, int b, int k);
    std::int32_t cpm(int a, int b, int k) const;

private:
    std::array<std::int32_t,
               (kTradingPostCount + 1) * (kTradingPostCount + 1) * (kGoodsSlotCount + 1)>
        cpm_{};
};

class TradeData {
public:
    // Everything starts zeroed; the start-up load brings values and stamps to their defaults.
    TradeData() = default;

    float value(int tp, int c) const;
    void setValue(int tp, int c, float v);
    float stamp(int tp) const;
    void setStamp(int tp, float hours);

    // Never-valued defaults for every stored cell: values of commodities 1..88 become 1 and
    // every stamp 10. Column 0 is not stored and is left alone.
    void setDefaults();

    // The start-up pass: any value (columns 0..88) below 1 or not a number becomes 1, and any
    // stamp below 11 becomes 10.
    void raiseLowValues();

    ReportBuffers buffers;

private:
    std::array<std::array<float, kCommodityCount + 1>, kTradingPostCount + 1> values_{};
    std::array<float, kTradingPostCount + 1> stamps_{};
};

}  // namespace ledgerly
