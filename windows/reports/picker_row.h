// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "<prompt> [Combo1] [Get]": the line at the top of a report window that asks for a trading post.
// `Label1` carries the prompt, `Combo1` is the trading-post picker and `Command1` the button,
// which stays disabled until a trading post is chosen, so a report never runs without one.
#pragma once

#include <QString>
#include <QWidget>

class QPushButton;

namespace ledgerly {

class TradingPostPicker;

class PickerRow : public QWidget {
    Q_OBJECT
public:
    explicit PickerRow(const QString& prompt, QWidget* parent = nullptr);
    TradingPostPicker* picker() const { return picker_; }
    QPushButton* getButton() const { return getButton_; }

private:
    TradingPostPicker* picker_ = nullptr;
    QPushButton* getButton_ = nullptr;
};

}  // namespace ledgerly
