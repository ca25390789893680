// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/commodity_picker.h"

#include "core/catalogue.h"
#include "ui/qt_text.h"

namespace ledgerly {

CommodityPicker::CommodityPicker(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setPlaceholderText(QStringLiteral("(Select)"));
    for (int c = 1; c <= kCommodityCount; ++c)
        addItem(qtText(commodityName(c)));
    setCurrentIndex(-1);
    setMaxVisibleItems(20);
    connect(this, &QComboBox::currentIndexChanged, this,
            [this] { emit commodityChosen(chosenCommodity().has_value()); });
}

std::optional<int> CommodityPicker::chosenCommodity() const {
    const int c = currentIndex() + 1;
    if (c < 1 || c > kCommodityCount)
        return std::nullopt;
    return c;
}

}  // namespace ledgerly
