// "Top 40 CPM from a specific TP": where the chosen trading post's goods earn the most gold per
// move. Renders what topCpmFromTradingPost returns; it shows no age of values.
#pragma once

#include "app/platform.h"
#include "reports/ranking_report_window.h"

namespace ledgerly {

class frmtop40cpmfrom : public RankingReportWindow {
    Q_OBJECT
public:
    explicit frmtop40cpmfrom(AppContext& context, QWidget* parent = nullptr);
};

}  // namespace ledgerly
