// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/top_cpm_to_any_post_window.h"

#include "rules/reports/top_forty_reports.h"

namespace ledgerly {

TopCpmToAnyPostWindow::TopCpmToAnyPostWindow(AppContext& context, QWidget* parent)
    : RankingReportWindow({QStringLiteral("frmtop40cpmall"),
                           QStringLiteral("Top 40 CPM to any TP"),
                           {},
                           false,
                           {.labelAfterValue = {},
                            .withDestination = true,
                            .valueMeaning = QStringLiteral("CPM"),
                            .tradingPostMeaning = QStringLiteral("source")}},
                          parent) {
    render(topCpmToAny(context.data));
}

}  // namespace ledgerly
