#include "rules/reports/cpm_reports.h"

#include <string>

#include "core/catalogue.h"
#include "core/number_text.h"
#include "rules/reports/payoff_measures.h"
#include "rules/reports/ranking_display.h"

namespace ledgerly {
namespace {

std::string nameInSlot(int tp, int slot) {
    return std::string(commodityName(goodsSlot(tp, slot)));
}

// Offers the CPM of one haul, from the filled table, to the scan.
void offerCpm(RankingScan& scan, const TradeData& data, int source, int slot, int destination) {
    scan.offer(data.buffers.cpm(destination, source, slot), source, slot, destination);
}

// Like the common reset but with slot 0, which no convert or name lookup treats as a goods
// slot: rows nothing reaches stay recognisably empty.
void resetRankingWithoutSlot(TradeData& data) {
    for (int r = 1; r <= kRankingRows; ++r) {
        data.buffers.ranking[r].value = 1;
        data.buffers.ranking[r].slot = 0;
    }
}

}  // namespace

void fillCpmTableByDestination(TradeData& data) {
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int s = 1; s <= kTradingPostCount; ++s) {
            for (int k = 1; k <= kGoodsSlotCount; ++k) {
                data.buffers.cpm(d, s, k) = cpmOf(payoff(data, s, k, d), moves(d, s));
            }
        }
    }
}

std::optional<RankingReportView> topCpmToTradingPost(TradeData& data, const Clock& clock,
                                                     int destination,
                                                     std::string_view decimalSeparator) {
    if (!isTradingPost(destination))
        return std::nullopt;
    RankingReportView view;
    view.age = ageOfValuesFor(data, clock, destination, decimalSeparator);

    resetRanking(data);
    fillCpmTableByDestination(data);
    RankingScan scan(data);
    for (int s = 1; s <= kTradingPostCount; ++s) {
        for (int k = 1; k <= kGoodsSlotCount; ++k)
            offerCpm(scan, data, s, k, destination);
    }
    const int reached = scan.reached();

    showRankedValues(data, BoxKind::Cpm, view);
    auto& rows = data.buffers.ranking;
    for (int r = 1; r <= kRankingRows; ++r)
        view.rows[r].name = reachedRowName(rows[r], r, reached);
    convertSlotsToCommodities(data);
    // Every commodity is sold at exactly one post, so the seller of a row's commodity is its
    // source; going by the source also names the right town for an empty slot.
    for (int r = 1; r <= kRankingRows; ++r)
        view.rows[r].tradingPost = reachedSourceTown(rows[r], r, reached);
    return view;
}

RankingReportView topCpmToAnyTradingPost(TradeData& data) {
    RankingReportView view;
    resetRankingWithoutSlot(data);
    fillCpmTableByDestination(data);
    RankingScan scan(data);
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int s = 1; s <= kTradingPostCount; ++s) {
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                offerCpm(scan, data, s, k, d);
        }
    }
    const int reached = scan.reached();

    showRankedValues(data, BoxKind::Cpm, view);
    auto& rows = data.buffers.ranking;
    for (int r = 1; r <= reached; ++r)
        view.rows[r].name = reachedRowName(rows[r], r, reached);
    convertSlotsToCommodities(data);
    for (int r = 1; r <= kRankingRows; ++r) {
        view.rows[r].tradingPost = reachedSourceTown(rows[r], r, reached);
        view.rows[r].destination = reachedDestinationTown(rows[r], r, reached);
    }
    return view;
}

std::optional<RankingReportView> topCpmFromTradingPost(TradeData& data, int source) {
    if (!isTradingPost(source))
        return std::nullopt;
    RankingReportView view;
    resetRanking(data);
    fillCpmTableByDestination(data);
    RankingScan scan(data);
    for (int d = 1; d <= kTradingPostCount; ++d) {
        for (int k = 1; k <= kGoodsSlotCount; ++k)
            offerCpm(scan, data, source, k, d);
    }
    const int reached = scan.reached();

    showRankedValues(data, BoxKind::Cpm, view);
    const auto& rows = data.buffers.ranking;
    for (int r = 1; r <= kRankingRows; ++r) {
        // The slot column holds 1..5 on every row here (the reset writes 1), so this names the
        // chosen source's goods even on rows an earlier run left behind.
        view.rows[r].name = nameInSlot(source, rows[r].slot);
        view.rows[r].tradingPost = reachedDestinationTown(rows[r], r, reached);
    }
    return view;
}

}  // namespace ledgerly
