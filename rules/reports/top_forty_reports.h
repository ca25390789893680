// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The six top-40 reports: the best hauls into one chosen trading post, out of one, and between
// any two posts, ranked by payoff or by CPM (gold per move). Each is one ranking run
// (rules/reports/ranking_run.h) over its candidates in its scan order, and returns what its
// window shows. A report asked about something that is not a trading post computes and writes
// nothing and returns no view.
#pragma once

#include <optional>
#include <string_view>

#include "core/hour_clock.h"
#include "core/trade_data.h"
#include "rules/reports/ranking_run.h"

namespace ledgerly {

// By payoff. Rows: commodity, payoff, a town; rows no haul reached show 1 in red and no name
// or town.

// Into `destination`, with the age of its values (the hour-clock reading goes into the shared
// scratch); the town is the one that sells the commodity.
std::optional<RankingReportView> topPayoffsTo(TradeData& data, const Clock& clock, int destination,
                                              std::string_view decimalSeparator = ".");

// Out of `source`; the town is the one that pays. Shows no age.
std::optional<RankingReportView> topPayoffsFrom(TradeData& data, int source);

// Between any two posts, with the selling and the paying town. Unlike the other rankings it
// starts by clearing the destination column of the shared list.
RankingReportView topPayoffsToAny(TradeData& data);

// By CPM. Each fills the whole shared CPM table first, cpm(d, s, k) := what d pays for slot k of
// s / moves(d, s) (the moves read from the destination, which matters only for the 11/19 pair),
// and ranks from it.

// Into `destination`, with the age of its values; the town is the one that sells.
std::optional<RankingReportView> topCpmTo(TradeData& data, const Clock& clock, int destination,
                                          std::string_view decimalSeparator = ".");

// Out of `source`, ranked over destinations. There is no convert step: the slot column keeps
// goods slots, and every name label, reached or not, names the source's good in that slot (so a
// row no haul reached names the source's first good). The town is the destination's.
std::optional<RankingReportView> topCpmFrom(TradeData& data, int source);

// Between any two posts. The reset clears the slot column to 0 instead of 1, so a row no haul
// reached is never converted and keeps its name label's caption (its name is left unset).
RankingReportView topCpmToAny(TradeData& data);

// cpm(d, s, k) for all 19 x 19 x 5 cells, destination first.
void fillCpmTableByDestination(TradeData& data);

}  // namespace ledgerly
