#include "rules/reports/payoff_measures.h"

#include <algorithm>
#include <cassert>
#include <limits>

#include "core/number_text.h"

namespace ledgerly {
namespace {

constexpr std::int32_t kLargestFigure = std::numeric_limits<std::int32_t>::max();

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

float payoff(const TradeData& data, int s, int k, int d) {
    return data.value(d, goodsSlot(s, k));
}

std::int32_t cpmOf(float value, int moves) {
    return roundHalfEven32(static_cast<double>(value) / static_cast<double>(moves));
}

void resetRanking(TradeData& data) {
    for (int r = 1; r <= kRankingRows; ++r) {
        data.buffers.ranking[r].value = 1;
        data.buffers.ranking[r].slot = 1;
    }
}

bool offerCandidate(TradeData& data, double measure, int sourceTp, int slot, int destinationTp) {
    auto& rows = data.buffers.ranking;
    // A measure beyond what a row can hold is ranked as the clamped figure it is stored as;
    // compared unclamped, every later huge value would jump above an equal earlier one and
    // break the rule that equal figures keep their scan order.
    const double ranked = std::min(measure, static_cast<double>(kLargestFigure));
    data.buffers.alreadyPlaced = 0;
    // After a reset every offer keeps the values in descending order (a measure rounds to no
    // more than the row above it, which it did not exceed), so a measure that does not beat the
    // last row beats none: most candidates of the big scans are turned away here.
    assert(
        std::is_sorted(rows.begin() + 1, rows.end(),
                       [](const RankingRow& a, const RankingRow& b) { return a.value > b.value; }));
    if (!(ranked > static_cast<double>(rows[kRankingRows].value)))
        return false;
    for (int r = 1; r <= kRankingRows; ++r) {
        if (ranked > static_cast<double>(rows[r].value)) {
            for (int below = kRankingRows - 1; below >= r; --below)
                rows[below + 1] = rows[below];
            rows[r] = {roundHalfEven32(measure), static_cast<std::int16_t>(sourceTp),
                       static_cast<std::int16_t>(slot), static_cast<std::int16_t>(destinationTp)};
            data.buffers.alreadyPlaced = 1;
            break;
        }
    }
    return data.buffers.alreadyPlaced != 0;
}

void convertSlotsToCommodities(TradeData& data) {
    for (int r = 1; r <= kRankingRows; ++r) {
        RankingRow& row = data.buffers.ranking[r];
        data.buffers.alreadyPlaced = 0;
        if (!isTradingPost(row.sourceTp))
            continue;
        for (int k = 1; k <= kGoodsSlotCount; ++k) {
            if (data.buffers.alreadyPlaced == 0 && row.slot == k) {
                row.slot = static_cast<std::int16_t>(goodsSlot(row.sourceTp, k));
                data.buffers.alreadyPlaced = 1;
            }
        }
    }
}

}  // namespace ledgerly
