// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Price History": how the chosen commodity's price moved at every post, drawn from the price
// history file beside the store. The file is read when the window is made and on "Reload", never
// at start-up; a damaged file shows what is readable and says how many rows were skipped, and a
// file that is not a Ledgerly history is reported and left alone.
#pragma once

#include <QWidget>
#include <filesystem>
#include <vector>

#include "core/price_history.h"
#include "rules/history/price_series.h"
#include "ui/platform.h"

class QChart;
class QChartView;
class QComboBox;
class QDateTimeAxis;
class QLabel;
class QTableView;
class QValueAxis;

namespace ledgerly {

class SnapshotTableModel;

class PriceHistoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit PriceHistoryWindow(AppContext& context, QWidget* parent = nullptr);

    // Reads the history file again, keeping the chosen commodity.
    void reload();

private:
    void showCommodity();
    void showPointAt(int tp, const QPointF& point);

    std::filesystem::path historyFile_;
    PriceHistory history_;
    std::vector<PostSeries> series_;
    QComboBox* commodity_ = nullptr;
    QLabel* status_ = nullptr;
    QChart* chart_ = nullptr;
    QChartView* chartView_ = nullptr;
    QDateTimeAxis* timeAxis_ = nullptr;
    QValueAxis* priceAxis_ = nullptr;
    QTableView* table_ = nullptr;
    SnapshotTableModel* rows_ = nullptr;
};

}  // namespace ledgerly
