// Helpers for tests of the report computations: prices to set, leftovers to plant in the shared
// buffers and rows read the way a person reads them on screen.
#pragma once

#include <QList>
#include <QString>
#include <vector>

#include "core/catalogue.h"
#include "core/trade_data.h"
#include "reports/report_views.h"

namespace ledgerly::testing {

struct Price {
    int tp;
    int commodity;
    float value;
};
using Prices = std::vector<Price>;

inline void setPrices(TradeData& data, const Prices& prices) {
    for (const Price& p : prices)
        data.setValue(p.tp, p.commodity, p.value);
}

inline QString keptOr(const std::optional<std::string>& text) {
    return text ? QString::fromStdString(*text) : QStringLiteral("<kept>");
}

// "name|value|town" plus "|destination" where the report has one; a control the report leaves
// as it is reads "<kept>".
inline QString rowText(const RankedRowView& row) {
    QString text = keptOr(row.name) + u'|' + QString::fromStdString(row.value) + u'|' +
                   keptOr(row.tradingPost);
    if (row.destination)
        text += u'|' + QString::fromStdString(*row.destination);
    return text;
}

inline QList<int> bufferRow(const TradeData& data, int r) {
    const RankingRow& row = data.buffers.ranking[r];
    return {row.value, row.sourceTp, row.slot, row.destinationTp};
}

// As if an earlier report had left `row` in every place of the shared list.
inline void leaveStaleRanking(TradeData& data, RankingRow row = {999, 5, 3, 7}) {
    for (int r = 1; r <= kRankingRows; ++r)
        data.buffers.ranking[r] = row;
}

// Sets every cell of the CPM table to `v`, or counts the cells that still hold it.
inline void fillCpmTable(TradeData& data, std::int32_t v) {
    for (int a = 1; a <= kTradingPostCount; ++a)
        for (int b = 1; b <= kTradingPostCount; ++b)
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                data.buffers.cpm(a, b, k) = v;
}
inline int cpmCellsHolding(const TradeData& data, std::int32_t v) {
    int count = 0;
    for (int a = 1; a <= kTradingPostCount; ++a)
        for (int b = 1; b <= kTradingPostCount; ++b)
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                count += data.buffers.cpm(a, b, k) == v;
    return count;
}

}  // namespace ledgerly::testing
