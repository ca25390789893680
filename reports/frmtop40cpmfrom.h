// "Top 40 CPM from a specific TP": where the chosen trading post's goods earn the most gold per
// move. Renders what topCpmFromTradingPost returns; it shows no age of values.
#pragma once

#include <QWidget>

#include "app/platform.h"

namespace ledgerly {

class PickerRow;
class RankingRowsPanel;

class frmtop40cpmfrom : public QWidget {
    Q_OBJECT
public:
    explicit frmtop40cpmfrom(AppContext& context, QWidget* parent = nullptr);

private:
    void showReport();

    AppContext& context_;
    PickerRow* pickerRow_ = nullptr;
    RankingRowsPanel* rows_ = nullptr;
};

}  // namespace ledgerly
