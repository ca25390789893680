// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/history/run_record.h"

#include "rules/history/run_comparison.h"

namespace ledgerly {

RunRecord recordValuingRun(const TradeData& data, int tp, UtcSeconds time,
                           const std::filesystem::path& historyPath,
                           std::string_view decimalSeparator) {
    PriceSnapshot run{time, tp, std::string(kValuedSource), {}};
    for (int c = 1; c <= kCommodityCount; ++c)
        run.prices[static_cast<std::size_t>(c)] = data.value(tp, c);

    // Read before the append, so that the run is never compared with itself. A history that is
    // not ours is refused by the append as well, which then says why.
    const PriceHistory history = readPriceHistoryFile(historyPath);
    RunRecord record;
    record.failure = appendPriceSnapshot(historyPath, run);
    if (!history.problem) {
        if (const auto previous = previousSnapshot(history, tp, time))
            record.comparison = runComparisonLine(*previous, run, decimalSeparator);
    }
    return record;
}

}  // namespace ledgerly
