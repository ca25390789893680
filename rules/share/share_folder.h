// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Sharing prices through a folder that a sync program keeps in step between players. Each
// player writes only their own file, FOLDER/NAME.ledgerly.csv, in the price history's format,
// and reads everyone else's. Files come and go, grow and are replaced at any moment, so every
// read takes what is whole and waits for the rest.
//
// Whose file is whose: a file is another player's when its name is a player name followed by
// ".ledgerly.csv". A player name has no dot and never contains "conflict", so the copies that
// sync programs leave beside a file both sides changed never count: Syncthing's
// "alice.ledgerly.sync-conflict-20261207-023015-ABCDEFG.csv" and the "alice.ledgerly (conflicted
// copy ...).csv" of others end differently, and a "alice (conflicted copy).ledgerly.csv" names
// no player. Hidden and partial files (".syncthing.alice.ledgerly.csv.tmp", "~alice...") are
// left alone the same way.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/price_history.h"
#include "core/trade_data.h"
#include "rules/share/snapshot_time.h"

namespace ledgerly {

inline constexpr std::string_view kShareFileSuffix = ".ledgerly.csv";
inline constexpr std::size_t kPlayerNameLimit = 40;

// Why `name` cannot name a player's file, or nothing when it can.
std::optional<std::string> playerNameProblem(std::string_view name);

// A login name made fit to be a player name (the suggestion when sharing is first set up).
std::string playerNameFrom(std::string_view loginName);

// The player whose share file `fileName` is, or nothing when it is no player's.
std::optional<std::string> sharingPlayer(std::string_view fileName);

std::filesystem::path shareFilePath(const std::filesystem::path& folder, std::string_view player);

// The source a history row names for prices taken from another player's file.
std::string sharedSource(std::string_view player);

// The latest snapshot you hold of each valued post: the prices in memory, at the time your
// history or stamp gives them (see yourTimes), with the source of your history row of that time.
std::vector<PriceSnapshot> heldSnapshots(const TradeData& data,
                                         const std::vector<PriceSnapshot>& yourHistory,
                                         const TimeZone& zone);

class SharedFolder {
public:
    SharedFolder(std::filesystem::path folder, std::string player);

    const std::filesystem::path& folder() const { return folder_; }
    const std::string& player() const { return player_; }

    struct Reading {
        bool folderPresent = false;
        // The folder is back after it was missing: what could not be shared meanwhile can be now.
        bool cameBack = false;
        // The freshest snapshot of each post among the other players' files, its source naming
        // the player ("shared: NAME").
        std::vector<PriceSnapshot> freshest;
        // The other players' files, for a watcher to follow.
        std::vector<std::filesystem::path> files;
    };

    // Reads the other players' files, again only those that changed since the last read.
    Reading read();

    // Appends to your own file those of `snapshots` that are newer than what it holds of their
    // post, oldest first; creates it when it is missing. Writes nothing while the folder is
    // missing or when your file is not a price history.
    void share(std::vector<PriceSnapshot> snapshots);

    // The problems that stand now, each once however often it was met, and gone once it is
    // over: for one line in the main window rather than a message at every change.
    std::vector<std::string> problems() const;

private:
    struct Seen {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type written{};
        std::vector<PriceSnapshot> freshest;  // one per post at most
    };

    bool folderPresent();
    void report(const std::string& key, std::string text);
    void forget(const std::string& key);

    std::filesystem::path folder_;
    std::string player_;
    std::map<std::string, Seen> seen_;  // by file name
    bool missing_ = false;
    std::map<std::string, std::string> standing_;  // problem texts by what they are about
};

}  // namespace ledgerly
