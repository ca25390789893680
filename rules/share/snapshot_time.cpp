// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/share/snapshot_time.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <ctime>

namespace ledgerly {
namespace {

constexpr std::array<int, 13> kDaysBeforeMonth{0,   0,   31,  59,  90,  120, 151,
                                               181, 212, 243, 273, 304, 334};
constexpr int kDaysPerYear = 365;
constexpr int kSecondsPerDay = 24 * 3600;

}  // namespace

LocalDateTime SystemTimeZone::local(UtcSeconds utc) const {
    const auto seconds = static_cast<std::time_t>(utc.time_since_epoch().count());
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

UtcSeconds SystemTimeZone::utc(const LocalDateTime& local) const {
    std::tm broken{};
    broken.tm_year = local.year - 1900;
    broken.tm_mon = local.month - 1;
    broken.tm_mday = local.day;
    broken.tm_hour = local.hour;
    broken.tm_min = local.minute;
    broken.tm_sec = local.second;
    broken.tm_isdst = -1;  // whatever the zone says for that day
    return UtcSeconds(std::chrono::seconds(std::mktime(&broken)));
}

LocalDateTime localTimeOfHourClock(float hours) {
    // Whole seconds of the reading; a stamp carries about a minute's precision in single
    // precision, so nothing finer is lost. Real stamps lie after the clock's origin.
    const auto seconds = std::max<std::int64_t>(0, std::llround(static_cast<double>(hours) * 3600));
    const auto dayNumber = static_cast<int>(seconds / kSecondsPerDay);  // 1: 1 January 2003
    const auto secondOfDay = static_cast<int>(seconds % kSecondsPerDay);
    const int yearIndex = (dayNumber - 1) / kDaysPerYear;
    const int dayOfYear = dayNumber - yearIndex * kDaysPerYear;  // 1..365
    int month = 12;
    while (month > 1 && kDaysBeforeMonth[static_cast<std::size_t>(month)] >= dayOfYear)
        --month;
    return {2003 + yearIndex,
            month,
            dayOfYear - kDaysBeforeMonth[static_cast<std::size_t>(month)],
            secondOfDay / 3600,
            secondOfDay / 60 % 60,
            secondOfDay % 60};
}

UtcSeconds utcOfStamp(float stamp, const TimeZone& zone) {
    return zone.utc(localTimeOfHourClock(stamp));
}

float stampOfUtc(UtcSeconds utc, const TimeZone& zone) {
    return hourClockAt(zone.local(utc));
}

UtcSeconds utcNow(const Clock& clock, const TimeZone& zone) {
    return zone.utc(clock.now());
}

double hoursBetween(UtcSeconds from, UtcSeconds to) {
    // Whole seconds over 36 give hundredths exactly, without a rounding step between.
    const auto difference = (to - from).count();
    const auto hundredths = difference >= 0 ? difference / 36 : -((-difference + 35) / 36);
    return static_cast<double>(hundredths) * 0.01;
}

}  // namespace ledgerly
