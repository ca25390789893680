// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading a decimal number written by a person or another program: an optional sign, digits
// with at most one point (".5" and "5." too) and an optional exponent. The store file and the
// shopkeeper's answers each add a form of their own, so each reader says which forms it takes.
#pragma once

#include <string_view>

namespace ledgerly {

struct NumberForms {
    bool thousandsGroups = false;  // "12,345": commas between groups of three in the whole part
    bool fortranExponent = false;  // "2D2": D introduces the exponent as E does
};

struct ScannedNumber {
    enum class Result {
        Number,      // `value` holds it
        NotANumber,  // the text is not in one of the accepted forms
        TooLarge,    // a number beyond single precision
        TooSmall,    // a number too close to zero for single precision; `value` is 0
    };
    Result result = Result::NotANumber;
    float value = 0.0F;
};

// Scans the whole of `text`; anything before or after the number (blanks included) makes it
// not a number.
ScannedNumber scanNumber(std::string_view text, NumberForms forms);

}  // namespace ledgerly
