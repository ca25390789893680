// "Top 40 CPM": the hauls that earn the most gold per move into the chosen trading post, with
// the age of that post's values. Renders what topCpmToTradingPost returns.
#pragma once

#include "app/platform.h"
#include "reports/ranking_report_window.h"

namespace ledgerly {

class frmtop40cpm : public RankingReportWindow {
    Q_OBJECT
public:
    explicit frmtop40cpm(AppContext& context, QWidget* parent = nullptr);
};

}  // namespace ledgerly
