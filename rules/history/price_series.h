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

// A change as the table shows it: "+120", "-3.5", "0"; empty for a post's first snapshot.
std::string changeText(std::optional<float> change, std::string_view decimalSeparator = ".");

}  // namespace ledgerly
