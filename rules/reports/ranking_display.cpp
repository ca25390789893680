#include "rules/reports/ranking_display.h"

#include "core/catalogue.h"
#include "core/number_text.h"

namespace ledgerly {

std::string townOf(int tp) {
    return isTradingPost(tp) ? std::string(tradingPost(tp).townName) : std::string();
}

void showRankedValues(const TradeData& data, BoxKind kind, RankingReportView& view) {
    for (int r = 1; r <= kRankingRows; ++r) {
        const std::int32_t value = data.buffers.ranking[r].value;
        view.rows[r].value = wholeText(value);
        view.rows[r].colour = colourBand(value, kind);
    }
}

std::string reachedRowName(const RankingRow& row, int r, int reached) {
    const bool named = r <= reached && isTradingPost(row.sourceTp) && isGoodsSlot(row.slot);
    return named ? std::string(commodityName(goodsSlot(row.sourceTp, row.slot))) : std::string();
}

std::string reachedSourceTown(const RankingRow& row, int r, int reached) {
    return r <= reached ? townOf(row.sourceTp) : std::string();
}

std::string reachedDestinationTown(const RankingRow& row, int r, int reached) {
    return r <= reached ? townOf(row.destinationTp) : std::string();
}

}  // namespace ledgerly
