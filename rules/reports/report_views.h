// What a report computation hands its window: the texts and colours to show, and nothing the
// window would have to work out for itself. Plain C++, so the reports can be tested without
// widgets.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "core/trade_data.h"
#include "rules/reports/payoff_measures.h"

namespace ledgerly {

// One text box: its text and its background band.
struct BoxView {
    std::string text;
    BandColour colour = BandColour::Red;
};

// One row of a top-40 list. For the optional fields, "no value" means the window leaves that
// control exactly as it is (some reports keep a row's previous town on purpose); a value that is
// an empty string clears the control.
struct RankedRowView {
    std::optional<std::string> name;         // name label `Label22`
    std::string value;                       // value box `txtbestvalue`
    BandColour colour = BandColour::Red;     // background of the value box
    std::optional<std::string> tradingPost;  // trading-post box `txttp`
    std::optional<std::string> destination;  // destination box `txtto`, where the window has one
};

// A whole top-40 report: the age of the chosen post's values (for windows that show it) and
// rows 1..40 (row 0 unused, so row numbers read as they do on screen).
struct RankingReportView {
    std::optional<AgeView> age;
    std::array<RankedRowView, kRankingRows + 1> rows{};
};

}  // namespace ledgerly
