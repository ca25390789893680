// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/hour_clock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <ctime>

namespace ledgerly {
namespace {

constexpr std::array<int, 13> kDaysBeforeMonth{0,   0,   31,  59,  90,  120, 151,
                                               181, 212, 243, 273, 304, 334};

}  // namespace

int hourClockDayNumber(const LocalDateTime& t) {
    const int month = t.month >= 1 && t.month <= 12 ? t.month : 1;
    return kDaysBeforeMonth[static_cast<std::size_t>(month)] + t.day + (t.year - 2003) * 365;
}

float hourClockAt(const LocalDateTime& t) {
    const auto timeOfDay = static_cast<float>(t.hour + (t.minute + t.second / 60.0) / 60.0);
    const double hours = static_cast<double>(hourClockDayNumber(t)) * 24.0 + timeOfDay;
    return static_cast<float>(hours);
}

LocalDateTime localTimeOfHourClock(float hours) {
    // Whole seconds of the reading; a stamp carries about a minute's precision in single
    // precision, so nothing finer is lost. Real stamps lie after the clock's origin.
    constexpr std::int64_t kSecondsPerDay = std::int64_t{24} * 3600;
    const auto seconds = std::max<std::int64_t>(0, std::llround(static_cast<double>(hours) * 3600));
    const auto dayNumber = static_cast<int>(seconds / kSecondsPerDay);  // 1: 1 January 2003
    const auto secondOfDay = static_cast<int>(seconds % kSecondsPerDay);
    const int yearIndex = (dayNumber - 1) / 365;
    const int dayOfYear = dayNumber - yearIndex * 365;  // 1..365
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

LocalDateTime localDateTimeOf(std::time_t seconds) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

LocalDateTime SystemClock::now() const {
    return localDateTimeOf(std::time(nullptr));
}

double ageOfValues(float reading, float stamp) {
    const double hundredths = (static_cast<double>(reading) - static_cast<double>(stamp)) * 100.0;
    return std::floor(hundredths) * 0.01;
}

}  // namespace ledgerly
