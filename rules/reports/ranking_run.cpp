// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/reports/ranking_run.h"

#include <algorithm>
#include <cassert>
#include <limits>

#include "core/catalogue.h"
#include "core/number_text.h"

namespace ledgerly {
namespace {

constexpr std::int32_t kLargestFigure = std::numeric_limits<std::int32_t>::max();

std::string townOf(int tp) {
    return isTradingPost(tp) ? std::string(tradingPost(tp).townName) : std::string();
}

// The commodity in the row's goods slot, read before the slots are converted. A row whose slot
// names no good shows no name at all; one that no candidate reached names nothing.
std::optional<std::string> nameOf(const RankingRow& row, bool reached) {
    if (!isGoodsSlot(row.slot))
        return std::nullopt;
    if (!reached || !isTradingPost(row.sourceTp))
        return std::string();
    return std::string(commodityName(goodsSlot(row.sourceTp, row.slot)));
}

}  // namespace

RankingRun::RankingRun(TradeData& data, RankingStart start) : data_(data) {
    for (int r = 1; r <= kRankingRows; ++r) {
        RankingRow& row = data_.buffers.ranking[r];
        row.value = 1;
        row.slot = start == RankingStart::WithoutSlot ? 0 : 1;
        if (start == RankingStart::ClearDestinations)
            row.destinationTp = 0;
    }
}

void RankingRun::offer(double measure, int sourceTp, int slot, int destinationTp) {
    auto& rows = data_.buffers.ranking;
    // A measure beyond what a row can hold is ranked as the clamped figure it is stored as;
    // compared unclamped, every later huge value would jump above an equal earlier one and
    // break the rule that equal figures keep their scan order.
    const double ranked = std::min(measure, static_cast<double>(kLargestFigure));
    data_.buffers.alreadyPlaced = 0;
    // Since the reset every offer keeps the values in descending order (a measure rounds to no
    // more than the row above it, which it did not exceed), so a measure that does not beat the
    // last row beats none: most candidates of the big scans are turned away here.
    assert(
        std::is_sorted(rows.begin() + 1, rows.end(),
                       [](const RankingRow& a, const RankingRow& b) { return a.value > b.value; }));
    if (!(ranked > static_cast<double>(rows[kRankingRows].value)))
        return;
    for (int r = 1; r <= kRankingRows; ++r) {
        if (ranked > static_cast<double>(rows[r].value)) {
            for (int below = kRankingRows - 1; below >= r; --below)
                rows[below + 1] = rows[below];
            rows[r] = {roundHalfEven32(measure), static_cast<std::int16_t>(sourceTp),
                       static_cast<std::int16_t>(slot), static_cast<std::int16_t>(destinationTp)};
            data_.buffers.alreadyPlaced = 1;
            ++entered_;
            return;
        }
    }
}

void RankingRun::convertSlotsToCommodities() {
    for (int r = 1; r <= kRankingRows; ++r) {
        RankingRow& row = data_.buffers.ranking[r];
        // The flag is cleared before each row and set by its conversion, so a row is converted
        // once even when its new commodity number equals another slot number.
        data_.buffers.alreadyPlaced = 0;
        if (!isTradingPost(row.sourceTp))
            continue;
        for (int k = 1; k <= kGoodsSlotCount; ++k) {
            if (data_.buffers.alreadyPlaced == 0 && row.slot == k) {
                row.slot = static_cast<std::int16_t>(goodsSlot(row.sourceTp, k));
                data_.buffers.alreadyPlaced = 1;
            }
        }
    }
}

RankingReportView RankingRun::finish(const RankingLook& look) {
    const auto& rows = data_.buffers.ranking;
    const int reached = std::min(entered_, kRankingRows);
    RankingReportView view;
    for (int r = 1; r <= kRankingRows; ++r) {
        const RankingRow& row = rows[r];
        RankedRowView& shown = view.rows[r];
        shown.value = wholeText(row.value);
        shown.colour = colourBand(row.value, look.band);
        if (look.keepSlotsOf)
            shown.name = std::string(commodityName(goodsSlot(*look.keepSlotsOf, row.slot)));
        else
            shown.name = nameOf(row, r <= reached);
    }
    if (!look.keepSlotsOf)
        convertSlotsToCommodities();
    for (int r = 1; r <= kRankingRows; ++r) {
        const RankingRow& row = rows[r];
        RankedRowView& shown = view.rows[r];
        const bool named = r <= reached;
        const int town = look.tradingPost == RankedPost::Source ? row.sourceTp : row.destinationTp;
        shown.tradingPost = named ? townOf(town) : std::string();
        if (look.withDestination)
            shown.destination = named ? townOf(row.destinationTp) : std::string();
    }
    return view;
}

}  // namespace ledgerly
