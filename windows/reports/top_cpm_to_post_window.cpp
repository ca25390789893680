// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/top_cpm_to_post_window.h"

#include "rules/reports/top_forty_reports.h"
#include "ui/qt_text.h"

namespace ledgerly {

TopCpmToPostWindow::TopCpmToPostWindow(AppContext& context, QWidget* parent)
    : RankingReportWindow({QStringLiteral("frmtop40cpm"),
                           QStringLiteral("Top 40 CPM"),
                           QStringLiteral("Pick TP that you want to show the top 40 CPMs for"),
                           true,
                           {.labelAfterValue = QStringLiteral("CPM"),
                            .withDestination = false,
                            .valueMeaning = QStringLiteral("CPM"),
                            .tradingPostMeaning = QStringLiteral("source")}},
                          parent) {
    runOnGet([&context](int destination) {
        return topCpmTo(context.data, context.platform.clock, destination,
                        localeDecimalSeparator());
    });
}

}  // namespace ledgerly
