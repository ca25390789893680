#include "ui/trading_post_picker.h"

#include "core/catalogue.h"

namespace ledgerly {

TradingPostPicker::TradingPostPicker(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setPlaceholderText(QStringLiteral("(Select)"));
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        const auto label = tradingPost(tp).listLabel;
        addItem(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
    }
    setCurrentIndex(-1);
    setMaxVisibleItems(kTradingPostCount);
    connect(this, &QComboBox::currentIndexChanged, this,
            [this](int index) { emit tradingPostChosen(index >= 0); });
}

std::optional<int> TradingPostPicker::chosenTradingPost() const {
    const int tp = currentIndex() + 1;
    if (!isTradingPost(tp))
        return std::nullopt;
    return tp;
}

void TradingPostPicker::chooseTradingPost(int tp) {
    setCurrentIndex(isTradingPost(tp) ? tp - 1 : -1);
}

}  // namespace ledgerly
