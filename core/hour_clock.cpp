// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/hour_clock.h"

#include <array>
#include <cmath>
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

LocalDateTime SystemClock::now() const {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

double ageOfValues(float reading, float stamp) {
    const double hundredths = (static_cast<double>(reading) - static_cast<double>(stamp)) * 100.0;
    return std::floor(hundredths) * 0.01;
}

}  // namespace ledgerly
