// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Export": what the To trading post pays for each of the From post's goods, as one line for
// the clipboard.
#pragma once

#include <QWidget>

#include "ui/platform.h"

class QLineEdit;

namespace ledgerly {

class TradingPostPicker;

class ExportValuesWindow : public QWidget {
    Q_OBJECT
public:
    explicit ExportValuesWindow(AppContext& context, QWidget* parent = nullptr);

private:
    void getLine();

    AppContext& context_;
    TradingPostPicker* from_;
    TradingPostPicker* to_;
    QLineEdit* line_;
};

}  // namespace ledgerly
