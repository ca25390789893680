// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Taking prices from another player: what their file offers for each post, how it compares
// with what you hold (the plan the Import Prices window shows), and taking the posts the user
// ticked without ever losing what was there.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hour_clock.h"
#include "core/trade_data.h"
#include "rules/share/snapshot_time.h"

namespace ledgerly {

// The two kinds of file an import reads. Their times differ: a trade values file carries the
// other player's hour clock (their local time), a snapshot file carries UTC.
enum class OfferKind { TradeValuesFile, Snapshots };

struct OfferedPost {
    std::array<float, kCommodityCount + 1> prices{};  // by commodity 1..88
    float stamp = kNeverValuedStamp;  // trade values file: as stamped on the other player's clock
    UtcSeconds taken{};               // snapshots: when they were taken
    // What the history calls where the prices came from: "imported: FILE NAME", "shared: NAME".
    std::string source;
};

struct PriceOffer {
    OfferKind kind = OfferKind::TradeValuesFile;
    std::array<std::optional<OfferedPost>, kTradingPostCount + 1> posts{};  // by tp; none: nothing
};

// The source a history row names for prices imported from the file `fileName`.
std::string importedSource(std::string_view fileName);

// A trade values file from any player, read as strictly as the store itself. On failure returns
// the reason with the line and no offer. Posts whose stamp says never valued offer nothing.
struct OfferRead {
    std::optional<PriceOffer> offer;
    std::string problem;
};
OfferRead offerFromTradeValues(std::string_view text, std::string_view fileName);

// A file chosen for import, read as a price history when its first line is a history's header
// and as a trade values file otherwise. Both readers are strict here: a history with any row
// it cannot read is refused with the first such row, as a trade values file is.
OfferRead offerFromFile(std::string_view text, std::string_view fileName);

// The freshest snapshot of each post among `snapshots`, each with the source it carries.
PriceOffer offerFromSnapshots(const std::vector<PriceSnapshot>& snapshots);

// When your own prices of each post were taken, as far as you know: the later of your latest
// history row for the post and your stamp read as local time; none for a post never valued.
using YourTimes = std::array<std::optional<UtcSeconds>, kTradingPostCount + 1>;
YourTimes yourTimes(const TradeData& data, const std::vector<PriceSnapshot>& yourHistory,
                    const TimeZone& zone);

struct ImportRow {
    int tp = 0;
    std::optional<double> yourAge;   // hours; none: never valued
    std::optional<double> theirAge;  // hours; none: never valued (nothing to take)
    bool theirsAhead = false;        // taken after your clock's now
    int differing = 0;               // how many of the 88 prices would change
    bool fresher = false;            // theirs is fresher and not never valued: ticked at first
};

// The 19 rows, in post order. For a trade values file both ages come from the stamps, so the
// other player's clock decides theirs; for snapshots each side's UTC time does.
std::vector<ImportRow> planImport(const PriceOffer& offer, const TradeData& data,
                                  const YourTimes& yours, const Clock& clock, const TimeZone& zone);

// Where the store keeps its copy from before the last import: beside the store itself.
std::filesystem::path importBackupPath(const std::filesystem::path& storePath);

struct ImportResult {
    // Set when nothing was taken: the store, the backup's absence or presence aside, and the
    // prices in memory are as they were.
    std::optional<std::string> failure;
    // One row per post taken, for the history and the share file.
    std::vector<PriceSnapshot> taken;
};

// Takes the offered prices of `posts` (raised below 1 to 1) with their time; a time after your
// clock's now is taken as now, so that no stamp lies in your future. First the store file is
// copied to the backup (replacing the previous one), then the store is saved whole; the prices
// in memory change only once it is.
ImportResult takeOffer(const PriceOffer& offer, const std::vector<int>& posts, TradeData& data,
                       const std::filesystem::path& storePath, const Clock& clock,
                       const TimeZone& zone);

}  // namespace ledgerly
