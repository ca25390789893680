// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The benchmark groups of ledgerly_bench; each prints its figures through the reporter.
#pragma once

#include <QString>
#include <functional>

namespace ledgerly::bench {

using Reporter = void (*)(const QString& what, double value, const QString& unit,
                          const QString& aim, bool met);
// Microseconds per call: the median over `runs` batches of `batch` calls.
using CallTimer = double (*)(int runs, int batch, const std::function<void()>& call);

void runComputationBenchmarks(int runs, Reporter report, CallTimer timePerCall);
void runRoutePlannerBenchmarks(int runs, Reporter report, CallTimer timePerCall);
void runWindowBenchmarks(int runs, Reporter report);
void runValuingBenchmarks(int runs, Reporter report);
void runHistoryBenchmarks(int runs, Reporter report);

}  // namespace ledgerly::bench
