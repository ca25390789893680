#include "windows/reports/trader_windows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <optional>

#include "core/catalogue.h"
#include "rules/reports/trader_questions.h"
#include "ui/qt_text.h"
#include "ui/widget_helpers.h"

namespace ledgerly {
namespace {

enum class Align { Text, Figure };

// A read-only table of whole rows: a screen reader announces each cell with its heading, and
// the keyboard moves through it row by row instead of tabbing through hundreds of boxes.
QTableWidget* resultTable(const QString& name, const QString& accessibleName,
                          const QStringList& headings, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->setHorizontalHeaderLabels(headings);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    // Rows keep one height and columns are fitted once per fill (growToFit): measuring every
    // cell on each layout pass made Round Trips slow to open.
    constexpr int kCellMargins = 4;
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + kCellMargins);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    // Counted into the table's size from the start, so that a long list never hides a column.
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return table;
}

// Once rows have arrived the table wants more room than it did empty; the window grows to give
// it (never shrinks what the user chose).
void growToFit(QWidget* window, QTableWidget* table) {
    table->resizeColumnsToContents();
    table->setMinimumWidth(
        table->verticalHeader()->sizeHint().width() + table->horizontalHeader()->length() +
        table->verticalScrollBar()->sizeHint().width() + 2 * table->frameWidth());
    window->resize(window->size().expandedTo(window->sizeHint()));
}

void startRows(QTableWidget* table, int count) {
    table->clearContents();
    table->setRowCount(count);
}

// Figures stand right-aligned so that their digits line up.
void setCell(QTableWidget* table, int row, int column, const std::string& text, Align align,
             std::optional<BandColour> band = std::nullopt) {
    auto* cell = new QTableWidgetItem(qtText(text));
    if (align == Align::Figure)
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (band)
        paintBackground(cell, bandRgb(*band));
    table->setItem(row, column, cell);
}

}  // namespace

WhereToSellWindow::WhereToSellWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("frmwheresell"));
    setWindowTitle(QStringLiteral("Where to Sell"));

    commodity_ = new QComboBox(this);
    commodity_->setObjectName(QStringLiteral("Combo1"));
    commodity_->setPlaceholderText(QStringLiteral("(Select)"));
    for (int c = 1; c <= kCommodityCount; ++c)
        commodity_->addItem(qtText(commodityName(c)));
    commodity_->setCurrentIndex(-1);
    commodity_->setMaxVisibleItems(20);

    findButton_ = new QPushButton(QStringLiteral("Find"), this);
    findButton_->setObjectName(QStringLiteral("Command1"));
    // Without a chosen commodity there is nothing to look for.
    findButton_->setEnabled(false);
    connect(commodity_, &QComboBox::currentIndexChanged, findButton_,
            [this](int index) { findButton_->setEnabled(index >= 0); });
    connect(findButton_, &QPushButton::clicked, this, &WhereToSellWindow::find);

    soldAt_ = readOnlyBox(QStringLiteral("txtsoldat"), widestTownName(fontMetrics()), this);
    markets_ = resultTable(QStringLiteral("grdmarkets"), QStringLiteral("Markets"),
                           {QStringLiteral("Town"), QStringLiteral("Trade value"),
                            QStringLiteral("Age of values (hours)"), QStringLiteral("Moves"),
                            QStringLiteral("Gold per move")},
                           this);

    auto* pickLine = new QHBoxLayout;
    pickLine->addWidget(
        buddyLabel(QStringLiteral("Label1"), QStringLiteral("&Commodity"), commodity_, this));
    pickLine->addWidget(commodity_);
    pickLine->addWidget(findButton_);
    pickLine->addSpacing(fontMetrics().averageCharWidth() * 3);
    pickLine->addWidget(
        buddyLabel(QStringLiteral("Label2"), QStringLiteral("&Sold at"), soldAt_, this));
    pickLine->addWidget(soldAt_);
    pickLine->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pickLine);
    layout->addWidget(buddyLabel(QStringLiteral("Label3"),
                                 QStringLiteral("&Markets, best paying first"), markets_, this));
    layout->addWidget(markets_, 1);

    chainTabOrder({commodity_, findButton_, soldAt_, markets_});
}

void WhereToSellWindow::find() {
    const int c = commodity_->currentIndex() + 1;
    const auto view =
        whereToSell(context_.data, context_.platform.clock, c, localeDecimalSeparator());
    if (!view)
        return;
    soldAt_->setText(qtText(view->soldAt));
    startRows(markets_, static_cast<int>(view->rows.size()));
    for (int r = 0; r < static_cast<int>(view->rows.size()); ++r) {
        const SellingRow& row = view->rows[static_cast<std::size_t>(r)];
        setCell(markets_, r, 0, row.town, Align::Text);
        setCell(markets_, r, 1, row.value, Align::Figure);
        setCell(markets_, r, 2, row.age.text, Align::Figure, row.age.colour);
        setCell(markets_, r, 3, row.moves, Align::Figure);
        setCell(markets_, r, 4, row.goldPerMove, Align::Figure, row.goldPerMoveColour);
    }
    growToFit(this, markets_);
}

RevalueNextWindow::RevalueNextWindow(AppContext& context, ToolWindowHost& tools, QWidget* parent)
    : QWidget(parent), context_(context), tools_(tools) {
    setObjectName(QStringLiteral("frmrevalue"));
    setWindowTitle(QStringLiteral("Revalue Next"));

    posts_ = resultTable(QStringLiteral("grdposts"), QStringLiteral("Posts, oldest prices first"),
                         {QStringLiteral("Town"), QStringLiteral("List label"),
                          QStringLiteral("Age of values (hours)")},
                         this);
    valueButton_ = new QPushButton(QStringLiteral("&Value this post"), this);
    valueButton_->setObjectName(QStringLiteral("Command2"));
    valueButton_->setEnabled(false);
    auto* refreshButton = new QPushButton(QStringLiteral("&Refresh"), this);
    refreshButton->setObjectName(QStringLiteral("Command1"));

    // The button acts for the selected row, so it waits for one.
    connect(posts_, &QTableWidget::itemSelectionChanged, valueButton_,
            [this] { valueButton_->setEnabled(!posts_->selectedItems().isEmpty()); });
    connect(valueButton_, &QPushButton::clicked, this,
            [this] { tools_.openTool(Tool::AutoValuer); });
    connect(refreshButton, &QPushButton::clicked, this, &RevalueNextWindow::refresh);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(valueButton_);
    buttons->addStretch(1);
    buttons->addWidget(refreshButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(posts_, 1);
    layout->addLayout(buttons);

    chainTabOrder({posts_, valueButton_, refreshButton});
    refresh();
}

void RevalueNextWindow::refresh() {
    const auto rows = revalueNext(context_.data, context_.platform.clock, localeDecimalSeparator());
    startRows(posts_, static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const RevalueRow& row = rows[static_cast<std::size_t>(r)];
        setCell(posts_, r, 0, row.town, Align::Text);
        setCell(posts_, r, 1, row.listLabel, Align::Text);
        setCell(posts_, r, 2, row.age.text, Align::Figure, row.age.colour);
    }
    // The oldest prices are the ones to revalue next.
    posts_->selectRow(0);
    growToFit(this, posts_);
}

RoundTripsWindow::RoundTripsWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("frmroundtrips"));
    setWindowTitle(QStringLiteral("Round Trips"));

    through_ = new QComboBox(this);
    through_->setObjectName(QStringLiteral("Combo1"));
    through_->addItem(QStringLiteral("(Any)"));
    for (int tp = 1; tp <= kTradingPostCount; ++tp)
        through_->addItem(qtText(tradingPost(tp).listLabel));
    through_->setMaxVisibleItems(kTradingPostCount + 1);

    leaveOutOld_ = new QCheckBox(QStringLiteral("&Leave out prices older than"), this);
    leaveOutOld_->setObjectName(QStringLiteral("Check1"));
    maxAge_ = new QSpinBox(this);
    maxAge_->setObjectName(QStringLiteral("txthours"));
    maxAge_->setRange(0, 99999);
    maxAge_->setValue(24);
    maxAge_->setEnabled(false);
    maxAge_->setAccessibleName(QStringLiteral("Oldest prices kept, in hours"));

    loops_ = resultTable(
        QStringLiteral("grdloops"), QStringLiteral("Loops, best per move first"),
        {QStringLiteral("From"), QStringLiteral("To"), QStringLiteral("Carry out"),
         QStringLiteral("Value there"), QStringLiteral("Carry back"), QStringLiteral("Value back"),
         QStringLiteral("Loop payoff"), QStringLiteral("Gold per move")},
        this);

    connect(through_, &QComboBox::currentIndexChanged, this, &RoundTripsWindow::recompute);
    connect(leaveOutOld_, &QCheckBox::toggled, this, [this](bool on) {
        maxAge_->setEnabled(on);
        recompute();
    });
    connect(maxAge_, &QSpinBox::valueChanged, this, [this] {
        if (leaveOutOld_->isChecked())
            recompute();
    });

    auto* filters = new QHBoxLayout;
    filters->addWidget(
        buddyLabel(QStringLiteral("Label1"), QStringLiteral("&Through"), through_, this));
    filters->addWidget(through_);
    filters->addSpacing(fontMetrics().averageCharWidth() * 3);
    filters->addWidget(leaveOutOld_);
    filters->addWidget(maxAge_);
    filters->addWidget(namedLabel(QStringLiteral("Label2"), QStringLiteral("hours"), this));
    filters->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(loops_, 1);

    chainTabOrder({through_, leaveOutOld_, maxAge_, loops_});
    recompute();
}

void RoundTripsWindow::recompute() {
    RoundTripFilter filter;
    if (through_->currentIndex() > 0)
        filter.through = through_->currentIndex();
    if (leaveOutOld_->isChecked())
        filter.maxAgeHours = maxAge_->value();
    const auto rows =
        bestRoundTrips(context_.data, context_.platform.clock, filter, localeDecimalSeparator());
    startRows(loops_, static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const RoundTripRow& row = rows[static_cast<std::size_t>(r)];
        setCell(loops_, r, 0, row.townA, Align::Text);
        setCell(loops_, r, 1, row.townB, Align::Text);
        setCell(loops_, r, 2, row.outbound, Align::Text);
        setCell(loops_, r, 3, row.outboundValue, Align::Figure);
        setCell(loops_, r, 4, row.inbound, Align::Text);
        setCell(loops_, r, 5, row.inboundValue, Align::Figure);
        setCell(loops_, r, 6, row.payoff, Align::Figure);
        setCell(loops_, r, 7, row.goldPerMove.text, Align::Figure, row.goldPerMove.colour);
    }
    growToFit(this, loops_);
}

}  // namespace ledgerly
