// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Top 40 CPM": the hauls that earn the most gold per move into the chosen trading post, with
// the age of its values; each row names the town that sells the commodity.
#pragma once

#include "ui/platform.h"
#include "windows/reports/ranking_report_window.h"

namespace ledgerly {

class TopCpmToPostWindow : public RankingReportWindow {
    Q_OBJECT
public:
    explicit TopCpmToPostWindow(AppContext& context, QWidget* parent = nullptr);
};

}  // namespace ledgerly
