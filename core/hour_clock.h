// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The hour clock: the program's single-precision count of hours, used for valuation stamps and
// the age of values. Every year has 365 days; 1 January 2003 00:00:00 reads 24.
#pragma once

#include <ctime>

namespace ledgerly {

struct LocalDateTime {
    int year = 2003;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
};

// Whole days since the clock's origin, ignoring leap days.
int hourClockDayNumber(const LocalDateTime& t);

// The hour-clock reading for a local date and time, with both roundings to single precision.
float hourClockAt(const LocalDateTime& t);

// The local date and time that an hour-clock reading stands for, to the second. The clock knows
// no leap days, so 29 February reads back as 1 March, as it was stamped.
LocalDateTime localTimeOfHourClock(float hours);

// A moment of the system's calendar as the local zone shows it.
LocalDateTime localDateTimeOf(std::time_t seconds);

// Where "now" comes from; tests supply their own.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

// The local system clock.
class SystemClock final : public Clock {
public:
    LocalDateTime now() const override;
};

inline float readHourClock(const Clock& clock) {
    return hourClockAt(clock.now());
}

// Hours since a stamp, cut (not rounded) to hundredths, in double precision.
double ageOfValues(float reading, float stamp);

}  // namespace ledgerly
