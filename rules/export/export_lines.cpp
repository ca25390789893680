// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/export/export_lines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "core/catalogue.h"
#include "core/number_text.h"

namespace ledgerly {
namespace {

// These lines are pasted into the game and read by other players whatever their locale, and a
// comma inside "Ale - 1234,5" would read as a list separator there. So unlike the report boxes,
// which follow the user's locale, the export lines always use a period.
constexpr std::string_view kExportDecimalSeparator = ".";

std::string ageTextOf(const TradeData& data, const Clock& clock, int tp) {
    return ageText(ageOfValues(readHourClock(clock), data.stamp(tp)), kExportDecimalSeparator);
}

std::string valuedAgo(const std::string& age) {
    return ". Valued " + age + " hours ago. ";
}

// A rounded figure as whole-number text. The figure is the exact rounded value rather than the
// 32-bit one stored in the ranking list, so a hand-edited price beyond two billion is shown as
// it is instead of as the clamped 2147483647.
std::string figureText(double rounded) {
    if (!std::isfinite(rounded))
        return singleText(static_cast<float>(rounded));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", rounded + 0.0);  // + 0.0: never "-0"
    return buffer;
}

}  // namespace

bool isExcludedFromTopFive(int c) {
    return std::find(std::begin(kTopFiveExcluded), std::end(kTopFiveExcluded), c) !=
           std::end(kTopFiveExcluded);
}

std::optional<std::string> valuesExportLine(const TradeData& data, const Clock& clock, int fromTp,
                                            int toTp) {
    if (!isTradingPost(fromTp) || !isTradingPost(toTp))
        return std::nullopt;

    std::string line = "Values from ";
    line += tradingPost(fromTp).listLabel;
    line += " to ";
    line += tradingPost(toTp).listLabel;
    line += valuedAgo(ageTextOf(data, clock, toTp));
    for (int k = 1; k <= kGoodsSlotCount; ++k) {
        // An empty slot is commodity 0, "none", valued from the unstored column 0.
        const int c = goodsSlot(fromTp, k);
        if (k > 1)
            line += "  ";
        line += commodityName(c);
        line += " - ";
        line += singleText(data.value(toTp, c), kExportDecimalSeparator);
    }
    return line;
}

std::string townSelling(int c) {
    // "none" fills empty slots but is sold nowhere, so it has no town.
    const int seller = sellerOf(c);
    return isTradingPost(seller) ? std::string(tradingPost(seller).townName) : std::string();
}

std::optional<std::string> topFiveExportLine(TradeData& data, const Clock& clock, int toTp) {
    if (!isTradingPost(toTp))
        return std::nullopt;
    const std::string age = ageTextOf(data, clock, toTp);

    auto& rows = data.buffers.ranking;
    for (int k = 1; k <= kTopFiveRows; ++k) {
        rows[k].slot = 0;
        rows[k].value = 0;
    }
    const auto alreadyListed = [&rows](int c) {
        for (int m = 1; m <= kTopFiveRows; ++m) {
            if (rows[m].slot == c)
                return true;
        }
        return false;
    };

    // Each candidate is measured against the rounded figure of the best so far, so equal
    // figures go to the commodity latest in the catalogue. That figure is kept unclamped here:
    // compared with the clamped 32-bit one, any price beyond two billion would tie with every
    // other such price and the last of them would win, however much lower it was.
    std::array<double, kTopFiveRows + 1> best{};
    for (int k = 1; k <= kTopFiveRows; ++k) {
        for (int c = 1; c <= kCommodityCount; ++c) {
            if (isExcludedFromTopFive(c) || alreadyListed(c))
                continue;
            const double v = data.value(toTp, c);
            if (v >= best[k]) {
                best[k] = std::nearbyint(v);
                rows[k].value = roundHalfEven32(v);
                rows[k].slot = static_cast<std::int16_t>(c);
            }
        }
    }

    std::string line = "Top 5 non-cpk values to ";
    line += tradingPost(toTp).listLabel;
    line += valuedAgo(age);
    for (int k = 1; k <= kTopFiveRows; ++k) {
        const int c = rows[k].slot;
        data.buffers.topFiveTowns[k] = townSelling(c);
        if (k > 1)
            line += "  ";
        line += commodityName(c);
        line += "(";
        line += data.buffers.topFiveTowns[k];
        line += ") - ";
        line += figureText(best[k]);
    }
    return line;
}

}  // namespace ledgerly
