// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/share/price_import.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "core/price_history.h"
#include "core/store_file.h"

namespace ledgerly {
namespace {

constexpr float kFirstRealStamp = 11.0F;  // below it a stamp means never valued

bool valued(float stamp) {
    return stamp >= kFirstRealStamp;  // false for NaN too
}

float raised(float price) {
    return price >= kNeverValued ? price : kNeverValued;  // NaN becomes 1 as well
}

// The offered post as it would be stored: prices raised, and the time on both scales, never
// after now.
struct Taking {
    std::array<float, kCommodityCount + 1> prices{};
    float stamp = kNeverValuedStamp;
    UtcSeconds taken{};
};

Taking takingOf(const PriceOffer& offer, const OfferedPost& post, const Clock& clock,
                const TimeZone& zone) {
    Taking taking;
    for (int c = 1; c <= kCommodityCount; ++c)
        taking.prices[static_cast<std::size_t>(c)] =
            raised(post.prices[static_cast<std::size_t>(c)]);
    const float reading = readHourClock(clock);
    const UtcSeconds now = utcNow(clock, zone);
    if (offer.kind == OfferKind::TradeValuesFile) {
        if (post.stamp > reading) {
            taking.stamp = reading;
            taking.taken = now;
        } else {
            taking.stamp = post.stamp;
            taking.taken = utcOfStamp(post.stamp, zone);
        }
    } else {
        taking.taken = std::min(post.taken, now);
        taking.stamp = stampOfUtc(taking.taken, zone);
    }
    return taking;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string& bytes) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        return "cannot read " + path.string() + ": " + ec.message();
    if (size > kStoreSizeLimit)
        return path.string() + " is far too large to be a trade values file";
    std::ifstream in(path, std::ios::binary);
    bytes.resize(static_cast<std::size_t>(size));
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size)))
        return "cannot read " + path.string();
    return std::nullopt;
}

}  // namespace

OfferRead offerFromTradeValues(std::string_view text, std::string_view fileName) {
    TradeData theirs;
    if (auto problem = readStoreText(text, theirs))
        return {std::nullopt, std::move(*problem)};
    PriceOffer offer;
    offer.kind = OfferKind::TradeValuesFile;
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        if (!valued(theirs.stamp(tp)))
            continue;
        OfferedPost post;
        for (int c = 1; c <= kCommodityCount; ++c)
            post.prices[static_cast<std::size_t>(c)] = theirs.value(tp, c);
        post.stamp = theirs.stamp(tp);
        post.source = importedSource(fileName);
        offer.posts[static_cast<std::size_t>(tp)] = post;
    }
    return {std::move(offer), {}};
}

OfferRead offerFromFile(std::string_view text, std::string_view fileName) {
    const std::string header = priceHistoryHeader();
    const std::string_view firstField = std::string_view(header).substr(0, header.find(','));
    std::string_view start = text;
    if (start.starts_with("\xEF\xBB\xBF"))
        start.remove_prefix(3);
    if (!start.starts_with(firstField))
        return offerFromTradeValues(text, fileName);

    PriceHistory history = readPriceHistoryText(text);
    if (history.problem)
        return {std::nullopt, *history.problem};
    if (history.skippedRows > 0)
        return {std::nullopt, history.firstSkip};
    if (history.snapshots.empty())
        return {std::nullopt, "the file holds no prices"};
    for (PriceSnapshot& snapshot : history.snapshots)
        snapshot.source = importedSource(fileName);
    return {offerFromSnapshots(history.snapshots), {}};
}

std::string importedSource(std::string_view fileName) {
    return "imported: " + std::string(fileName);
}

PriceOffer offerFromSnapshots(const std::vector<PriceSnapshot>& snapshots) {
    PriceOffer offer;
    offer.kind = OfferKind::Snapshots;
    for (const PriceSnapshot& snapshot : snapshots) {
        if (!isTradingPost(snapshot.tp))
            continue;
        auto& post = offer.posts[static_cast<std::size_t>(snapshot.tp)];
        // The later of two rows wins; of two rows of the same second, the one further down the
        // file, as the one written last.
        if (!post || snapshot.time >= post->taken)
            post = OfferedPost{snapshot.prices, kNeverValuedStamp, snapshot.time, snapshot.source};
    }
    return offer;
}

YourTimes yourTimes(const TradeData& data, const std::vector<PriceSnapshot>& yourHistory,
                    const TimeZone& zone) {
    YourTimes times{};
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        if (valued(data.stamp(tp)))
            times[static_cast<std::size_t>(tp)] = utcOfStamp(data.stamp(tp), zone);
    }
    for (const PriceSnapshot& row : yourHistory) {
        auto& time = times[static_cast<std::size_t>(row.tp)];
        if (!time || row.time > *time)
            time = row.time;
    }
    return times;
}

std::vector<ImportRow> planImport(const PriceOffer& offer, const TradeData& data,
                                  const YourTimes& yours, const Clock& clock,
                                  const TimeZone& zone) {
    const float reading = readHourClock(clock);
    const UtcSeconds now = utcNow(clock, zone);
    std::vector<ImportRow> rows;
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        ImportRow row;
        row.tp = tp;
        const auto& yourTime = yours[static_cast<std::size_t>(tp)];
        const auto& theirs = offer.posts[static_cast<std::size_t>(tp)];
        if (offer.kind == OfferKind::TradeValuesFile) {
            if (valued(data.stamp(tp)))
                row.yourAge = ageOfValues(reading, data.stamp(tp));
            if (theirs) {
                row.theirAge = ageOfValues(reading, theirs->stamp);
                row.theirsAhead = theirs->stamp > reading;
                row.fresher = theirs->stamp > data.stamp(tp);
            }
        } else {
            if (yourTime)
                row.yourAge = hoursBetween(*yourTime, now);
            if (theirs) {
                row.theirAge = hoursBetween(theirs->taken, now);
                row.theirsAhead = theirs->taken > now;
                row.fresher = !yourTime || theirs->taken > *yourTime;
            }
        }
        if (theirs) {
            for (int c = 1; c <= kCommodityCount; ++c) {
                if (raised(theirs->prices[static_cast<std::size_t>(c)]) != data.value(tp, c))
                    ++row.differing;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

std::filesystem::path importBackupPath(const std::filesystem::path& storePath) {
    return storePath.parent_path() / "tradevalues.before-import.txt";
}

ImportResult takeOffer(const PriceOffer& offer, const std::vector<int>& posts, TradeData& data,
                       const std::filesystem::path& storePath, const Clock& clock,
                       const TimeZone& zone) {
    ImportResult result;
    TradeData after = data;
    for (int tp : posts) {
        if (!isTradingPost(tp) || !offer.posts[static_cast<std::size_t>(tp)])
            continue;
        const OfferedPost& post = *offer.posts[static_cast<std::size_t>(tp)];
        const Taking taking = takingOf(offer, post, clock, zone);
        for (int c = 1; c <= kCommodityCount; ++c)
            after.setValue(tp, c, taking.prices[static_cast<std::size_t>(c)]);
        after.setStamp(tp, taking.stamp);
        result.taken.push_back({taking.taken, tp, post.source, taking.prices});
    }
    if (result.taken.empty())
        return result;

    // The copy is of the file as it is, not of memory: a store that could not be read at
    // start-up is still the user's, and the save below replaces it.
    std::string before;
    std::error_code ec;
    if (std::filesystem::exists(storePath, ec)) {
        if (auto problem = readWholeFile(storePath, before)) {
            result.failure = "the store could not be copied before the import: " + *problem;
            result.taken.clear();
            return result;
        }
    } else {
        before = storeText(data);
    }
    if (auto problem = writeFileAtomically(importBackupPath(storePath), before)) {
        result.failure = "the store could not be copied before the import: " + *problem;
        result.taken.clear();
        return result;
    }
    if (auto problem = saveStore(storePath, after)) {
        result.failure = "the store could not be saved: " + *problem;
        result.taken.clear();
        return result;
    }
    for (const PriceSnapshot& row : result.taken) {
        for (int c = 1; c <= kCommodityCount; ++c)
            data.setValue(row.tp, c, row.prices[static_cast<std::size_t>(c)]);
        data.setStamp(row.tp, after.stamp(row.tp));
    }
    return result;
}

}  // namespace ledgerly
