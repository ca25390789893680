// "Top 40 CPM to any TP": the hauls with the most gold per move over every pair of trading
// posts. It asks for nothing and ranks once, when it is made; the main window makes it afresh
// each time it is opened after being closed, so an open window is not refreshed.
#pragma once

#include "app/platform.h"
#include "reports/ranking_report_window.h"

namespace ledgerly {

class frmtop40cpmall : public RankingReportWindow {
    Q_OBJECT
public:
    explicit frmtop40cpmall(AppContext& context, QWidget* parent = nullptr);
};

}  // namespace ledgerly
