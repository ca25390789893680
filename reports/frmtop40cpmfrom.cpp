#include "reports/frmtop40cpmfrom.h"

#include "reports/cpm_reports.h"

namespace ledgerly {

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
