// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/reports/run_picker.h"

#include <algorithm>
#include <limits>

#include "core/catalogue.h"
#include "core/number_text.h"
#include "rules/reports/payoff_measures.h"

namespace ledgerly {

float runScore(float value, std::int32_t cpm) {
    constexpr std::int64_t kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kHighest = std::numeric_limits<std::int32_t>::max();
    const std::int64_t weight =
        std::clamp(static_cast<std::int64_t>(cpm) * kGoldPerCpmPoint, kLowest, kHighest);
    return static_cast<float>(static_cast<double>(value) + static_cast<double>(weight));
}

std::optional<BestRun> findBestRun(TradeData& data, int source) {
    if (!isTradingPost(source))
        return std::nullopt;

    // The CPM table is filled first, source as its first index, and the scores read from it.
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int k = 1; k <= kGoodsSlotCount; ++k) {
            data.buffers.cpm(source, d, k) = cpmOf(payoff(data, source, k, d), moves(d, source));
        }
    }

    std::optional<BestRun> best;
    float bestScore = 0.0F;
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int k = 1; k <= kGoodsSlotCount; ++k) {
            const float value = payoff(data, source, k, d);
            const std::int32_t cpm = data.buffers.cpm(source, d, k);
            const float score = runScore(value, cpm);
            // Strictly greater, so among equal scores the haul met first stays.
            if (score > bestScore) {
                bestScore = score;
                best = BestRun{d, k, value, cpm, score};
            }
        }
    }
    return best;
}

RunPickView pickRun(TradeData& data, int source, std::string_view decimalSeparator) {
    RunPickView view;
    if (!isTradingPost(source))
        return view;
    const std::optional<BestRun> best = findBestRun(data, source);
    if (!best) {
        view.value = std::string();
        view.cpm = std::string();
        return view;
    }
    view.freight = std::string(commodityName(goodsSlot(source, best->slot)));
    view.to = std::string(tradingPost(best->destinationTp).townName);
    view.value = singleText(best->value, decimalSeparator);
    view.cpm = wholeText(best->cpm);
    return view;
}

}  // namespace ledgerly
