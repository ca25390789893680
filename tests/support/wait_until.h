// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Runs events until a condition holds, for tests that wait on sockets or timers.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace ledgerly::testing {

// Unlike QTest::qWaitFor it does not sleep between rounds, so a run of many round trips takes as
// long as the sockets need, not as many sleeps. Returns false if `done` never held in time.
template <typename Done>
bool waitUntil(Done done, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake;  // makes sure each round returns even when nothing else happens
    wake.start(10);
    while (!done()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

}  // namespace ledgerly::testing
