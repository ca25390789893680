#include "windows/reports/cpm_windows.h"

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
