// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/reports/age_of_values.h"

#include "core/number_text.h"

namespace ledgerly {

AgeView ageOfValuesFor(TradeData& data, const Clock& clock, int tp,
                       std::string_view decimalSeparator) {
    const float reading = readHourClock(clock);
    data.buffers.hourClockScratch = reading;
    return ageOfValuesAt(data, reading, tp, decimalSeparator);
}

AgeView ageOfValuesAt(const TradeData& data, float reading, int tp,
                      std::string_view decimalSeparator) {
    AgeView view;
    view.age = ageOfValues(reading, data.stamp(tp));
    view.text = ageText(view.age, decimalSeparator);
    // The shown text carries 15 significant digits, so the age itself is the number shown.
    view.colour = colourBand(view.age, BoxKind::AgeOfValues);
    return view;
}

}  // namespace ledgerly
