// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/reports/colour_bands.h"

namespace ledgerly {
namespace {

struct Thresholds {
    BandColour start;
    double first;
    BandColour firstColour;
    double second;
    BandColour secondColour;
    double third;
    BandColour thirdColour;
};

constexpr Thresholds thresholdsFor(BoxKind kind) {
    switch (kind) {
        case BoxKind::AgeOfValues:
            return {BandColour::Blue,   0.5, BandColour::Green, 2,
                    BandColour::Yellow, 4,   BandColour::Red};
        case BoxKind::RankedPayoff:
            return {BandColour::Red,   250000,  BandColour::Yellow, 500000,
                    BandColour::Green, 1000000, BandColour::Blue};
        case BoxKind::AllPayoffsValue:
            return {BandColour::Red,   200000,  BandColour::Yellow, 500000,
                    BandColour::Green, 1000000, BandColour::Blue};
        case BoxKind::Cpm:
            return {BandColour::Red,   300, BandColour::Yellow, 500,
                    BandColour::Green, 700, BandColour::Blue};
    }
    return {BandColour::Red, 0, BandColour::Red, 0, BandColour::Red, 0, BandColour::Red};
}

}  // namespace

BandColour colourBand(double shown, BoxKind kind) {
    const Thresholds t = thresholdsFor(kind);
    BandColour colour = t.start;
    if (shown > t.first)
        colour = t.firstColour;
    if (shown > t.second)
        colour = t.secondColour;
    if (shown > t.third)
        colour = t.thirdColour;
    return colour;
}

std::uint32_t bandRgb(BandColour colour) {
    switch (colour) {
        case BandColour::Red:
            return 0xFF0000;
        case BandColour::Yellow:
            return 0xFFFF00;
        case BandColour::Green:
            return 0x00FF00;
        case BandColour::Blue:
            return 0x0000FF;
    }
    return 0xFF0000;
}

}  // namespace ledgerly
