// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace ledgerly {
namespace {

void replacePoint(std::string& text, std::string_view decimalSeparator) {
    if (decimalSeparator == ".")
        return;
    const auto point = text.find('.');
    if (point != std::string::npos)
        text.replace(point, 1, decimalSeparator);
}

// Seven significant digits with the period as separator and a leading zero. Built from the
// seven-digit scientific form that to_chars gives, which rounds exactly as printf does but
// costs a fraction of it; the report windows format hundreds of these per press.
std::string sevenDigitText(float value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0.0F)
        return "0";

    char buffer[32];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::scientific, 6);
    *written.ptr = '\0';     // to_chars does not terminate; the exponent is read with atoi
    const char* p = buffer;  // "[-]d.dddddde[+-]XX"
    std::string text;
    if (*p == '-') {
        text += '-';
        ++p;
    }
    char digits[7];
    digits[0] = p[0];
    std::memcpy(digits + 1, p + 2, 6);
    const int exponent = std::atoi(p + 9);
    int count = 7;
    while (count > 1 && digits[count - 1] == '0')
        --count;

    if (exponent >= 7 || exponent < -5) {
        text += digits[0];
        if (count > 1) {
            text += '.';
            text.append(digits + 1, static_cast<std::size_t>(count - 1));
        }
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "E%c%02d", exponent < 0 ? '-' : '+',
                      std::abs(exponent));
        return text + suffix;
    }
    if (exponent >= 0) {
        const int whole = exponent + 1;
        text.append(digits, static_cast<std::size_t>(whole));
        if (count > whole) {
            text += '.';
            text.append(digits + whole, static_cast<std::size_t>(count - whole));
        }
    } else {
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text.append(digits, static_cast<std::size_t>(count));
    }
    return text;
}

}  // namespace

std::string singleText(float v, std::string_view decimalSeparator, bool leadingZero) {
    std::string text = sevenDigitText(v);
    if (!leadingZero) {
        if (text.starts_with("0.")) {
            text.erase(0, 1);
        } else if (text.starts_with("-0.")) {
            text.erase(1, 1);
        }
    }
    replacePoint(text, decimalSeparator);
    return text;
}

double shownSingle(float v) {
    return std::strtod(sevenDigitText(v).c_str(), nullptr);
}

std::string storeNumberField(float v) {
    const std::string text = singleText(v, ".", false);
    if (text.starts_with('-'))
        return text + " ";
    return " " + text + " ";
}

std::string wholeText(std::int32_t v) {
    return std::to_string(v);
}

std::string ageText(double age, std::string_view decimalSeparator) {
    if (age == 0.0 || std::isnan(age))
        age = 0.0;  // never "-0"
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", age);
    std::string text = buffer;
    replacePoint(text, decimalSeparator);
    return text;
}

std::int32_t roundHalfEven32(double v) {
    if (std::isnan(v))
        return 0;
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    // nearbyint honours the current rounding mode, which is round-half-even unless changed.
    const double rounded = std::nearbyint(v);
    if (rounded <= kLowest)
        return std::numeric_limits<std::int32_t>::min();
    if (rounded >= kHighest)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(rounded);
}

}  // namespace ledgerly
