// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the price history says about one commodity: a series of prices per post for the chart,
// and the snapshots as table rows with the change from the same post's previous snapshot.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/price_history.h"

namespace ledgerly {

struct SeriesPoint {
    UtcSeconds time{};
    float price = 0.0F;
};

struct PostSeries {
    int tp = 0;
    std::vector<SeriesPoint> points;  // oldest first
};

// One series per post that has snapshots, in post order. Snapshots of one post at the same
// time keep the order of the file.
std::vector<PostSeries> commoditySeries(const PriceHistory& history, int c);

struct SnapshotRow {
    UtcSeconds time{};
    int tp = 0;
    float price = 0.0F;
    std::optional<float> change;  // from the post's previous snapshot; none for its first
};

// Every point of every series, newest first; at the same time, in post order.
std::vector<SnapshotRow> snapshotRows(const std::vector<PostSeries>& series);

// The point of a post's line nearest in time to `time`, where the pointer rests; of two equally
// near, the later. The series has at least one point.
const SeriesPoint& nearestPoint(const PostSeries& post, UtcSeconds time);

// What the chart's axes span: every point of every series, a little room above and below the
// prices (never below zero), and an hour either side of a single time.
struct ChartRange {
    UtcSeconds first{};
    UtcSeconds last{};
    double lowest = 0.0;
    double highest = 0.0;
};
std::optional<ChartRange> chartRange(const std::vector<PostSeries>& series);

// A change as the table shows it: "+120", "-3.5", "0"; empty for a post's first snapshot.
std::string changeText(std::optional<float> change, std::string_view decimalSeparator = ".");

}  // namespace ledgerly
