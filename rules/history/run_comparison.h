// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How a valuing run compares with the post's previous snapshot: the line that ends the Auto
// Valuer's log.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/price_history.h"

namespace ledgerly {

// The post's latest snapshot taken before `time`, if the history holds one. Of several at the
// same time the last in the file counts.
std::optional<PriceSnapshot> previousSnapshot(const PriceHistory& history, int tp, UtcSeconds time);

// "Since this post's snapshot of 26 hours ago: 31 prices rose, 12 fell and 45 stayed; the
// largest rise Ale +120, the largest fall Silk -300." Of equal changes the first commodity in
// catalogue order is named; a part with nothing to name is left out.
std::string runComparisonLine(const PriceSnapshot& previous, const PriceSnapshot& run,
                              std::string_view decimalSeparator = ".");

}  // namespace ledgerly
