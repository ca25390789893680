// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Top 40 Payoffs": the best hauls into the chosen trading post, with the age of its values;
// each row names the town that sells the commodity.
#pragma once

#include "ui/platform.h"
#include "windows/reports/ranking_report_window.h"

namespace ledgerly {

class TopPayoffsToPostWindow : public RankingReportWindow {
    Q_OBJECT
public:
    explicit TopPayoffsToPostWindow(AppContext& context, QWidget* parent = nullptr);
};

}  // namespace ledgerly
