// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/top_cpm_from_post_window.h"

#include "rules/reports/top_forty_reports.h"

namespace ledgerly {

TopCpmFromPostWindow::TopCpmFromPostWindow(AppContext& context, QWidget* parent)
    : RankingReportWindow({QStringLiteral("frmtop40cpmfrom"),
                           QStringLiteral("Top 40 CPM from a specific TP"),
                           QStringLiteral("Pick TP that you want to show the top 40 CPMs from"),
                           false,
                           {.labelAfterValue = QStringLiteral("CPM"),
                            .withDestination = false,
                            .valueMeaning = QStringLiteral("CPM"),
                            .tradingPostMeaning = QStringLiteral("destination")}},
                          parent) {
    runOnGet([&context](int source) { return topCpmFrom(context.data, source); });
}

}  // namespace ledgerly
