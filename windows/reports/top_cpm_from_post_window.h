// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Top 40 CPM from a specific TP": where the chosen trading post's goods earn the most gold per
// move; each row names the town to sell at. It shows no age of values.
#pragma once

#include "ui/platform.h"
#include "windows/reports/ranking_report_window.h"

namespace ledgerly {

class TopCpmFromPostWindow : public RankingReportWindow {
    Q_OBJECT
public:
    explicit TopCpmFromPostWindow(AppContext& context, QWidget* parent = nullptr);
};

}  // namespace ledgerly
