// The CPM report windows. Each renders what its computation in reports/cpm_reports.h returns;
// "Get" runs the report for the post in the picker, and the window for hauls between any two
// posts ranks once, when it is made (the main window makes it afresh each time it is opened
// after being closed, so an open window is not refreshed).
#pragma once

#include "ui/platform.h"
#include "windows/reports/ranking_report_window.h"

namespace ledgerly {

// "Top 40 CPM": the hauls that earn the most gold per move into the chosen trading post, with
// the age of that post's values.
class TopCpmToPostWindow : public RankingReportWindow {
    Q_OBJECT
public:
    explicit TopCpmToPostWindow(AppContext& context, QWidget* parent = nullptr);
};

// "Top 40 CPM to any TP": the hauls with the most gold per move over every pair of posts.
class TopCpmToAnyPostWindow : public RankingReportWindow {
    Q_OBJECT
public:
    explicit TopCpmToAnyPostWindow(AppContext& context, QWidget* parent = nullptr);
};

// "Top 40 CPM from a specific TP": where the chosen trading post's goods earn the most gold per
// move; it shows no age of values.
class TopCpmFromPostWindow : public RankingReportWindow {
    Q_OBJECT
public:
    explicit TopCpmFromPostWindow(AppContext& context, QWidget* parent = nullptr);
};

}  // namespace ledgerly
