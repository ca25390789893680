// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/history/price_history_window.h"

#include <QAbstractTableModel>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "core/number_text.h"
#include "ui/qt_text.h"
#include "ui/widget_helpers.h"

namespace ledgerly {
namespace {

// Beyond this many snapshots a post's markers would hide its line; fewer are marked, so that a
// post valued once still shows.
constexpr std::size_t kMarkedPoints = 100;

QDateTime localTime(UtcSeconds time) {
    return QDateTime::fromSecsSinceEpoch(time.time_since_epoch().count());
}

qint64 msSinceEpoch(UtcSeconds time) {
    return time.time_since_epoch().count() * 1000;
}

QString timeText(UtcSeconds time) {
    return localTime(time).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString townOf(int tp) {
    return qtText(tradingPost(tp).townName);
}

}  // namespace

// The snapshots of the chosen commodity as table rows, newest first; texts are made only for
// the rows on screen, so twenty thousand rows cost nothing until they are looked at.
class SnapshotTableModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<SnapshotRow> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        separator_ = localeDecimalSeparator();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 4; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        const SnapshotRow& row = rows_[static_cast<std::size_t>(index.row())];
        if (role == Qt::TextAlignmentRole) {
            // Figures stand right-aligned so that their digits line up.
            return index.column() >= 2 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
        }
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
            case 0:
                return timeText(row.time);
            case 1:
                return townOf(row.tp);
            case 2:
                return qtText(singleText(row.price, separator_));
            default:
                return qtText(changeText(row.change, separator_));
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        static const QStringList headings{
            QStringLiteral("Local time"), QStringLiteral("Town"), QStringLiteral("Price"),
            QStringLiteral("Change from the post's previous snapshot")};
        return headings.value(section);
    }

private:
    std::vector<SnapshotRow> rows_;
    std::string separator_ = ".";
};

PriceHistoryWindow::PriceHistoryWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), historyFile_(priceHistoryPath(context.platform.storePath.toStdU16String())) {
    setObjectName(QStringLiteral("frmhistory"));
    setWindowTitle(QStringLiteral("Price History"));

    commodity_ = new QComboBox(this);
    commodity_->setObjectName(QStringLiteral("Combo1"));
    commodity_->setPlaceholderText(QStringLiteral("(Select)"));
    for (int c = 1; c <= kCommodityCount; ++c)
        commodity_->addItem(qtText(commodityName(c)));
    commodity_->setCurrentIndex(-1);
    commodity_->setMaxVisibleItems(20);
    connect(commodity_, &QComboBox::currentIndexChanged, this, &PriceHistoryWindow::showCommodity);

    auto* reloadButton = new QPushButton(QStringLiteral("&Reload"), this);
    reloadButton->setObjectName(QStringLiteral("Command1"));
    connect(reloadButton, &QPushButton::clicked, this, &PriceHistoryWindow::reload);

    // What was read, or why nothing was; selectable, so that the keyboard and a screen reader
    // reach it too.
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Label2"));
    status_->setAccessibleName(QStringLiteral("History file"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    chart_ = new QChart;
    chart_->legend()->setAlignment(Qt::AlignRight);
    timeAxis_ = new QDateTimeAxis(chart_);
    timeAxis_->setFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    timeAxis_->setTitleText(QStringLiteral("Local time"));
    priceAxis_ = new QValueAxis(chart_);
    priceAxis_->setTitleText(QStringLiteral("Price (gold)"));
    priceAxis_->setLabelFormat(QStringLiteral("%.7g"));
    chart_->addAxis(timeAxis_, Qt::AlignBottom);
    chart_->addAxis(priceAxis_, Qt::AlignLeft);
    chartView_ = new QChartView(chart_, this);
    chartView_->setObjectName(QStringLiteral("chtprices"));
    chartView_->setAccessibleName(QStringLiteral("Price chart"));
    chartView_->setAccessibleDescription(
        QStringLiteral("One line per trading post; the table below holds the same snapshots."));
    chartView_->setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = fontMetrics();
    chartView_->setMinimumSize(metrics.averageCharWidth() * 90, metrics.height() * 18);

    rows_ = new SnapshotTableModel(this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("grdsnapshots"));
    table_->setAccessibleName(QStringLiteral("Snapshots, newest first"));
    table_->setModel(rows_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    // Columns are fitted to a sample of rows; every row's texts for twenty thousand snapshots
    // would take longer than drawing the chart.
    table_->horizontalHeader()->setResizeContentsPrecision(100);

    auto* pickLine = new QHBoxLayout;
    pickLine->addWidget(
        buddyLabel(QStringLiteral("Label1"), QStringLiteral("&Commodity"), commodity_, this));
    pickLine->addWidget(commodity_);
    pickLine->addStretch(1);
    pickLine->addWidget(reloadButton);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(chartView_);
    splitter->addWidget(table_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({3 * metrics.height() * 20, 2 * metrics.height() * 20});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pickLine);
    layout->addWidget(status_);
    layout->addWidget(splitter, 1);

    chainTabOrder({commodity_, reloadButton, status_, table_});
    reload();
}

void PriceHistoryWindow::reload() {
    history_ = readPriceHistoryFile(historyFile_);
    const QString where =
        QDir::toNativeSeparators(QString::fromStdU16String(historyFile_.u16string()));
    if (history_.problem) {
        status_->setText(QStringLiteral("%1: %2. Nothing was read, and the file is left as it is.")
                             .arg(where, qtText(*history_.problem)));
    } else if (history_.snapshots.empty() && history_.skippedRows == 0) {
        status_->setText(
            QStringLiteral("No snapshots yet: every completed valuing run adds one to %1.")
                .arg(where));
    } else {
        const auto count = [](std::size_t n, const char* one, const char* many) {
            return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
        };
        QString text = count(history_.snapshots.size(), "snapshot", "snapshots") +
                       QStringLiteral(" in ") + where;
        if (history_.skippedRows > 0) {
            text += QStringLiteral("; %1 skipped, the first at %2")
                        .arg(count(static_cast<std::size_t>(history_.skippedRows), "row", "rows"),
                             qtText(history_.firstSkip));
        }
        status_->setText(text + u'.');
    }
    showCommodity();
}

void PriceHistoryWindow::showCommodity() {
    chart_->removeAllSeries();
    const int c = commodity_->currentIndex() + 1;
    series_ = commoditySeries(history_, c);

    for (const PostSeries& post : series_) {
        auto* line = new QLineSeries(chart_);
        line->setName(townOf(post.tp));
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(post.points.size()));
        for (const SeriesPoint& point : post.points)
            points.append(QPointF(static_cast<double>(msSinceEpoch(point.time)), point.price));
        line->replace(points);
        line->setPointsVisible(post.points.size() <= kMarkedPoints);
        chart_->addSeries(line);
        QPen pen = line->pen();  // the theme's colour, one pixel wide
        pen.setWidth(1);
        line->setPen(pen);
        line->attachAxis(timeAxis_);
        line->attachAxis(priceAxis_);
        const int tp = post.tp;
        connect(line, &QLineSeries::hovered, this, [this, tp](const QPointF& point, bool state) {
            if (state)
                showPointAt(tp, point);
            else
                QToolTip::hideText();
        });
    }
    if (const auto range = chartRange(series_)) {
        timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(msSinceEpoch(range->first)),
                            QDateTime::fromMSecsSinceEpoch(msSinceEpoch(range->last)));
        priceAxis_->setRange(range->lowest, range->highest);
        priceAxis_->applyNiceNumbers();
    }
    timeAxis_->setVisible(!series_.empty());
    priceAxis_->setVisible(!series_.empty());

    rows_->setRows(snapshotRows(series_));
    table_->resizeColumnsToContents();
}

// The snapshot nearest in time to where the pointer rests on a post's line.
void PriceHistoryWindow::showPointAt(int tp, const QPointF& point) {
    const auto post = std::find_if(series_.begin(), series_.end(),
                                   [tp](const PostSeries& s) { return s.tp == tp; });
    if (post == series_.end())
        return;
    const UtcSeconds time{std::chrono::seconds{static_cast<qint64>(point.x() / 1000.0)}};
    const SeriesPoint& nearest = nearestPoint(*post, time);
    QToolTip::showText(QCursor::pos(),
                       QStringLiteral("%1\n%2\n%3 gold")
                           .arg(townOf(tp), timeText(nearest.time),
                                qtText(singleText(nearest.price, localeDecimalSeparator()))),
                       chartView_);
}

}  // namespace ledgerly
