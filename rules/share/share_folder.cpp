// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/share/share_folder.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "rules/share/price_import.h"

namespace ledgerly {
namespace {

constexpr std::string_view kForbidden = "/\\:*?\"<>|.";

bool containsConflict(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return lower.find("conflict") != std::string::npos;
}

bool sameName(std::string_view a, std::string_view b) {
    // Case-insensitive filing systems hold one of the two only.
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

// Paths and names as UTF-8, whatever the system's code page (Windows).
std::string shown(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::filesystem::path pathOfUtf8(const std::string& text) {
    return std::u8string(text.begin(), text.end());
}

}  // namespace

std::optional<std::string> playerNameProblem(std::string_view name) {
    if (name.empty())
        return "the player name is empty";
    if (name.size() > kPlayerNameLimit)
        return "the player name is longer than " + std::to_string(kPlayerNameLimit) + " characters";
    for (unsigned char ch : name) {
        if (ch < 0x20 || ch == 0x7F || kForbidden.find(static_cast<char>(ch)) != std::string::npos)
            return "a player name cannot hold dots, control characters or any of / \\ : * ? \" < > "
                   "|";
    }
    if (name.front() == ' ' || name.back() == ' ' || name.front() == '~')
        return "a player name cannot begin or end with a blank, nor begin with ~";
    if (containsConflict(name))
        return "a player name cannot contain \"conflict\": sync programs mark their conflict "
               "copies so";
    return std::nullopt;
}

std::string playerNameFrom(std::string_view loginName) {
    std::string name;
    for (unsigned char ch : loginName.substr(0, kPlayerNameLimit)) {
        const bool fine =
            ch >= 0x20 && ch != 0x7F && kForbidden.find(static_cast<char>(ch)) == std::string::npos;
        name += fine ? static_cast<char>(ch) : '-';
    }
    return playerNameProblem(name) ? std::string("player") : name;
}

std::optional<std::string> sharingPlayer(std::string_view fileName) {
    if (!fileName.ends_with(kShareFileSuffix))
        return std::nullopt;
    const std::string_view player = fileName.substr(0, fileName.size() - kShareFileSuffix.size());
    if (playerNameProblem(player))
        return std::nullopt;
    return std::string(player);
}

std::filesystem::path shareFilePath(const std::filesystem::path& folder, std::string_view player) {
    return folder / pathOfUtf8(std::string(player) + std::string(kShareFileSuffix));
}

std::string sharedSource(std::string_view player) {
    return "shared: " + std::string(player);
}

std::vector<PriceSnapshot> heldSnapshots(const TradeData& data,
                                         const std::vector<PriceSnapshot>& yourHistory,
                                         const TimeZone& zone) {
    const YourTimes times = yourTimes(data, yourHistory, zone);
    std::vector<PriceSnapshot> held;
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        const auto& time = times[static_cast<std::size_t>(tp)];
        if (!time)
            continue;
        PriceSnapshot snapshot;
        snapshot.time = *time;
        snapshot.tp = tp;
        snapshot.source = std::string(kValuedSource);
        for (const PriceSnapshot& row : yourHistory) {
            if (row.tp == tp && row.time == *time)
                snapshot.source = row.source;
        }
        for (int c = 1; c <= kCommodityCount; ++c)
            snapshot.prices[static_cast<std::size_t>(c)] = data.value(tp, c);
        held.push_back(std::move(snapshot));
    }
    return held;
}

SharedFolder::SharedFolder(std::filesystem::path folder, std::string player)
    : folder_(std::move(folder)), player_(std::move(player)) {}

bool SharedFolder::folderPresent() {
    std::error_code ec;
    const bool present = std::filesystem::is_directory(folder_, ec);
    if (present) {
        missing_ = false;
        forget("missing");
    } else {
        missing_ = true;
        report("missing", "The shared folder " + shown(folder_) +
                              " cannot be found; sharing waits until it is there again.");
    }
    return present;
}

SharedFolder::Reading SharedFolder::read() {
    Reading reading;
    const bool wasMissing = missing_;
    reading.folderPresent = folderPresent();
    if (!reading.folderPresent)
        return reading;
    reading.cameBack = wasMissing;

    std::array<std::optional<PriceSnapshot>, kTradingPostCount + 1> freshest{};
    std::set<std::string> present;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder_, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = shown(it->path().filename());
        const auto player = sharingPlayer(name);
        if (!player || sameName(*player, player_))
            continue;
        std::error_code fileError;
        if (!it->is_regular_file(fileError))
            continue;
        present.insert(name);
        reading.files.push_back(it->path());
        const std::uintmax_t size = std::filesystem::file_size(it->path(), fileError);
        const auto written = std::filesystem::last_write_time(it->path(), fileError);
        auto known = seen_.find(name);
        if (known == seen_.end() || known->second.size != size ||
            known->second.written != written) {
            Seen seen{size, written, {}};
            const PriceHistory history = readPriceHistoryFile(it->path());
            if (history.problem) {
                report("file " + name, "The shared file " + shown(it->path()) +
                                           " is left out: " + *history.problem + ".");
            } else {
                forget("file " + name);
                const PriceOffer offer = offerFromSnapshots(history.snapshots);
                for (int tp = 1; tp <= kTradingPostCount; ++tp) {
                    if (const auto& post = offer.posts[static_cast<std::size_t>(tp)]) {
                        seen.freshest.push_back(
                            {post->taken, tp, sharedSource(*player), post->prices});
                    }
                }
            }
            known = seen_.insert_or_assign(name, std::move(seen)).first;
        }
        for (const PriceSnapshot& snapshot : known->second.freshest) {
            auto& best = freshest[static_cast<std::size_t>(snapshot.tp)];
            if (!best || snapshot.time > best->time)
                best = snapshot;
        }
    }
    // A file that went away is forgotten, so that one coming back is read afresh.
    std::erase_if(seen_, [&](const auto& entry) { return !present.contains(entry.first); });
    std::erase_if(standing_, [&](const auto& entry) {
        return entry.first.starts_with("file ") && !present.contains(entry.first.substr(5));
    });
    for (auto& snapshot : freshest) {
        if (snapshot)
            reading.freshest.push_back(std::move(*snapshot));
    }
    return reading;
}

void SharedFolder::share(std::vector<PriceSnapshot> snapshots) {
    if (snapshots.empty() || !folderPresent())
        return;
    const std::filesystem::path own = shareFilePath(folder_, player_);
    const PriceHistory held = readPriceHistoryFile(own);
    if (held.problem) {
        report("own", "Your shared file " + shown(own) +
                          " is left as it is and not written to: " + *held.problem + ".");
        return;
    }
    forget("own");
    std::array<std::optional<UtcSeconds>, kTradingPostCount + 1> latest{};
    for (const PriceSnapshot& row : held.snapshots) {
        auto& time = latest[static_cast<std::size_t>(row.tp)];
        if (!time || row.time > *time)
            time = row.time;
    }
    std::stable_sort(
        snapshots.begin(), snapshots.end(),
        [](const PriceSnapshot& a, const PriceSnapshot& b) { return a.time < b.time; });
    for (const PriceSnapshot& snapshot : snapshots) {
        auto& time = latest[static_cast<std::size_t>(snapshot.tp)];
        if (time && snapshot.time <= *time)
            continue;
        if (auto problem = appendPriceSnapshot(own, snapshot)) {
            report("append", "Prices could not be added to your shared file " + shown(own) + ": " +
                                 *problem + ".");
            return;
        }
        forget("append");
        time = snapshot.time;
    }
}

std::vector<std::string> SharedFolder::problems() const {
    std::vector<std::string> texts;
    for (const auto& [key, text] : standing_)
        texts.push_back(text);
    return texts;
}

void SharedFolder::report(const std::string& key, std::string text) {
    standing_.insert_or_assign(key, std::move(text));
}

void SharedFolder::forget(const std::string& key) {
    standing_.erase(key);
}

}  // namespace ledgerly
