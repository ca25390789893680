#include "reports/frmtop40cpmfrom.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "app/trading_post_picker.h"
#include "reports/cpm_reports.h"
#include "reports/ranking_rows_panel.h"

namespace ledgerly {

frmtop40cpmfrom::frmtop40cpmfrom(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("frmtop40cpmfrom"));
    setWindowTitle(QStringLiteral("Top 40 CPM from a specific TP"));

    pickerRow_ =
        new PickerRow(QStringLiteral("Pick TP that you want to show the top 40 CPMs from"), this);
    RankingRowsOptions options;
    options.labelAfterValue = QStringLiteral("CPM");
    options.valueMeaning = QStringLiteral("CPM");
    options.tradingPostMeaning = QStringLiteral("destination");
    rows_ = new RankingRowsPanel(options, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pickerRow_);
    layout->addWidget(rows_, 1);
    setTabOrder(pickerRow_->getButton(), rows_->firstInTabOrder());

    connect(pickerRow_->getButton(), &QPushButton::clicked, this, &frmtop40cpmfrom::showReport);
}

void frmtop40cpmfrom::showReport() {
    const auto source = pickerRow_->picker()->chosenTradingPost();
    if (!source)
        return;
    if (const auto view = topCpmFromTradingPost(context_.data, *source))
        rows_->render(*view);
}

}  // namespace ledgerly
