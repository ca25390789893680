// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The 40 result rows every top-40 report window shows. They only render what a ranking run
// returns (rules/reports/ranking_run.h).
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "core/trade_data.h"
#include "rules/reports/ranking_run.h"

class QLabel;
class QLineEdit;

namespace ledgerly {

// How the rows of one report read, left to right:
// "r."  name  value  [labelAfterValue]  trading post  ["To"  destination]
struct RankingRowsOptions {
    QString labelAfterValue;                          // e.g. "CPM"; empty for none
    bool withDestination = false;                     // adds the label "To" and the box `txtto`
    QString valueMeaning = QStringLiteral("payoff");  // for accessible names
    QString tradingPostMeaning = QStringLiteral("trading post");  // e.g. "source", "destination"
};

// 40 result rows in two columns of 20: rows 1-20 on the left, 21-40 on the right. Row labels
// are `Label2`..`Label21` ("1."-"20.") and `Label24`..`Label43` ("21."-"40."); row r has the
// name label `Label22_r` ("Good" until the first run) and read-only boxes `txtbestvalue_r`,
// `txttp_r` and, with a destination, `txtto_r`, all empty until the first run.
class RankingRowsPanel : public QWidget {
    Q_OBJECT
public:
    explicit RankingRowsPanel(const RankingRowsOptions& options, QWidget* parent = nullptr);

    // Applies rows 1..40 of the view: texts, then the value boxes' bands.
    void render(const RankingReportView& view);

    // The first widget of the rows' tab chain, for the window's own tab order.
    QWidget* firstInTabOrder() const;

private:
    struct Row {
        QLabel* name = nullptr;
        QLineEdit* value = nullptr;
        QLineEdit* tradingPost = nullptr;
        QLineEdit* destination = nullptr;
    };
    std::array<Row, kRankingRows + 1> rows_{};
};

}  // namespace ledgerly
