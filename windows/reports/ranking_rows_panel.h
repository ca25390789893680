// Widgets every top-40 report window is built from: the 40 result rows, the age-of-values line
// and the picker line with its "Get" button. They only render what a report computation
// returns (reports/report_views.h).
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "core/trade_data.h"
#include "rules/reports/ranking_run.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace ledgerly {

class TradingPostPicker;

// Paints a read-only box's background with a band and keeps its text readable on it.
void paintBand(QLineEdit* box, BandColour colour);

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

    // Applies rows 1..40 of the view: texts, then the value boxes' bands. The age, if any, is
    // rendered by the window's AgeOfValuesRow.
    void render(const RankingReportView& view);

    QLabel* rowLabel(int r) const { return rows_.at(r).number; }
    QLabel* nameLabel(int r) const { return rows_.at(r).name; }
    QLineEdit* valueBox(int r) const { return rows_.at(r).value; }
    QLineEdit* tradingPostBox(int r) const { return rows_.at(r).tradingPost; }
    // nullptr when the panel has no destination column.
    QLineEdit* destinationBox(int r) const { return rows_.at(r).destination; }

    // The first and last widgets of the rows' tab chain, for the window's own tab order.
    QWidget* firstInTabOrder() const;
    QWidget* lastInTabOrder() const;

private:
    struct Row {
        QLabel* number = nullptr;
        QLabel* name = nullptr;
        QLineEdit* value = nullptr;
        QLineEdit* tradingPost = nullptr;
        QLineEdit* destination = nullptr;
    };
    std::array<Row, kRankingRows + 1> rows_{};
};

// "Valued [Text1] hours ago.": the age of the chosen post's values in a coloured read-only box.
class AgeOfValuesRow : public QWidget {
    Q_OBJECT
public:
    explicit AgeOfValuesRow(QWidget* parent = nullptr);
    void render(const AgeView& age);
    QLineEdit* ageBox() const { return ageBox_; }

private:
    QLineEdit* ageBox_ = nullptr;
};

// "<prompt> [Combo1] [Get]": `Label1` with the prompt, the trading-post picker `Combo1` and the
// button `Command1`, which stays disabled until a trading post is chosen, so a report never runs
// without one.
class PickerRow : public QWidget {
    Q_OBJECT
public:
    PickerRow(const QString& prompt, QWidget* parent = nullptr);
    TradingPostPicker* picker() const { return picker_; }
    QPushButton* getButton() const { return getButton_; }

private:
    TradingPostPicker* picker_ = nullptr;
    QPushButton* getButton_ = nullptr;
};

}  // namespace ledgerly
