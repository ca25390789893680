// "Top 40 CPM": the hauls that earn the most gold per move into the chosen trading post, with
// the age of that post's values. Renders what topCpmToTradingPost returns.
#pragma once

#include <QWidget>

#include "app/platform.h"

namespace ledgerly {

class AgeOfValuesRow;
class PickerRow;
class RankingRowsPanel;

class frmtop40cpm : public QWidget {
    Q_OBJECT
public:
    explicit frmtop40cpm(AppContext& context, QWidget* parent = nullptr);

private:
    void showReport();

    AppContext& context_;
    PickerRow* pickerRow_ = nullptr;
    AgeOfValuesRow* ageRow_ = nullptr;
    RankingRowsPanel* rows_ = nullptr;
};

}  // namespace ledgerly
