// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The frame every top-40 report window shares: an optional picker line with its "Get" button, an
// optional age-of-values line and the 40 result rows. A window only says what it looks like and
// which report fills it.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "rules/reports/ranking_run.h"
#include "windows/reports/ranking_rows_panel.h"

namespace ledgerly {
class AgeOfValuesRow;
class PickerRow;
}  // namespace ledgerly

namespace ledgerly {

struct RankingWindowDesign {
    QString objectName;
    QString caption;
    QString prompt;  // empty for a window that asks for no trading post
    bool withAge = false;
    RankingRowsOptions rows;
};

class RankingReportWindow : public QWidget {
    Q_OBJECT
public:
    // The report for the trading post in the picker; nothing when it cannot run.
    using Report = std::function<std::optional<RankingReportView>(int tradingPost)>;

protected:
    RankingReportWindow(const RankingWindowDesign& design, QWidget* parent);

    // "Get" runs `report` for the chosen post and shows what it returns.
    void runOnGet(Report report);
    void render(const RankingReportView& view);

private:
    void showReport();

    Report report_;
    PickerRow* pickerRow_ = nullptr;
    AgeOfValuesRow* ageRow_ = nullptr;
    RankingRowsPanel* rows_ = nullptr;
};

}  // namespace ledgerly
