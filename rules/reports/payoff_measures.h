// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The two measures of a haul every report ranks or shows: its payoff, what the destination pays
// for a good of the source, and its CPM, that payoff per move.
#pragma once

#include <cstdint>

#include "core/trade_data.h"

namespace ledgerly {

// What destination d pays for the commodity in slot k of source s.
float payoff(const TradeData& data, int s, int k, int d);

// A trade value per move, rounded half to even into a signed 32-bit figure (clamped).
std::int32_t cpmOf(float value, int moves);

}  // namespace ledgerly
