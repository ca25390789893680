// What every report shares: payoff and CPM of a haul, the age of a post's values, the colour
// bands of report boxes and the shared ranking list (top 40) with its insertion rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/hour_clock.h"
#include "core/trade_data.h"

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

// What destination d pays for the commodity in slot k of source s.
float payoff(const TradeData& data, int s, int k, int d);

// A trade value per move, rounded half to even into a signed 32-bit figure (clamped).
std::int32_t cpmOf(float value, int moves);

// Ranking list. One report run: reset, offer every candidate in scan order, then convert.
// Value := 1 and slot := 1 on every row; source and destination keep what they hold.
void resetRanking(TradeData& data);

// Inserts the candidate above the first row whose value it strictly exceeds (compared
// unrounded), storing it rounded half to even. Returns whether it entered the list. The list
// must have been reset since anything else wrote its values (as every ranking run does).
bool offerCandidate(TradeData& data, double measure, int sourceTp, int slot, int destinationTp);

// Replaces each row's goods slot by the commodity sold in it. Rows whose source or slot is not
// a valid post / slot are left as they are.
void convertSlotsToCommodities(TradeData& data);

// Rows actually filled after `entered` candidates went in (the list holds at most 40).
inline int rowsReached(int entered) {
    return entered < kRankingRows ? entered : kRankingRows;
}

// One ranking run's scan: offers candidates in scan order and counts those that entered, which
// tells how many rows a candidate reached; the rest keep value 1 and whatever posts they held.
class RankingScan {
public:
    explicit RankingScan(TradeData& data) : data_(data) {}
    void offer(double measure, int sourceTp, int slot, int destinationTp) {
        if (offerCandidate(data_, measure, sourceTp, slot, destinationTp))
            ++entered_;
    }
    int reached() const { return rowsReached(entered_); }

private:
    TradeData& data_;
    int entered_ = 0;
};

}  // namespace ledgerly
