// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The colour bands that tint report boxes: four pure colours, chosen from the number a box shows
// by thresholds that depend on what kind of box it is.
#pragma once

#include <cstdint>
#include <string>

namespace ledgerly {

enum class BandColour { Red, Yellow, Green, Blue };

enum class BoxKind {
    AgeOfValues,      // blue; > 0.5 green; > 2 yellow; > 4 red
    RankedPayoff,     // red; > 250000 yellow; > 500000 green; > 1000000 blue
    AllPayoffsValue,  // red; > 200000 yellow; > 500000 green; > 1000000 blue
    Cpm,              // red; > 300 yellow; > 500 green; > 700 blue
};

// The colour of a box from the number it shows; every threshold is strict.
BandColour colourBand(double shown, BoxKind kind);

// Pure RGB: red FF0000, yellow FFFF00, green 00FF00, blue 0000FF.
std::uint32_t bandRgb(BandColour colour);

// One box: its text on its band.
struct BoxView {
    std::string text;
    BandColour colour = BandColour::Red;
};

}  // namespace ledgerly
