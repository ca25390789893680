// The trading-post picker every report and export window uses: a drop-down list that shows
// "(Select)" until the user picks one of the 19 list labels.
#pragma once

#include <QComboBox>
#include <optional>

namespace ledgerly {

class TradingPostPicker : public QComboBox {
    Q_OBJECT
public:
    explicit TradingPostPicker(QWidget* parent = nullptr);

    // The chosen trading post 1..19, or nothing while "(Select)" shows.
    std::optional<int> chosenTradingPost() const;

    // Picks post tp (1..19); anything else goes back to "(Select)".
    void chooseTradingPost(int tp);

signals:
    // Emitted whenever the choice changes between "a post" and "nothing", and between posts.
    void tradingPostChosen(bool chosen);
};

}  // namespace ledgerly
