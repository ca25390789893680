// "Top 40 CPM to any TP": the hauls with the most gold per move over every pair of trading
// posts. It asks for nothing and ranks once, when it is made; the main window makes it afresh
// each time it is opened after being closed, so an open window is not refreshed.
#pragma once

#include <QWidget>

#include "app/platform.h"

namespace ledgerly {

class RankingRowsPanel;

class frmtop40cpmall : public QWidget {
    Q_OBJECT
public:
    explicit frmtop40cpmall(AppContext& context, QWidget* parent = nullptr);

private:
    RankingRowsPanel* rows_ = nullptr;
};

}  // namespace ledgerly
