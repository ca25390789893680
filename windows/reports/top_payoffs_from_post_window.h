// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Top 40 payoffs from a specific TP": the best hauls of the chosen trading post's goods; each
// row names the town that pays. It shows no age of values.
#pragma once

#include "ui/platform.h"
#include "windows/reports/ranking_report_window.h"

namespace ledgerly {

class TopPayoffsFromPostWindow : public RankingReportWindow {
    Q_OBJECT
public:
    explicit TopPayoffsFromPostWindow(AppContext& context, QWidget* parent = nullptr);
};

}  // namespace ledgerly
