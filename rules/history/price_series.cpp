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

const SeriesPoint& nearestPoint(const PostSeries& post, UtcSeconds time) {
    auto nearest = std::lower_bound(post.points.begin(), post.points.end(), time,
                                    [](const SeriesPoint& p, UtcSeconds t) { return p.time < t; });
    if (nearest == post.points.end() ||
        (nearest != post.points.begin() && time - (nearest - 1)->time < nearest->time - time)) {
        --nearest;
    }
    return *nearest;
}

std::optional<ChartRange> chartRange(const std::vector<PostSeries>& series) {
    std::optional<ChartRange> range;
    for (const PostSeries& post : series) {
        for (const SeriesPoint& point : post.points) {
            const double price = point.price;
            if (!range)
                range = ChartRange{point.time, point.time, price, price};
            range->first = std::min(range->first, point.time);
            range->last = std::max(range->last, point.time);
            range->lowest = std::min(range->lowest, price);
            range->highest = std::max(range->highest, price);
        }
    }
    if (!range)
        return range;
    // A single time or price still needs an axis with some length.
    if (range->first == range->last) {
        range->first -= std::chrono::hours(1);
        range->last += std::chrono::hours(1);
    }
    const double margin = std::max((range->highest - range->lowest) * 0.05, 1.0);
    range->lowest = std::max(0.0, range->lowest - margin);
    range->highest += margin;
    return range;
}

std::string changeText(std::optional<float> change, std::string_view decimalSeparator) {
    if (!change)
        return {};
    const std::string text = singleText(*change, decimalSeparator);
    return *change > 0.0F ? "+" + text : text;
}

}  // namespace ledgerly
