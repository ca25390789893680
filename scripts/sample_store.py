#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Prints a sample trade values file: every post valued a few hours ago with made-up prices,
for screenshots and trying Ledgerly out without a game account."""
import datetime
import random

DAYS_BEFORE_MONTH = [0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334]


def hour_clock(t):
    days = DAYS_BEFORE_MONTH[t.month] + t.day + (t.year - 2003) * 365
    return days * 24 + t.hour + (t.minute + t.second / 60) / 60


def field(value):
    text = f"{value:.7g}"
    return f" {text} "


def main():
    random.seed(7)
    now = hour_clock(datetime.datetime.now())
    lines = []
    for tp in range(1, 20):
        for _ in range(88):
            lines.append(field(random.choice([1, random.randint(200, 1200) * 1000,
                                              random.randint(5, 400) * 100])))
        lines.append(field(round(now - random.uniform(0.1, 8.0), 1)))
    print("\r\n".join(lines), end="\r\n")


if __name__ == "__main__":
    main()
