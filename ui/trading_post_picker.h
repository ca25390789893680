// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The trading-post picker every window uses: a drop-down list of the 19 list labels, in
// catalogue order, behind a first text that stands for no trading post.
#pragma once

#include <QComboBox>
#include <optional>

namespace ledgerly {

class TradingPostPicker : public QComboBox {
    Q_OBJECT
public:
    // What the picker shows while no trading post is chosen.
    enum class Unchosen {
        Select,  // "(Select)", until the user picks a post; there is no going back to it
        Any,     // "(Any)", an item of its own before the posts, chosen at first
    };

    explicit TradingPostPicker(QWidget* parent = nullptr);
    TradingPostPicker(Unchosen unchosen, QWidget* parent);

    // The chosen trading post 1..19, or nothing.
    std::optional<int> chosenTradingPost() const;

signals:
    // Emitted whenever the choice changes between "a post" and "nothing", and between posts.
    void tradingPostChosen(bool chosen);

private:
    int firstPostIndex_ = 0;  // the list position of post 1
};

}  // namespace ledgerly
