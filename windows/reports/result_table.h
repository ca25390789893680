// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A read-only table of whole rows for the trader questions: a screen reader announces each cell
// with its heading, and the keyboard moves through it row by row instead of tabbing through
// hundreds of boxes.
#pragma once

#include <QStringList>
#include <QTableWidget>
#include <optional>
#include <string>

#include "rules/reports/colour_bands.h"

namespace ledgerly {

class ResultTable : public QTableWidget {
    Q_OBJECT
public:
    ResultTable(const QString& accessibleName, const QStringList& headings, QWidget* parent);

    // Empties the table and makes room for `count` rows.
    void startRows(int count);

    // A text cell, left-aligned.
    void setText(int row, int column, const std::string& text);
    // A figure, right-aligned so that digits line up, on its band if it has one.
    void setFigure(int row, int column, const std::string& text,
                   std::optional<BandColour> band = std::nullopt);

    // Once rows have arrived the table wants more room than it did empty; `window` grows to give
    // it (never shrinks what the user chose).
    void growToFit(QWidget* window);
};

}  // namespace ledgerly
