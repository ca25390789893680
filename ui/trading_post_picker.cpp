// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/trading_post_picker.h"

#include "core/catalogue.h"
#include "ui/qt_text.h"

namespace ledgerly {

TradingPostPicker::TradingPostPicker(QWidget* parent)
    : TradingPostPicker(Unchosen::Select, parent) {}

TradingPostPicker::TradingPostPicker(Unchosen unchosen, QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    if (unchosen == Unchosen::Any) {
        addItem(QStringLiteral("(Any)"));
        firstPostIndex_ = 1;
    } else {
        setPlaceholderText(QStringLiteral("(Select)"));
    }
    for (int tp = 1; tp <= kTradingPostCount; ++tp)
        addItem(qtText(tradingPost(tp).listLabel));
    setCurrentIndex(firstPostIndex_ - 1);
    setMaxVisibleItems(count());
    connect(this, &QComboBox::currentIndexChanged, this,
            [this] { emit tradingPostChosen(chosenTradingPost().has_value()); });
}

std::optional<int> TradingPostPicker::chosenTradingPost() const {
    const int tp = currentIndex() - firstPostIndex_ + 1;
    if (!isTradingPost(tp))
        return std::nullopt;
    return tp;
}

}  // namespace ledgerly
