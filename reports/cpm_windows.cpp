#include "reports/cpm_windows.h"

#include "reports/cpm_reports.h"
#include "ui/text_of.h"

namespace ledgerly {

frmtop40cpm::frmtop40cpm(AppContext& context, QWidget* parent)
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
        return topCpmToTradingPost(context.data, context.platform.clock, destination,
                                   localeDecimalSeparator());
    });
}

frmtop40cpmall::frmtop40cpmall(AppContext& context, QWidget* parent)
    : RankingReportWindow({QStringLiteral("frmtop40cpmall"),
                           QStringLiteral("Top 40 CPM to any TP"),
                           {},
                           false,
                           {.labelAfterValue = {},
                            .withDestination = true,
                            .valueMeaning = QStringLiteral("CPM"),
                            .tradingPostMeaning = QStringLiteral("source")}},
                          parent) {
    render(topCpmToAnyTradingPost(context.data));
}

frmtop40cpmfrom::frmtop40cpmfrom(AppContext& context, QWidget* parent)
    : RankingReportWindow({QStringLiteral("frmtop40cpmfrom"),
                           QStringLiteral("Top 40 CPM from a specific TP"),
                           QStringLiteral("Pick TP that you want to show the top 40 CPMs from"),
                           false,
                           {.labelAfterValue = QStringLiteral("CPM"),
                            .withDestination = false,
                            .valueMeaning = QStringLiteral("CPM"),
                            .tradingPostMeaning = QStringLiteral("destination")}},
                          parent) {
    runOnGet([&context](int source) { return topCpmFromTradingPost(context.data, source); });
}

}  // namespace ledgerly
