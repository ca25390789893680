// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/share/snapshot_time.h"

#include <ctime>

namespace ledgerly {

LocalDateTime SystemTimeZone::local(UtcSeconds utc) const {
    return localDateTimeOf(static_cast<std::time_t>(utc.time_since_epoch().count()));
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
