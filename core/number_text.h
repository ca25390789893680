// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How numbers become text. Trade values are single precision with at most 7 significant
// digits and switch to exponent form ("1.5E+07") from ten million on; whole-number figures have
// no separators; ages keep 15 significant digits. Window code passes the user's decimal
// separator; the store file always uses a period.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ledgerly {

// A single-precision value with 7 significant digits, trailing zeros and point dropped.
// With leadingZero false, fractions below 1 lose their zero (".5"), as in the store file.
std::string singleText(float v, std::string_view decimalSeparator = ".", bool leadingZero = true);

// The number a single-precision value shows as, read back (for colour tests on shown text).
double shownSingle(float v);

// One number line of the store file without its CR LF: " 1 ", " .5 ", "-3 ", " 1.5E+07 ".
std::string storeNumberField(float v);

std::string wholeText(std::int32_t v);

// An age of values (already cut to hundredths) with 15 significant digits: "3.25", "0.07", "12".
std::string ageText(double age, std::string_view decimalSeparator = ".");

// Nearest whole number, exact halves to the even neighbour, clamped to the signed 32-bit range
// (NaN gives 0) so that a hand-edited huge value can never overflow.
std::int32_t roundHalfEven32(double v);

}  // namespace ledgerly
