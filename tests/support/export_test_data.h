// Trade data for export tests: prices that one post pays and how long ago it was valued.
#pragma once

#include <QList>
#include <QPair>
#include <cmath>
#include <limits>

#include "core/hour_clock.h"
#include "core/trade_data.h"
#include "support/test_platform.h"

namespace ledgerly::testing {

// Commodity -> what the post pays; every other commodity stays at 1.
using Prices = QList<QPair<int, float>>;

// For rows about a post that was never valued (stamp 10).
inline constexpr float kNeverValuedRow = std::numeric_limits<float>::quiet_NaN();

// The test clock's reading (6 December 2026, 12:00) less the never-valued stamp 10, as the line
// shows it.
inline constexpr char kNeverValuedAge[] = "209642";

// Starts from a never-valued table, then gives `tp` its prices and a stamp `hoursAgo` before
// the clock's reading (negative: in the future; kNeverValuedRow: left at 10).
inline void valuePost(TradeData& data, const Clock& clock, int tp, const Prices& prices,
                      float hoursAgo) {
    setNeverValued(data);
    for (const auto& [c, v] : prices)
        data.setValue(tp, c, v);
    if (!std::isnan(hoursAgo))
        data.setStamp(tp, readHourClock(clock) - hoursAgo);
}

}  // namespace ledgerly::testing
