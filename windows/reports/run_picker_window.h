// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Pick a Run": the single best haul of the chosen trading post's goods, scored as trade value
// plus 4000 gold per point of CPM. Renders what pickRun returns; no box is coloured.
#pragma once

#include <QWidget>

#include "ui/platform.h"

class QLineEdit;
class QPushButton;

namespace ledgerly {

class TradingPostPicker;

class RunPickerWindow : public QWidget {
    Q_OBJECT
public:
    explicit RunPickerWindow(AppContext& context, QWidget* parent = nullptr);

private:
    void findRun();

    AppContext& context_;
    TradingPostPicker* picker_ = nullptr;
    QPushButton* findButton_ = nullptr;
    QLineEdit* freight_ = nullptr;
    QLineEdit* to_ = nullptr;
    QLineEdit* value_ = nullptr;
    QLineEdit* cpm_ = nullptr;
};

}  // namespace ledgerly
