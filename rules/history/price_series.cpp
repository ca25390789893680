// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/history/price_series.h"

#include <algorithm>
#include <array>

#include "core/number_text.h"

namespace ledgerly {

std::vector<PostSeries> commoditySeries(const PriceHistory& history, int c) {
    std::array<std::vector<SeriesPoint>, kTradingPostCount + 1> byPost;
    if (c < 1 || c > kCommodityCount)
        return {};
    const auto column = static_cast<std::size_t>(c);
    for (const PriceSnapshot& snapshot : history.snapshots) {
        if (!isTradingPost(snapshot.tp))
            continue;
        byPost[static_cast<std::size_t>(snapshot.tp)].push_back(
            {snapshot.time, snapshot.prices[column]});
    }
    std::vector<PostSeries> series;
    const auto earlier = [](const SeriesPoint& a, const SeriesPoint& b) { return a.time < b.time; };
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        auto& points = byPost[static_cast<std::size_t>(tp)];
        if (points.empty())
            continue;
        // A history the program wrote is already in time order; imports may not be.
        if (!std::is_sorted(points.begin(), points.end(), earlier))
            std::stable_sort(points.begin(), points.end(), earlier);
        series.push_back({tp, std::move(points)});
    }
    return series;
}

std::vector<SnapshotRow> snapshotRows(const std::vector<PostSeries>& series) {
    std::vector<SnapshotRow> rows;
    for (const PostSeries& post : series) {
        for (std::size_t i = 0; i < post.points.size(); ++i) {
            const SeriesPoint& point = post.points[i];
            std::optional<float> change;
            if (i > 0)
                change = point.price - post.points[i - 1].price;
            rows.push_back({point.time, post.tp, point.price, change});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const SnapshotRow& a, const SnapshotRow& b) {
        return a.time != b.time ? a.time > b.time : a.tp < b.tp;
    });
    return rows;
}

std::string changeText(std::optional<float> change, std::string_view decimalSeparator) {
    if (!change)
        return {};
    const std::string text = singleText(*change, decimalSeparator);
    return *change > 0.0F ? "+" + text : text;
}

}  // namespace ledgerly
