#include "number_text.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace ledgerly {
namespace {

void dropTrailingZeros(std::string& digits) {
    if (digits.find('.') == std::string::npos)
        return;
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    if (!digits.empty() && digits.back() == '.')
        digits.pop_back();
}

void replacePoint(std::string& text, std::string_view decimalSeparator) {
    if (decimalSeparator == ".")
        return;
    const auto point = text.find('.');
    if (point != std::string::npos)
        text.replace(point, 1, decimalSeparator);
}

// Seven significant digits with the period as separator and a leading zero.
std::string sevenDigitText(float value) {
    const double v = value == 0.0F ? 0.0 : static_cast<double>(value);
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v < 0 ? "-Infinity" : "Infinity";
    if (v == 0.0)
        return "0";

    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6E", v);
    std::string scientific = buffer;
    const auto e = scientific.find('E');
    const int exponent = std::atoi(scientific.c_str() + e + 1);

    if (exponent >= 7 || exponent < -5) {
        std::string mantissa = scientific.substr(0, e);
        dropTrailingZeros(mantissa);
        std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+',
                      std::abs(exponent));
        return mantissa + buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%.*f", 6 - exponent, v);
    std::string fixed = buffer;
    dropTrailingZeros(fixed);
    return fixed;
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
