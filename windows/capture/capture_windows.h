// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Auto Valuer's entry in the tool table (ui/tool_table.h).
#pragma once

#include <QWidget>
#include <functional>

#include "ui/platform.h"

namespace ledgerly {

// Makes Auto Valuer windows as children of `parent`.
std::function<QWidget*(QWidget* parent)> autoValuerFactory(AppContext& context);

}  // namespace ledgerly
