// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Where to Sell": every post as a market for the chosen commodity, best paying first, with the
// age of each post's values and the gold per move from the post that sells it. Renders what
// whereToSell (rules/reports/trader_questions.h) returns and keeps out of the reports' shared
// buffers.
#pragma once

#include <QWidget>

#include "ui/platform.h"

class QLineEdit;
class QPushButton;

namespace ledgerly {

class CommodityPicker;
class ResultTable;

class WhereToSellWindow : public QWidget {
    Q_OBJECT
public:
    explicit WhereToSellWindow(AppContext& context, QWidget* parent = nullptr);

private:
    void find();

    AppContext& context_;
    CommodityPicker* commodity_ = nullptr;
    QPushButton* findButton_ = nullptr;
    QLineEdit* soldAt_ = nullptr;
    ResultTable* markets_ = nullptr;
};

}  // namespace ledgerly
