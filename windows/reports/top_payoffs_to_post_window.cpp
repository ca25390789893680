// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/top_payoffs_to_post_window.h"

#include "rules/reports/top_forty_reports.h"
#include "ui/qt_text.h"

namespace ledgerly {

TopPayoffsToPostWindow::TopPayoffsToPostWindow(AppContext& context, QWidget* parent)
    : RankingReportWindow({QStringLiteral("frmtop20"),
                           QStringLiteral("Top 40 Payoffs"),
                           QStringLiteral("Pick TP that you want to show the top 40 payoffs for"),
                           true,
                           {.labelAfterValue = {},
                            .withDestination = false,
                            .valueMeaning = QStringLiteral("payoff"),
                            .tradingPostMeaning = QStringLiteral("source")}},
                          parent) {
    runOnGet([&context](int destination) {
        return topPayoffsTo(context.data, context.platform.clock, destination,
                            localeDecimalSeparator());
    });
}

}  // namespace ledgerly
