// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Top 40 payoffs at any TP": the best hauls between any two trading posts, ranked when the
// window is made (the main window makes it afresh each time it is opened after being closed,
// so an open window is not refreshed).
#pragma once

#include "ui/platform.h"
#include "windows/reports/ranking_report_window.h"

namespace ledgerly {

class TopPayoffsToAnyPostWindow : public RankingReportWindow {
    Q_OBJECT
public:
    explicit TopPayoffsToAnyPostWindow(AppContext& context, QWidget* parent = nullptr);
};

}  // namespace ledgerly
