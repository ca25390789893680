// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The price history: every snapshot of a post's 88 prices that a valuing run (and later an
// import or a friend) produced, kept in a CSV file beside the store so that a spreadsheet opens
// it as it is.
//
//   time_utc,post,town,source,Adamantite,Ale,...,Wands            header, commodity order
//   2026-12-07T02:30:15Z,13,Trellor,valued,1520,33,...,1.5E+07    one row per snapshot
//
// Rows end in CR LF. A field that holds a comma, a double quote or a blank at either end is
// quoted, with its quotes doubled. Sources are one line of free text ("valued",
// "imported: FILE", "shared: NAME"); the writer turns control characters into blanks, so no
// field ever spans lines and the reader can resume at the next line after any damage.
//
// The file only grows: each snapshot is appended as one whole row and flushed to disk; nothing
// rewrites or truncates what is there. The reader is tolerant and honest: a malformed row or a
// torn last row is skipped and counted, and a file whose header is not ours is reported and not
// read at all. It also reads other players' files, so it bounds what it keeps and never trusts
// a field's length.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"

namespace ledgerly {

using UtcSeconds = std::chrono::sys_seconds;

// The longest source kept; the writer cuts longer ones, the reader skips rows with longer ones.
inline constexpr std::size_t kHistorySourceLimit = 200;
// Beyond these a file is refused as not a history of this world: 64 MiB hold about 80,000
// snapshots, some nine years of hourly valuing.
inline constexpr std::uintmax_t kHistorySizeLimit = 64U * 1024U * 1024U;
inline constexpr std::size_t kHistorySnapshotLimit = 100'000;

inline constexpr std::string_view kValuedSource = "valued";

struct PriceSnapshot {
    UtcSeconds time{};
    int tp = 0;          // 1..19
    std::string source;  // where the prices came from
    // prices[c] for commodities c = 1..88; prices[0] is unused.
    std::array<float, kCommodityCount + 1> prices{};
};

struct PriceHistory {
    std::vector<PriceSnapshot> snapshots;  // in file order, which need not be time order
    int skippedRows = 0;                   // malformed rows, a torn last row included
    bool tornLastRow = false;              // the file ends in the middle of a row
    std::string firstSkip;                 // why the first skipped row was skipped
    // Set when the file is not a Ledgerly history or cannot be read; nothing is read then.
    std::optional<std::string> problem;
};

// "price-history.csv" in the store's folder.
std::filesystem::path priceHistoryPath(const std::filesystem::path& storePath);

// "2026-12-07T02:30:15Z"; nothing for text that is not exactly that form or not a real time.
std::string isoUtcText(UtcSeconds time);
std::optional<UtcSeconds> parseIsoUtc(std::string_view text);

// A source as it is written: control characters become blanks, and it is cut to the limit at
// a character boundary.
std::string historySource(std::string_view text);

// The header row and one snapshot's row, each with its CR LF.
std::string priceHistoryHeader();
std::string priceHistoryRow(const PriceSnapshot& snapshot);

// Reads a whole history from its bytes.
PriceHistory readPriceHistoryText(std::string_view text);

// Reads the file; a missing file is an empty history.
PriceHistory readPriceHistoryFile(const std::filesystem::path& path);

// Appends one snapshot as a whole row (after the header, when the file is new or empty) and
// flushes it to disk. Refuses a snapshot with a post out of range or a price that is not a
// finite number, and a file that is not a Ledgerly history. A write that fails part-way is cut
// back, so the rows already there stay whole. Returns the reason on failure.
std::optional<std::string> appendPriceSnapshot(const std::filesystem::path& path,
                                               const PriceSnapshot& snapshot);

}  // namespace ledgerly
