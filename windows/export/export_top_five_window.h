// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Top 5 non-cpk": the five best-paid goods at the To trading post, as one line for the
// clipboard.
#pragma once

#include <QWidget>

#include "ui/platform.h"

class QLineEdit;

namespace ledgerly {

class TradingPostPicker;

class ExportTopFiveWindow : public QWidget {
    Q_OBJECT
public:
    explicit ExportTopFiveWindow(AppContext& context, QWidget* parent = nullptr);

private:
    void getLine();

    AppContext& context_;
    TradingPostPicker* to_;
    QLineEdit* line_;
};

}  // namespace ledgerly
