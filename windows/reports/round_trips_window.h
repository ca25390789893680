// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Round Trips": the 40 loops between two posts that pay best per move with both legs loaded,
// computed when the window is made and whenever a filter changes. Renders what bestRoundTrips
// (rules/reports/trader_questions.h) returns and keeps out of the reports' shared buffers.
#pragma once

#include <QWidget>

#include "ui/platform.h"

class QCheckBox;
class QSpinBox;

namespace ledgerly {

class ResultTable;
class TradingPostPicker;

class RoundTripsWindow : public QWidget {
    Q_OBJECT
public:
    explicit RoundTripsWindow(AppContext& context, QWidget* parent = nullptr);

private:
    void recompute();

    AppContext& context_;
    TradingPostPicker* through_ = nullptr;
    QCheckBox* leaveOutOld_ = nullptr;
    QSpinBox* maxAge_ = nullptr;
    ResultTable* loops_ = nullptr;
};

}  // namespace ledgerly
