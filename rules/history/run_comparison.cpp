// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/history/run_comparison.h"

#include "rules/history/price_series.h"

namespace ledgerly {
namespace {

std::string counted(long long count, const char* unit) {
    return std::to_string(count) + " " + unit + (count == 1 ? "" : "s");
}

// How long ago, in the unit a person would use: minutes within the hour, hours within two
// days, days after that.
std::string agoText(std::chrono::seconds elapsed) {
    const long long seconds = elapsed.count();
    if (seconds < 3600)
        return counted(std::max(1LL, seconds / 60), "minute");
    if (seconds < 48LL * 3600)
        return counted(seconds / 3600, "hour");
    return counted(seconds / 86400, "day");
}

}  // namespace

std::optional<PriceSnapshot> previousSnapshot(const PriceHistory& history, int tp,
                                              UtcSeconds time) {
    const PriceSnapshot* latest = nullptr;
    for (const PriceSnapshot& snapshot : history.snapshots) {
        if (snapshot.tp == tp && snapshot.time < time &&
            (latest == nullptr || snapshot.time >= latest->time)) {
            latest = &snapshot;
        }
    }
    if (latest == nullptr)
        return std::nullopt;
    return *latest;
}

std::string runComparisonLine(const PriceSnapshot& previous, const PriceSnapshot& run,
                              std::string_view decimalSeparator) {
    int rose = 0;
    int fell = 0;
    int largestRise = 0;  // commodity; 0 while nothing rose
    int largestFall = 0;
    float rise = 0.0F;
    float fall = 0.0F;
    for (int c = 1; c <= kCommodityCount; ++c) {
        const auto at = static_cast<std::size_t>(c);
        const float change = run.prices[at] - previous.prices[at];
        if (change > 0.0F) {
            ++rose;
            if (change > rise) {
                rise = change;
                largestRise = c;
            }
        } else if (change < 0.0F) {
            ++fell;
            if (change < fall) {
                fall = change;
                largestFall = c;
            }
        }
    }
    std::string line = "Prices since this post's last snapshot, " +
                       agoText(run.time - previous.time) + " ago: " + std::to_string(rose) +
                       " rose, " + std::to_string(fell) + " fell, " +
                       std::to_string(kCommodityCount - rose - fell) + " stayed";
    if (largestRise != 0) {
        line += "; largest rise " + std::string(commodityName(largestRise)) + " " +
                changeText(rise, decimalSeparator);
    }
    if (largestFall != 0) {
        line += "; largest fall " + std::string(commodityName(largestFall)) + " " +
                changeText(fall, decimalSeparator);
    }
    return line + ".";
}

}  // namespace ledgerly
