// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to the price history reader, which also reads other players' files.
// Besides crashes and sanitizer reports it stops on any broken promise of the reader:
// - a refused file says why and yields nothing: no snapshots, no skipped rows;
// - a read file yields only snapshots the program can use: a post 1..19, a time the file can
//   hold, finite prices, and a source of one line within the limit;
// - skipped rows are explained, and a torn last row counts as skipped;
// - every snapshot read, written again as a row, reads back as the same snapshot (prices to the
//   seven digits the file keeps).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/price_history.h"

namespace {

using namespace ledgerly;

void require(bool kept, const char* promise) {
    if (!kept) {
        std::fprintf(stderr, "price history reader broke its promise: %s\n", promise);
        std::abort();
    }
}

bool sameToSevenDigits(float a, float b) {
    return std::fabs(a - b) <= std::fabs(a) * 1e-6F + 1e-44F;
}

void checkSnapshot(const PriceSnapshot& snapshot) {
    require(isTradingPost(snapshot.tp), "a snapshot names a post");
    require(parseIsoUtc(isoUtcText(snapshot.time)) == snapshot.time,
            "a snapshot's time can be written");
    require(snapshot.source.size() <= kHistorySourceLimit, "a source is within the limit");
    for (char ch : snapshot.source)
        require(static_cast<unsigned char>(ch) >= 0x20 && ch != 0x7F, "a source is one line");
    for (int c = 1; c <= kCommodityCount; ++c)
        require(std::isfinite(snapshot.prices[static_cast<std::size_t>(c)]), "prices are finite");

    const PriceHistory again =
        readPriceHistoryText(priceHistoryHeader() + priceHistoryRow(snapshot));
    if (again.snapshots.size() != 1)
        std::fprintf(stderr, "%s\n", again.firstSkip.c_str());
    require(again.snapshots.size() == 1 && again.skippedRows == 0 && !again.problem,
            "a snapshot written again reads back");
    const PriceSnapshot& read = again.snapshots.front();
    require(read.time == snapshot.time && read.tp == snapshot.tp && read.source == snapshot.source,
            "a snapshot reads back with its time, post and source");
    for (int c = 1; c <= kCommodityCount; ++c) {
        const auto at = static_cast<std::size_t>(c);
        require(sameToSevenDigits(read.prices[at], snapshot.prices[at]),
                "a snapshot reads back with its prices");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    const PriceHistory history = readPriceHistoryText(text);
    if (history.problem) {
        require(!history.problem->empty(), "a refusal says why");
        require(history.snapshots.empty() && history.skippedRows == 0,
                "a refused file yields nothing");
        return 0;
    }
    require(history.skippedRows >= 0, "skipped rows are counted");
    require((history.skippedRows > 0) == !history.firstSkip.empty(), "skipped rows are explained");
    require(!history.tornLastRow || history.skippedRows > 0, "a torn row counts as skipped");
    for (const PriceSnapshot& snapshot : history.snapshots)
        checkSnapshot(snapshot);
    return 0;
}
