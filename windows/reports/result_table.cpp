// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/result_table.h"

#include <QHeaderView>
#include <QScrollBar>

#include "ui/qt_text.h"
#include "ui/widget_helpers.h"

namespace ledgerly {

ResultTable::ResultTable(const QString& accessibleName, const QStringList& headings,
                         QWidget* parent)
    : QTableWidget(0, static_cast<int>(headings.size()), parent) {
    setAccessibleName(accessibleName);
    setHorizontalHeaderLabels(headings);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    // Rows keep one height and columns are fitted once per fill (growToFit): measuring every
    // cell on each layout pass made Round Trips slow to open.
    constexpr int kCellMargins = 4;
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kCellMargins);
    setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    // Counted into the table's size from the start, so that a long list never hides a column.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void ResultTable::startRows(int count) {
    clearContents();
    setRowCount(count);
}

void ResultTable::setText(int row, int column, const std::string& text) {
    setItem(row, column, new QTableWidgetItem(qtText(text)));
}

void ResultTable::setFigure(int row, int column, const std::string& text,
                            std::optional<BandColour> band) {
    auto* cell = new QTableWidgetItem(qtText(text));
    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (band)
        paintBackground(cell, bandRgb(*band));
    setItem(row, column, cell);
}

void ResultTable::growToFit(QWidget* window) {
    resizeColumnsToContents();
    setMinimumWidth(verticalHeader()->sizeHint().width() + horizontalHeader()->length() +
                    verticalScrollBar()->sizeHint().width() + 2 * frameWidth());
    window->resize(window->size().expandedTo(window->sizeHint()));
}

}  // namespace ledgerly
