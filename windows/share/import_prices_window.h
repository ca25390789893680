// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Import Prices": another player's prices beside yours, post by post, with a "take theirs" tick
// on each; Import takes the ticked posts and nothing else.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "rules/share/price_import.h"
#include "ui/platform.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace ledgerly {

// What the window is opened on: the offer, where it comes from in words ("the file
// friend.txt"), and when your own prices were taken.
struct ImportRequest {
    PriceOffer offer;
    QString origin;
    YourTimes yours{};
};

class ImportPricesWindow : public QWidget {
    Q_OBJECT
public:
    // `taken` learns of the posts taken once the store holds them (for the history and the
    // shared folder); it returns what the user should still be told, or an empty text.
    using TakenHandler = std::function<QString(const std::vector<PriceSnapshot>&)>;

    ImportPricesWindow(AppContext& context, const TimeZone& zone, ImportRequest request,
                       TakenHandler taken, QWidget* parent = nullptr);

    // Shows a new request in place of the one the window holds.
    void setRequest(ImportRequest request);

    QTableWidget* table() const { return table_; }
    QPushButton* importButton() const { return importButton_; }

private:
    void fill();
    void updateImportButton();
    void importTicked();

    AppContext& context_;
    const TimeZone& zone_;
    ImportRequest request_;
    TakenHandler taken_;
    QLabel* origin_ = nullptr;
    QLabel* note_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

}  // namespace ledgerly
