// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A time zone a whole number of hours east of UTC, without summer time, so that a test can play
// a player anywhere in the world.
#pragma once

#include <chrono>

#include "rules/share/snapshot_time.h"

namespace ledgerly::testing {

class FixedZone final : public TimeZone {
public:
    explicit FixedZone(int hoursEast) : offset_(hoursEast) {}
    LocalDateTime local(UtcSeconds utc) const override {
        const auto day = std::chrono::floor<std::chrono::days>(utc + offset_);
        const std::chrono::year_month_day date(day);
        const std::chrono::hh_mm_ss time(utc + offset_ - day);
        return {
            int(date.year()),          int(unsigned(date.month())), int(unsigned(date.day())),
            int(time.hours().count()), int(time.minutes().count()), int(time.seconds().count())};
    }
    UtcSeconds utc(const LocalDateTime& t) const override {
        using namespace std::chrono;
        return sys_days(year{t.year} / t.month / t.day) + hours(t.hour) + minutes(t.minute) +
               seconds(t.second) - offset_;
    }

private:
    std::chrono::hours offset_;
};

}  // namespace ledgerly::testing
