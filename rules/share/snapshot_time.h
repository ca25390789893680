// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// When prices were taken, in the two forms the program meets: seconds of UTC (how snapshots travel
// between players, whose clocks may stand in different time zones) and the hour clock (the
// valuation stamps of the store, read from the local clock). Converting between them needs the
// time zone, which is a seam so that a player from another zone can be played in a test.
#pragma once

#include "core/hour_clock.h"
#include "core/price_history.h"

namespace ledgerly {

class TimeZone {
public:
    virtual ~TimeZone() = default;
    virtual LocalDateTime local(UtcSeconds utc) const = 0;
    // The moment a local date and time names; in the hour that the clocks go back, either one.
    virtual UtcSeconds utc(const LocalDateTime& local) const = 0;
};

// The system's own time zone.
class SystemTimeZone final : public TimeZone {
public:
    LocalDateTime local(UtcSeconds utc) const override;
    UtcSeconds utc(const LocalDateTime& local) const override;
};

UtcSeconds utcOfStamp(float stamp, const TimeZone& zone);
float stampOfUtc(UtcSeconds utc, const TimeZone& zone);
UtcSeconds utcNow(const Clock& clock, const TimeZone& zone);

// Hours from `from` to `to`, cut (not rounded) to hundredths like the age of values.
double hoursBetween(UtcSeconds from, UtcSeconds to);

}  // namespace ledgerly
