// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The commodity picker: a drop-down list that shows "(Select)" until the user picks one of the
// 88 commodities, in catalogue order.
#pragma once

#include <QComboBox>
#include <optional>

namespace ledgerly {

class CommodityPicker : public QComboBox {
    Q_OBJECT
public:
    explicit CommodityPicker(QWidget* parent = nullptr);

    // The chosen commodity 1..88, or nothing while "(Select)" shows.
    std::optional<int> chosenCommodity() const;

signals:
    // Emitted whenever the choice changes between "a commodity" and "nothing", and between
    // commodities.
    void commodityChosen(bool chosen);
};

}  // namespace ledgerly
