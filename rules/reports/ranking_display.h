// How every top-40 report turns the shared ranking list into what its rows show. Only rows that
// a candidate reached in this run name anything: the others may hold posts an earlier report
// left behind, and show nothing of them.
#pragma once

#include <string>

#include "core/trade_data.h"
#include "rules/reports/payoff_measures.h"
#include "rules/reports/report_views.h"

namespace ledgerly {

// The town name of post tp, or nothing for a number that is no post.
std::string townOf(int tp);

// Every row's value box: the figure as whole-number text on the band of `kind`.
void showRankedValues(const TradeData& data, BoxKind kind, RankingReportView& view);

// The commodity in the row's goods slot (before the convert step), for a reached row.
std::string reachedRowName(const RankingRow& row, int r, int reached);

// The town of the row's source (which sells its commodity) or destination, for a reached row.
std::string reachedSourceTown(const RankingRow& row, int r, int reached);
std::string reachedDestinationTown(const RankingRow& row, int r, int reached);

}  // namespace ledgerly
