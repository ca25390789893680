// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The age of a trading post's values as report windows show it: hours since its valuation stamp,
// cut to hundredths, on the age band.
#pragma once

#include <string>
#include <string_view>

#include "core/hour_clock.h"
#include "core/trade_data.h"
#include "rules/reports/colour_bands.h"

namespace ledgerly {

struct AgeView {
    double age = 0.0;  // hours, cut to hundredths
    std::string text;
    BandColour colour = BandColour::Blue;
};

// Takes an hour-clock reading into the shared scratch and returns the age of tp's values as the
// age box shows it.
AgeView ageOfValuesFor(TradeData& data, const Clock& clock, int tp,
                       std::string_view decimalSeparator = ".");

// The same age at a reading the caller took, for views that keep out of the shared buffers.
AgeView ageOfValuesAt(const TradeData& data, float reading, int tp,
                      std::string_view decimalSeparator = ".");

}  // namespace ledgerly
