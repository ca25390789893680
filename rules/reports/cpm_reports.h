// The three top-40 lists ranked by CPM (gold per move): into one chosen trading post, over every
// pair of posts, and out of one chosen post. Each run fills the whole shared CPM table with the
// destination as its first index, ranks from it into the shared ranking list and returns what
// the window shows. What the list held before a run matters for rows no haul reached; those
// rows never show a name or town derived from stale columns, except where noted below.
#pragma once

#include <optional>
#include <string_view>

#include "core/hour_clock.h"
#include "core/trade_data.h"
#include "rules/reports/report_views.h"

namespace ledgerly {

// cpm(d, s, k) := value d pays for slot k of s / moves(d, s), for all 19 x 19 x 5 cells. The
// moves table is read from the destination, which matters only for the 11/19 pair.
void fillCpmTableByDestination(TradeData& data);

// Top 40 CPM into `destination`, best first, with the age of its values (the hour-clock reading
// goes into the shared scratch). Rows: commodity, CPM, the town that sells it. Rows no haul
// reached show 1 in red with an empty name and town. Nothing is computed or written when
// `destination` is not a trading post.
std::optional<RankingReportView> topCpmToTradingPost(TradeData& data, const Clock& clock,
                                                     int destination,
                                                     std::string_view decimalSeparator = ".");

// Top 40 CPM over every (destination, source, slot). The reset clears the slot column to 0
// instead of 1, so a row no haul reached is never converted and keeps its name label's caption
// (its name is left unset); its town and destination boxes are empty.
RankingReportView topCpmToAnyTradingPost(TradeData& data);

// Top 40 CPM out of `source`, ranked over destinations. There is no convert step: the slot
// column keeps goods slots, and every name label, reached or not, names the source's goods in
// that slot (so a row no haul reached names the source's first good). The trading-post box
// shows the destination; rows no haul reached show none rather than an earlier run's town.
// Nothing is computed or written when `source` is not a trading post.
std::optional<RankingReportView> topCpmFromTradingPost(TradeData& data, int source);

}  // namespace ledgerly
