// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the program keeps of a completed valuing run besides the store: a snapshot in the price
// history, with the line comparing it to the post's snapshot before, and then the shared folder,
// which passes the new prices on to friends.
#pragma once

#include <functional>

#include "ui/platform.h"

namespace ledgerly {

class ValuingRunRecords final : public ValuingRunListener {
public:
    // `shareRun` runs after the history has the snapshot; it may be empty.
    ValuingRunRecords(AppContext& context, std::function<void()> shareRun);

    Outcome valuingRunSaved(int tradingPost) override;

private:
    AppContext& context_;
    std::function<void()> shareRun_;
};

}  // namespace ledgerly
