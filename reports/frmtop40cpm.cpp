#include "reports/frmtop40cpm.h"

#include "app/text_of.h"
#include "reports/cpm_reports.h"

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

}  // namespace ledgerly
