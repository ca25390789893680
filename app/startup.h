// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up: load (or on first start create) the trade values file, tell the user once if the
// file could not be used, and only then show the main window.
#pragma once

#include <memory>

#include "app/main_window.h"
#include "ui/platform.h"
#include "ui/tool_table.h"

namespace ledgerly {

// Program-wide settings of the running application; call once before any window is made.
void setUpApplication();

// Leaves the whole trade values table and all stamps in memory.
void loadTradeValues(AppContext& context);

// Makes the window of every tool of the tool table over `context`.
ToolWindowFactory toolWindowFactory(AppContext& context);

// Loads the trade values, then makes and shows the main window.
std::unique_ptr<MainWindow> startLedgerly(AppContext& context);

}  // namespace ledgerly
