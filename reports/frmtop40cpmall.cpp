#include "reports/frmtop40cpmall.h"

#include <QVBoxLayout>

#include "reports/cpm_reports.h"
#include "reports/ranking_rows_panel.h"

namespace ledgerly {

frmtop40cpmall::frmtop40cpmall(AppContext& context, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmtop40cpmall"));
    setWindowTitle(QStringLiteral("Top 40 CPM to any TP"));

    RankingRowsOptions options;
    options.withDestination = true;
    options.valueMeaning = QStringLiteral("CPM");
    options.tradingPostMeaning = QStringLiteral("source");
    rows_ = new RankingRowsPanel(options, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rows_, 1);

    rows_->render(topCpmToAnyTradingPost(context.data));
}

}  // namespace ledgerly
