#include "reports/frmtop40cpmall.h"

#include "reports/cpm_reports.h"

namespace ledgerly {

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

}  // namespace ledgerly
