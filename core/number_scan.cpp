// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/number_scan.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace ledgerly {
namespace {

bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

bool isExponentMark(char ch, const NumberForms& forms) {
    return ch == 'e' || ch == 'E' || (forms.fortranExponent && (ch == 'd' || ch == 'D'));
}

// The number in the form std::from_chars reads, or nothing when `text` is not a number.
bool plainNumber(std::string_view text, const NumberForms& forms, std::string& plain) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    // Groups only in the whole part and only of three: a comma anywhere else might be a decimal
    // comma, and the number would be read a thousand times too big.
    std::size_t group = 0;
    bool grouped = false;
    bool digits = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            plain += text[i];
            ++group;
            digits = true;
        } else if (forms.thousandsGroups && text[i] == ',') {
            if (group == 0 || (grouped && group != 3) || group > 3)
                return false;
            grouped = true;
            group = 0;
        } else {
            break;
        }
    }
    if (grouped && group != 3)
        return false;
    if (i < text.size() && text[i] == '.') {
        plain += text[i++];
        for (; i < text.size() && isDigit(text[i]); ++i) {
            plain += text[i];
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < text.size() && isExponentMark(text[i], forms)) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        const std::size_t exponentStart = i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            plain += text[i];
        if (i == exponentStart)
            return false;
    }
    return i == text.size();
}

}  // namespace

ScannedNumber scanNumber(std::string_view text, NumberForms forms) {
    std::string plain;
    if (!plainNumber(text, forms, plain))
        return {};
    float value = 0.0F;
    const char* last = plain.data() + plain.size();
    const auto [end, error] = std::from_chars(plain.data(), last, value);
    if (error == std::errc::result_out_of_range) {
        if (std::fabs(std::strtod(plain.c_str(), nullptr)) >= 1.0)
            return {ScannedNumber::Result::TooLarge, 0.0F};
        return {ScannedNumber::Result::TooSmall, 0.0F};
    }
    if (error != std::errc() || end != last)
        return {};
    if (!std::isfinite(value))
        return {ScannedNumber::Result::TooLarge, 0.0F};
    return {ScannedNumber::Result::Number, value};
}

}  // namespace ledgerly
