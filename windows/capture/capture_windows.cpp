// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/capture/capture_windows.h"

#include "windows/capture/auto_valuer_window.h"

namespace ledgerly {

std::function<QWidget*(QWidget* parent)> autoValuerFactory(AppContext& context) {
    // Name, password and the post the server named belong to one window's connection: a window
    // opened again starts from nothing, as the text boxes it shows do.
    return
        [&context](QWidget* parent) -> QWidget* { return new AutoValuerWindow(context, parent); };
}

}  // namespace ledgerly
