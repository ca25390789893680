// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/reports/payoff_measures.h"

#include "core/catalogue.h"
#include "core/number_text.h"

namespace ledgerly {

float payoff(const TradeData& data, int s, int k, int d) {
    return data.value(d, goodsSlot(s, k));
}

std::int32_t cpmOf(float value, int moves) {
    return roundHalfEven32(static_cast<double>(value) / static_cast<double>(moves));
}

}  // namespace ledgerly
