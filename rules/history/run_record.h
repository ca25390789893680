// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a completed valuing run leaves in the price history: one snapshot of the post's 88 prices,
// appended once the store is saved, and the line that compares it with the post's snapshot before.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/price_history.h"
#include "core/trade_data.h"

namespace ledgerly {

struct RunRecord {
    std::optional<std::string> comparison;  // for the Auto Valuer's log, when there was a snapshot
    std::optional<std::string> failure;     // why the history could not keep the run
};

// Appends the post's prices as they now stand in `data`, taken at `time`, to `historyPath`.
RunRecord recordValuingRun(const TradeData& data, int tp, UtcSeconds time,
                           const std::filesystem::path& historyPath,
                           std::string_view decimalSeparator = ".");

}  // namespace ledgerly
