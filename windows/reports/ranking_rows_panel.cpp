// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/ranking_rows_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <vector>

#include "core/catalogue.h"
#include "ui/qt_text.h"
#include "ui/widget_helpers.h"

namespace ledgerly {
namespace {

constexpr int kRowsPerColumn = 20;

// Leaves the control alone when the report says nothing about it.
void applyText(QLabel* label, const std::optional<std::string>& text) {
    if (label && text)
        label->setText(qtText(*text));
}

void applyText(QLineEdit* box, const std::optional<std::string>& text) {
    if (box && text)
        box->setText(qtText(*text));
}

}  // namespace

RankingRowsPanel::RankingRowsPanel(const RankingRowsOptions& options, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("rankingRows"));
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(2);

    // Columns of one half: number, name, value, [after value], trading post, [To, destination].
    const bool afterValue = !options.labelAfterValue.isEmpty();
    const int columnsPerHalf = 4 + (afterValue ? 1 : 0) + (options.withDestination ? 2 : 0);
    const int gapColumn = columnsPerHalf;
    grid->setColumnMinimumWidth(gapColumn, fontMetrics().averageCharWidth() * 3);

    const QString widestTown = widestTownName(fontMetrics());
    const QString widestName = widestCommodityName(fontMetrics());
    for (int r = 1; r <= kRankingRows; ++r) {
        const bool left = r <= kRowsPerColumn;
        const int gridRow = left ? r - 1 : r - 1 - kRowsPerColumn;
        int column = left ? 0 : gapColumn + 1;
        const QString n = QString::number(r);
        Row& row = rows_[r];

        QLabel* number = namedLabel(QStringLiteral("Label%1").arg(left ? r + 1 : r + 3),
                                    QStringLiteral("%1.").arg(r), this);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(number, gridRow, column++);

        row.name = namedLabel(QStringLiteral("Label22_%1").arg(r), QStringLiteral("Good"), this);
        row.name->setMinimumWidth(fontMetrics().horizontalAdvance(widestName));
        grid->addWidget(row.name, gridRow, column++);

        // Room for the largest figure a row can hold, so that no value is shown cut short.
        row.value = readOnlyBox(QStringLiteral("txtbestvalue_%1").arg(r),
                                QStringLiteral("2147483647"), this);
        row.value->setAlignment(Qt::AlignRight);
        row.value->setAccessibleName(QStringLiteral("Row %1 %2").arg(n, options.valueMeaning));
        grid->addWidget(row.value, gridRow, column++);

        if (afterValue) {
            grid->addWidget(namedLabel(QStringLiteral("afterValueLabel_%1").arg(r),
                                       options.labelAfterValue, this),
                            gridRow, column++);
        }

        row.tradingPost = readOnlyBox(QStringLiteral("txttp_%1").arg(r), widestTown, this);
        row.tradingPost->setAccessibleName(
            QStringLiteral("Row %1 %2").arg(n, options.tradingPostMeaning));
        grid->addWidget(row.tradingPost, gridRow, column++);

        if (options.withDestination) {
            grid->addWidget(
                namedLabel(QStringLiteral("toLabel_%1").arg(r), QStringLiteral("To"), this),
                gridRow, column++);
            row.destination = readOnlyBox(QStringLiteral("txtto_%1").arg(r), widestTown, this);
            row.destination->setAccessibleName(QStringLiteral("Row %1 destination").arg(n));
            grid->addWidget(row.destination, gridRow, column++);
        }
    }

    // Tab through the rows in reading order: row 1 to 40, each row left to right.
    std::vector<QWidget*> tabOrder;
    for (int r = 1; r <= kRankingRows; ++r)
        tabOrder.insert(tabOrder.end(),
                        {rows_[r].value, rows_[r].tradingPost, rows_[r].destination});
    chainTabOrder(tabOrder);
}

QWidget* RankingRowsPanel::firstInTabOrder() const {
    return rows_[1].value;
}

void RankingRowsPanel::render(const RankingReportView& view) {
    for (int r = 1; r <= kRankingRows; ++r) {
        const RankedRowView& shown = view.rows[r];
        Row& row = rows_[r];
        row.value->setText(qtText(shown.value));
        applyText(row.name, shown.name);
        applyText(row.tradingPost, shown.tradingPost);
        applyText(row.destination, shown.destination);
    }
    for (int r = 1; r <= kRankingRows; ++r)
        paintBackground(rows_[r].value, bandRgb(view.rows[r].colour));
}

}  // namespace ledgerly
