// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/route_planner_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "rules/reports/route_planner.h"
#include "ui/qt_text.h"
#include "ui/trading_post_picker.h"
#include "ui/widget_helpers.h"

namespace ledgerly {
namespace {

constexpr int kDefaultLegs = 3;
constexpr int kDefaultMaxAgeHours = 24;  // as in Round Trips
constexpr int kLongestMaxAgeHours = 99999;

enum Column { Leg, From, To, Cargo, Value, Moves, Age, ColumnCount };

// A read-only table of whole rows, as in the trader questions: a screen reader announces each
// cell with its heading, and the keyboard moves through it row by row.
QTableWidget* legsTable(QWidget* parent) {
    auto* table = new QTableWidget(0, ColumnCount, parent);
    table->setObjectName(QStringLiteral("legsTable"));
    table->setAccessibleName(QStringLiteral("Route, leg by leg"));
    table->setHorizontalHeaderLabels({QStringLiteral("Leg"), QStringLiteral("From"),
                                      QStringLiteral("To"), QStringLiteral("Cargo"),
                                      QStringLiteral("Value there"), QStringLiteral("Moves"),
                                      QStringLiteral("Age of values (hours)")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    constexpr int kCellMargins = 4;
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + kCellMargins);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return table;
}

// Figures stand right-aligned so that their digits line up.
void setCell(QTableWidget* table, int row, Column column, const std::string& text,
             const BandColour* band = nullptr) {
    auto* cell = new QTableWidgetItem(qtText(text));
    if (column == Leg || column == Value || column == Moves || column == Age)
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (band)
        paintBackground(cell, bandRgb(*band));
    table->setItem(row, column, cell);
}

}  // namespace

RoutePlannerWindow::RoutePlannerWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("routePlannerWindow"));
    setWindowTitle(QStringLiteral("Plan a Route"));

    start_ = new TradingPostPicker(this);
    start_->setObjectName(QStringLiteral("startPicker"));
    legs_ = new QSpinBox(this);
    legs_->setObjectName(QStringLiteral("legsBox"));
    legs_->setRange(1, kMaxRouteLegs);
    legs_->setValue(kDefaultLegs);
    backToStart_ = new QCheckBox(QStringLiteral("&Back to the start"), this);
    backToStart_->setObjectName(QStringLiteral("backToStartCheck"));
    eachPostOnce_ = new QCheckBox(QStringLiteral("&Visit each post at most once"), this);
    eachPostOnce_->setObjectName(QStringLiteral("eachPostOnceCheck"));
    leaveOutOld_ = new QCheckBox(QStringLiteral("Leave &out prices older than"), this);
    leaveOutOld_->setObjectName(QStringLiteral("leaveOutOldCheck"));
    maxAge_ = new QSpinBox(this);
    maxAge_->setObjectName(QStringLiteral("maxAgeBox"));
    maxAge_->setRange(0, kLongestMaxAgeHours);
    maxAge_->setValue(kDefaultMaxAgeHours);
    maxAge_->setEnabled(false);
    maxAge_->setAccessibleName(QStringLiteral("Oldest prices kept, in hours"));
    findButton_ = new QPushButton(QStringLiteral("&Find"), this);
    findButton_->setObjectName(QStringLiteral("findButton"));
    // Without a start there is no route to look for.
    findButton_->setEnabled(false);

    noRoute_ = namedLabel(QStringLiteral("noRouteLabel"), QString(), this);
    noRoute_->setWordWrap(true);
    // Reached by Tab, so that a screen reader reads why there is no route.
    noRoute_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    noRoute_->hide();
    legsTable_ = legsTable(this);

    totals_ = new QWidget(this);
    const QString wideFigure = QStringLiteral("99999999999");
    totalPayoff_ = readOnlyBox(QStringLiteral("totalPayoffBox"), wideFigure, totals_);
    totalMoves_ = readOnlyBox(QStringLiteral("totalMovesBox"), wideFigure, totals_);
    goldPerMove_ = readOnlyBox(QStringLiteral("goldPerMoveBox"), wideFigure, totals_);
    for (QLineEdit* box : {totalPayoff_, totalMoves_, goldPerMove_})
        box->setAlignment(Qt::AlignRight);
    auto* totalLine = new QHBoxLayout(totals_);
    totalLine->setContentsMargins(0, 0, 0, 0);
    totalLine->addWidget(buddyLabel(QStringLiteral("totalPayoffLabel"),
                                    QStringLiteral("Total &payoff"), totalPayoff_, totals_));
    totalLine->addWidget(totalPayoff_);
    totalLine->addWidget(buddyLabel(QStringLiteral("totalMovesLabel"),
                                    QStringLiteral("Total &moves"), totalMoves_, totals_));
    totalLine->addWidget(totalMoves_);
    totalLine->addWidget(buddyLabel(QStringLiteral("goldPerMoveLabel"),
                                    QStringLiteral("&Gold per move"), goldPerMove_, totals_));
    totalLine->addWidget(goldPerMove_);
    totalLine->addStretch(1);
    totals_->hide();

    connect(start_, &TradingPostPicker::tradingPostChosen, findButton_, &QPushButton::setEnabled);
    connect(leaveOutOld_, &QCheckBox::toggled, maxAge_, &QSpinBox::setEnabled);
    connect(findButton_, &QPushButton::clicked, this, &RoutePlannerWindow::find);

    const int gap = fontMetrics().averageCharWidth() * 3;
    auto* choices = new QHBoxLayout;
    choices->addWidget(
        buddyLabel(QStringLiteral("startLabel"), QStringLiteral("&Start at"), start_, this));
    choices->addWidget(start_);
    choices->addSpacing(gap);
    choices->addWidget(
        buddyLabel(QStringLiteral("legsLabel"), QStringLiteral("&Legs"), legs_, this));
    choices->addWidget(legs_);
    choices->addStretch(1);
    auto* filters = new QHBoxLayout;
    filters->addWidget(backToStart_);
    filters->addSpacing(gap);
    filters->addWidget(eachPostOnce_);
    filters->addSpacing(gap);
    filters->addWidget(leaveOutOld_);
    filters->addWidget(maxAge_);
    filters->addWidget(namedLabel(QStringLiteral("hoursLabel"), QStringLiteral("hours"), this));
    filters->addStretch(1);
    filters->addWidget(findButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(filters);
    layout->addWidget(noRoute_);
    layout->addWidget(
        buddyLabel(QStringLiteral("legsTableLabel"), QStringLiteral("&Route"), legsTable_, this));
    layout->addWidget(legsTable_, 1);
    layout->addWidget(totals_);

    chainTabOrder({start_, legs_, backToStart_, eachPostOnce_, leaveOutOld_, maxAge_, findButton_,
                   noRoute_, legsTable_, totalPayoff_, totalMoves_, goldPerMove_});
}

void RoutePlannerWindow::find() {
    const auto start = start_->chosenTradingPost();
    if (!start)
        return;
    RouteOptions options{*start, legs_->value(), backToStart_->isChecked(),
                         eachPostOnce_->isChecked(), std::nullopt};
    if (leaveOutOld_->isChecked())
        options.maxAgeHours = maxAge_->value();
    const RoutePlanView view =
        planRoute(context_.data, context_.platform.clock, options, localeDecimalSeparator());

    legsTable_->clearContents();
    legsTable_->setRowCount(static_cast<int>(view.legs.size()));
    for (int r = 0; r < legsTable_->rowCount(); ++r) {
        const RouteLegView& leg = view.legs[static_cast<std::size_t>(r)];
        setCell(legsTable_, r, Leg, std::to_string(leg.number));
        setCell(legsTable_, r, From, leg.from);
        setCell(legsTable_, r, To, leg.to);
        setCell(legsTable_, r, Cargo, leg.cargo);
        setCell(legsTable_, r, Value, leg.value);
        setCell(legsTable_, r, Moves, leg.moves);
        setCell(legsTable_, r, Age, leg.age.text, &leg.age.colour);
    }
    noRoute_->setText(qtText(view.noRouteText));
    noRoute_->setVisible(view.noRoute != NoRouteReason::None);
    totals_->setVisible(view.noRoute == NoRouteReason::None);
    totalPayoff_->setText(qtText(view.totalPayoff));
    totalMoves_->setText(qtText(view.totalMoves));
    goldPerMove_->setText(qtText(view.goldPerMove.text));
    paintBackground(goldPerMove_, bandRgb(view.goldPerMove.colour));

    // Once rows have arrived the table wants more room than it did empty; the window grows to
    // give it (never shrinks what the user chose).
    legsTable_->resizeColumnsToContents();
    legsTable_->setMinimumWidth(legsTable_->horizontalHeader()->length() +
                                legsTable_->verticalScrollBar()->sizeHint().width() +
                                2 * legsTable_->frameWidth());
    resize(size().expandedTo(sizeHint()));
}

}  // namespace ledgerly
