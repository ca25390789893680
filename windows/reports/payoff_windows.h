// The payoff report windows. Each renders what its computation in reports/payoff_reports.h
// returns; "Get" runs the report for the post in the picker, and the window for hauls between
// any two posts runs its report once, when it is made.
#pragma once

#include <QWidget>
#include <array>

#include "rules/reports/all_payoffs.h"
#include "ui/platform.h"
#include "windows/reports/ranking_report_window.h"

class QLineEdit;

namespace ledgerly {

// "All Values": every haul into the chosen post, in 18 frames of five rows.
class AllPayoffsWindow : public QWidget {
    Q_OBJECT
public:
    explicit AllPayoffsWindow(AppContext& context, QWidget* parent = nullptr);

private:
    void showReport();

    AppContext& context_;
    PickerRow* pickerRow_ = nullptr;
    AgeOfValuesRow* ageRow_ = nullptr;
    struct Boxes {
        QLineEdit* name = nullptr;
        QLineEdit* value = nullptr;
        QLineEdit* cpm = nullptr;
    };
    std::array<Boxes, kAllPayoffsBoxes + 1> boxes_{};
};

// "Top 40 Payoffs": the best hauls into the chosen post.
class TopPayoffsToPostWindow : public RankingReportWindow {
    Q_OBJECT
public:
    explicit TopPayoffsToPostWindow(AppContext& context, QWidget* parent = nullptr);
};

// "Top 40 payoffs from a specific TP": the best hauls of the chosen post's goods.
class TopPayoffsFromPostWindow : public RankingReportWindow {
    Q_OBJECT
public:
    explicit TopPayoffsFromPostWindow(AppContext& context, QWidget* parent = nullptr);
};

// "Top 40 payoffs at any TP": the best hauls between any two posts, computed when the window is
// made (the main window makes it afresh each time it is opened after being closed).
class TopPayoffsToAnyPostWindow : public RankingReportWindow {
    Q_OBJECT
public:
    explicit TopPayoffsToAnyPostWindow(AppContext& context, QWidget* parent = nullptr);
};

}  // namespace ledgerly
