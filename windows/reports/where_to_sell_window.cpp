// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/where_to_sell_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "rules/reports/trader_questions.h"
#include "ui/commodity_picker.h"
#include "ui/qt_text.h"
#include "ui/widget_helpers.h"
#include "windows/reports/result_table.h"

namespace ledgerly {

WhereToSellWindow::WhereToSellWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("whereToSellWindow"));
    setWindowTitle(QStringLiteral("Where to Sell"));

    commodity_ = new CommodityPicker(this);
    commodity_->setObjectName(QStringLiteral("commodityPicker"));
    findButton_ = new QPushButton(QStringLiteral("Find"), this);
    findButton_->setObjectName(QStringLiteral("findButton"));
    // Without a chosen commodity there is nothing to look for.
    findButton_->setEnabled(false);
    connect(commodity_, &CommodityPicker::commodityChosen, findButton_, &QPushButton::setEnabled);
    connect(findButton_, &QPushButton::clicked, this, &WhereToSellWindow::find);

    soldAt_ = readOnlyBox(QStringLiteral("soldAtBox"), widestTownName(fontMetrics()), this);
    markets_ = new ResultTable(QStringLiteral("Markets"),
                               {QStringLiteral("Town"), QStringLiteral("Trade value"),
                                QStringLiteral("Age of values (hours)"), QStringLiteral("Moves"),
                                QStringLiteral("Gold per move")},
                               this);
    markets_->setObjectName(QStringLiteral("marketsTable"));

    auto* pickLine = new QHBoxLayout;
    pickLine->addWidget(buddyLabel(QStringLiteral("commodityLabel"), QStringLiteral("&Commodity"),
                                   commodity_, this));
    pickLine->addWidget(commodity_);
    pickLine->addWidget(findButton_);
    pickLine->addSpacing(fontMetrics().averageCharWidth() * 3);
    pickLine->addWidget(
        buddyLabel(QStringLiteral("soldAtLabel"), QStringLiteral("&Sold at"), soldAt_, this));
    pickLine->addWidget(soldAt_);
    pickLine->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pickLine);
    layout->addWidget(buddyLabel(QStringLiteral("marketsLabel"),
                                 QStringLiteral("&Markets, best paying first"), markets_, this));
    layout->addWidget(markets_, 1);

    chainTabOrder({commodity_, findButton_, soldAt_, markets_});
}

void WhereToSellWindow::find() {
    const auto commodity = commodity_->chosenCommodity();
    if (!commodity)
        return;
    const auto view =
        whereToSell(context_.data, context_.platform.clock, *commodity, localeDecimalSeparator());
    if (!view)
        return;
    soldAt_->setText(qtText(view->soldAt));
    markets_->startRows(static_cast<int>(view->rows.size()));
    for (int r = 0; r < static_cast<int>(view->rows.size()); ++r) {
        const SellingRow& row = view->rows[static_cast<std::size_t>(r)];
        markets_->setText(r, 0, row.town);
        markets_->setFigure(r, 1, row.value);
        markets_->setFigure(r, 2, row.age.text, row.age.colour);
        markets_->setFigure(r, 3, row.moves);
        markets_->setFigure(r, 4, row.goldPerMove, row.goldPerMoveColour);
    }
    markets_->growToFit(this);
}

}  // namespace ledgerly
