#include "reports/frmtop40cpm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/text_of.h"
#include "app/trading_post_picker.h"
#include "reports/cpm_reports.h"
#include "reports/ranking_rows_panel.h"

namespace ledgerly {

frmtop40cpm::frmtop40cpm(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("frmtop40cpm"));
    setWindowTitle(QStringLiteral("Top 40 CPM"));

    pickerRow_ =
        new PickerRow(QStringLiteral("Pick TP that you want to show the top 40 CPMs for"), this);
    ageRow_ = new AgeOfValuesRow(this);
    RankingRowsOptions options;
    options.labelAfterValue = QStringLiteral("CPM");
    options.valueMeaning = QStringLiteral("CPM");
    options.tradingPostMeaning = QStringLiteral("source");
    rows_ = new RankingRowsPanel(options, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pickerRow_);
    layout->addWidget(ageRow_);
    layout->addWidget(rows_, 1);
    setTabOrder(pickerRow_->getButton(), ageRow_->ageBox());
    setTabOrder(ageRow_->ageBox(), rows_->firstInTabOrder());

    connect(pickerRow_->getButton(), &QPushButton::clicked, this, &frmtop40cpm::showReport);
}

void frmtop40cpm::showReport() {
    const auto destination = pickerRow_->picker()->chosenTradingPost();
    if (!destination)
        return;
    const auto view = topCpmToTradingPost(context_.data, context_.platform.clock, *destination,
                                          localeDecimalSeparator());
    if (!view)
        return;
    if (view->age)
        ageRow_->render(*view->age);
    rows_->render(*view);
}

}  // namespace ledgerly
