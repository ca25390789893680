// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Plan a Route": the chain of hauls from a chosen post that pays most gold per move, computed by
// rules/reports/route_planner.h on "Find" and shown leg by leg with a total line. Like the trader
// questions it keeps out of the reports' shared buffers.
#pragma once

#include <QWidget>

#include "ui/platform.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace ledgerly {

class TradingPostPicker;

class RoutePlannerWindow : public QWidget {
    Q_OBJECT
public:
    explicit RoutePlannerWindow(AppContext& context, QWidget* parent = nullptr);

private:
    void find();

    AppContext& context_;
    TradingPostPicker* start_ = nullptr;
    QSpinBox* legs_ = nullptr;
    QCheckBox* backToStart_ = nullptr;
    QCheckBox* eachPostOnce_ = nullptr;
    QCheckBox* leaveOutOld_ = nullptr;
    QSpinBox* maxAge_ = nullptr;
    QPushButton* findButton_ = nullptr;
    QLabel* noRoute_ = nullptr;
    QTableWidget* legsTable_ = nullptr;
    QWidget* totals_ = nullptr;
    QLineEdit* totalPayoff_ = nullptr;
    QLineEdit* totalMoves_ = nullptr;
    QLineEdit* goldPerMove_ = nullptr;
};

}  // namespace ledgerly
