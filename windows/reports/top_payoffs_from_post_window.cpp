// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/top_payoffs_from_post_window.h"

#include "rules/reports/top_forty_reports.h"

namespace ledgerly {

TopPayoffsFromPostWindow::TopPayoffsFromPostWindow(AppContext& context, QWidget* parent)
    : RankingReportWindow({QStringLiteral("frmtop40from"),
                           QStringLiteral("Top 40 payoffs from a specific TP"),
                           QStringLiteral("Pick TP that you want to show the top 40 payoffs from"),
                           false,
                           {.labelAfterValue = {},
                            .withDestination = false,
                            .valueMeaning = QStringLiteral("payoff"),
                            .tradingPostMeaning = QStringLiteral("destination")}},
                          parent) {
    runOnGet([&context](int source) { return topPayoffsFrom(context.data, source); });
}

}  // namespace ledgerly
