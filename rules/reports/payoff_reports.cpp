#include "rules/reports/payoff_reports.h"

#include "core/catalogue.h"
#include "core/number_text.h"
#include "rules/reports/ranking_display.h"

namespace ledgerly {

const std::array<AllPayoffsFrame, kAllPayoffsFrames + 1> kAllPayoffsFrameTable{{
    {"", 0},
    {"Caldmoor Values", 1},
    {"Elven Marketplace", 2},
    {"Ranger's Cabin", 3},
    {"Riveron", 4},
    {"Tanivsport(Mystara)", 5},
    {"Vanlarra", 6},
    {"Lizard's(Lyrynoth)", 7},
    {"Temple Shop(Elwyn)", 8},
    {"Dark Army(New Genesia)", 9},
    {"Hidden Valley(Ruellia)", 10},
    {"New Ashton", 12},
    {"Trellor", 13},
    {"Karlisna", 14},
    {"Gdangus", 15},
    {"Sea's End", 16},
    {"Derah", 17},
    {"Hidden City(Old Wizard's)", 18},
    {"Minotaur(NaeraMae)", 19},
}};

namespace {

// Temple Shop's two empty slots: no commodity, so no name or payoff is shown for them and their
// boxes keep the band every box starts a run with.
constexpr bool isEmptyTempleShopBox(int n) {
    return n == 39 || n == 40;
}

// Offers the payoff of one haul to the scan.
void offerPayoff(RankingScan& scan, const TradeData& data, int source, int slot, int destination) {
    scan.offer(payoff(data, source, slot, destination), source, slot, destination);
}

// Value boxes and name labels, read before the slots are turned into commodities.
void showValuesAndNames(const TradeData& data, int reached, RankingReportView& view) {
    showRankedValues(data, BoxKind::RankedPayoff, view);
    for (int r = 1; r <= kRankingRows; ++r)
        view.rows[r].name = reachedRowName(data.buffers.ranking[r], r, reached);
}

// After the convert step: the town that sells each reached row's commodity, which is the row's
// source since every commodity is sold at exactly one post.
void showSellingTowns(const TradeData& data, int reached, RankingReportView& view) {
    for (int r = 1; r <= kRankingRows; ++r)
        view.rows[r].tradingPost = reachedSourceTown(data.buffers.ranking[r], r, reached);
}

}  // namespace

std::optional<AllPayoffsView> allPayoffsTo(TradeData& data, const Clock& clock, int destination,
                                           std::string_view decimalSeparator) {
    if (!isTradingPost(destination))
        return std::nullopt;
    const int d = destination;
    AllPayoffsView view;
    view.age = ageOfValuesFor(data, clock, d, decimalSeparator);

    for (int f = 1; f <= kAllPayoffsFrames; ++f) {
        const int s = kAllPayoffsFrameTable[static_cast<std::size_t>(f)].sourceTp;
        for (int k = 1; k <= kGoodsSlotCount; ++k) {
            const float value = payoff(data, s, k, d);
            const std::int32_t cpm = cpmOf(value, moves(s, d));
            data.buffers.cpm(s, d, k) = cpm;

            const int n = allPayoffsBox(f, k);
            AllPayoffsRowView& row = view.rows[static_cast<std::size_t>(n)];
            row.cpm = wholeText(cpm);
            if (isEmptyTempleShopBox(n))
                continue;
            row.cpmColour = colourBand(cpm, BoxKind::Cpm);
            row.value = singleText(value, decimalSeparator);
            row.valueColour = colourBand(shownSingle(value), BoxKind::AllPayoffsValue);
            row.name = std::string(commodityName(goodsSlot(s, k)));
        }
    }
    return view;
}

std::optional<RankingReportView> topPayoffsTo(TradeData& data, const Clock& clock, int destination,
                                              std::string_view decimalSeparator) {
    if (!isTradingPost(destination))
        return std::nullopt;
    const int d = destination;
    RankingReportView view;
    view.age = ageOfValuesFor(data, clock, d, decimalSeparator);

    resetRanking(data);
    RankingScan scan(data);
    for (int s = 1; s <= kTradingPostCount; ++s) {
        for (int k = 1; k <= kGoodsSlotCount; ++k)
            offerPayoff(scan, data, s, k, d);
    }
    showValuesAndNames(data, scan.reached(), view);
    convertSlotsToCommodities(data);
    showSellingTowns(data, scan.reached(), view);
    return view;
}

std::optional<RankingReportView> topPayoffsFrom(TradeData& data, int source) {
    if (!isTradingPost(source))
        return std::nullopt;
    const int s = source;
    RankingReportView view;

    resetRanking(data);
    RankingScan scan(data);
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int k = 1; k <= kGoodsSlotCount; ++k)
            offerPayoff(scan, data, s, k, d);
    }
    showValuesAndNames(data, scan.reached(), view);
    convertSlotsToCommodities(data);
    for (int r = 1; r <= kRankingRows; ++r) {
        view.rows[r].tradingPost =
            reachedDestinationTown(data.buffers.ranking[r], r, scan.reached());
    }
    return view;
}

RankingReportView topPayoffsToAny(TradeData& data) {
    RankingReportView view;

    resetRanking(data);
    for (int r = 1; r <= kRankingRows; ++r)
        data.buffers.ranking[r].destinationTp = 0;
    RankingScan scan(data);
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int s = 1; s <= kTradingPostCount; ++s) {
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                offerPayoff(scan, data, s, k, d);
        }
    }
    showValuesAndNames(data, scan.reached(), view);
    convertSlotsToCommodities(data);
    showSellingTowns(data, scan.reached(), view);
    for (int r = 1; r <= kRankingRows; ++r) {
        view.rows[r].destination =
            reachedDestinationTown(data.buffers.ranking[r], r, scan.reached());
    }
    return view;
}

}  // namespace ledgerly
