// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/top_payoffs_to_any_post_window.h"

#include "rules/reports/top_forty_reports.h"

namespace ledgerly {

TopPayoffsToAnyPostWindow::TopPayoffsToAnyPostWindow(AppContext& context, QWidget* parent)
    : RankingReportWindow({QStringLiteral("frmtop40all"),
                           QStringLiteral("Top 40 payoffs at any TP"),
                           {},
                           false,
                           {.labelAfterValue = {},
                            .withDestination = true,
                            .valueMeaning = QStringLiteral("payoff"),
                            .tradingPostMeaning = QStringLiteral("source")}},
                          parent) {
    render(topPayoffsToAny(context.data));
}

}  // namespace ledgerly
