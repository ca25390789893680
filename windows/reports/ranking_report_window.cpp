// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/ranking_report_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/trading_post_picker.h"
#include "ui/widget_helpers.h"
#include "windows/reports/age_of_values_row.h"
#include "windows/reports/picker_row.h"

namespace ledgerly {

RankingReportWindow::RankingReportWindow(const RankingWindowDesign& design, QWidget* parent)
    : QWidget(parent) {
    setObjectName(design.objectName);
    setWindowTitle(design.caption);

    auto* layout = new QVBoxLayout(this);
    if (!design.prompt.isEmpty()) {
        pickerRow_ = new PickerRow(design.prompt, this);
        layout->addWidget(pickerRow_);
    }
    if (design.withAge) {
        ageRow_ = new AgeOfValuesRow(this);
        layout->addWidget(ageRow_);
    }
    rows_ = new RankingRowsPanel(design.rows, this);
    layout->addWidget(rows_, 1);

    // Picker, "Get", the age, then the rows in reading order.
    chainTabOrder({pickerRow_ ? pickerRow_->getButton() : nullptr,
                   ageRow_ ? ageRow_->ageBox() : nullptr, rows_->firstInTabOrder()});
}

void RankingReportWindow::runOnGet(Report report) {
    report_ = std::move(report);
    if (pickerRow_)
        connect(pickerRow_->getButton(), &QPushButton::clicked, this,
                &RankingReportWindow::showReport);
}

void RankingReportWindow::showReport() {
    const auto tradingPost = pickerRow_->picker()->chosenTradingPost();
    if (!tradingPost)
        return;
    if (const auto view = report_(*tradingPost))
        render(*view);
}

void RankingReportWindow::render(const RankingReportView& view) {
    if (ageRow_ && view.age)
        ageRow_->render(*view.age);
    rows_->render(view);
}

}  // namespace ledgerly
