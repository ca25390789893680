// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/picker_row.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/trading_post_picker.h"
#include "ui/widget_helpers.h"

namespace ledgerly {

PickerRow::PickerRow(const QString& prompt, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pickerRow"));
    picker_ = new TradingPostPicker(this);
    picker_->setObjectName(QStringLiteral("Combo1"));
    auto* label = buddyLabel(QStringLiteral("Label1"), prompt, picker_, this);
    getButton_ = new QPushButton(QStringLiteral("Get"), this);
    getButton_->setObjectName(QStringLiteral("Command1"));
    getButton_->setEnabled(picker_->chosenTradingPost().has_value());
    connect(picker_, &TradingPostPicker::tradingPostChosen, getButton_, &QPushButton::setEnabled);

    auto* line = new QHBoxLayout(this);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(label);
    line->addWidget(picker_);
    line->addWidget(getButton_);
    line->addStretch(1);
    chainTabOrder({picker_, getButton_});
}

}  // namespace ledgerly
