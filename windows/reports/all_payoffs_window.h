// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "All Values": every haul into the chosen trading post, in 18 frames of five rows: commodity,
// payoff and CPM, each on its band. Renders what allPayoffsTo (rules/reports/all_payoffs.h)
// returns when "Get" is pressed.
#pragma once

#include <QWidget>
#include <array>

#include "rules/reports/all_payoffs.h"
#include "ui/platform.h"

class QLineEdit;

namespace ledgerly {

class AgeOfValuesRow;
class PickerRow;

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

}  // namespace ledgerly
