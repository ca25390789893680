// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The trade values file: 19 blocks of 89 number lines (88 values in commodity order, then the
// valuation stamp), CR LF line ends. Reading is lenient about spacing and separators; writing
// is byte-exact and atomic (temporary file beside the store, renamed over it).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/trade_data.h"

namespace ledgerly {

inline constexpr int kStoreNumberCount = kTradingPostCount * (kCommodityCount + 1);  // 1691
// A real store is about 20 KB; anything far bigger is not one, and is not read into memory.
inline constexpr std::uintmax_t kStoreSizeLimit = 1024 * 1024;

// The whole file's bytes for the table as it stands in memory.
std::string storeText(const TradeData& data);

// Reads the 1691 numbers in store order into `data`. On failure returns what is wrong
// ("line 412: 'abc' is not a number") and leaves `data` untouched. Numbers past the 1691st are
// ignored.
std::optional<std::string> readStoreText(std::string_view text, TradeData& data);

// Writes `bytes` to a temporary file beside `target`, flushes it to disk and renames it over
// `target`, so that a crash or full disk never leaves a half-written file. Returns the reason on
// failure; `target` is then as it was.
std::optional<std::string> writeFileAtomically(const std::filesystem::path& target,
                                               std::string_view bytes);

// Rewrites the store from memory. Returns the reason on failure.
std::optional<std::string> saveStore(const std::filesystem::path& path, const TradeData& data);

struct StartupLoad {
    bool createdFile = false;            // the store was missing and has been written
    std::optional<std::string> problem;  // what the user must be told, if anything
};

// The start-up load: create the store with defaults when it is missing, otherwise read it; a
// store that cannot be read leaves the defaults in memory and the file untouched. Then the
// start-up pass raises low values and stamps.
StartupLoad loadStoreAtStartup(const std::filesystem::path& path, TradeData& data);

}  // namespace ledgerly
