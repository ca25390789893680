// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/round_trips_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "rules/reports/trader_questions.h"
#include "ui/qt_text.h"
#include "ui/trading_post_picker.h"
#include "ui/widget_helpers.h"
#include "windows/reports/result_table.h"

namespace ledgerly {

RoundTripsWindow::RoundTripsWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("roundTripsWindow"));
    setWindowTitle(QStringLiteral("Round Trips"));

    through_ = new TradingPostPicker(TradingPostPicker::Unchosen::Any, this);
    through_->setObjectName(QStringLiteral("throughPicker"));

    leaveOutOld_ = new QCheckBox(QStringLiteral("&Leave out prices older than"), this);
    leaveOutOld_->setObjectName(QStringLiteral("leaveOutOldCheck"));
    maxAge_ = new QSpinBox(this);
    maxAge_->setObjectName(QStringLiteral("maxAgeBox"));
    maxAge_->setRange(0, 99999);
    maxAge_->setValue(24);
    maxAge_->setEnabled(false);
    maxAge_->setAccessibleName(QStringLiteral("Oldest prices kept, in hours"));

    loops_ = new ResultTable(
        QStringLiteral("Loops, best per move first"),
        {QStringLiteral("From"), QStringLiteral("To"), QStringLiteral("Carry out"),
         QStringLiteral("Value there"), QStringLiteral("Carry back"), QStringLiteral("Value back"),
         QStringLiteral("Loop payoff"), QStringLiteral("Gold per move")},
        this);
    loops_->setObjectName(QStringLiteral("loopsTable"));

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
        buddyLabel(QStringLiteral("throughLabel"), QStringLiteral("&Through"), through_, this));
    filters->addWidget(through_);
    filters->addSpacing(fontMetrics().averageCharWidth() * 3);
    filters->addWidget(leaveOutOld_);
    filters->addWidget(maxAge_);
    filters->addWidget(namedLabel(QStringLiteral("hoursLabel"), QStringLiteral("hours"), this));
    filters->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(loops_, 1);

    chainTabOrder({through_, leaveOutOld_, maxAge_, loops_});
    recompute();
}

void RoundTripsWindow::recompute() {
    RoundTripFilter filter;
    filter.through = through_->chosenTradingPost();
    if (leaveOutOld_->isChecked())
        filter.maxAgeHours = maxAge_->value();
    const auto rows =
        bestRoundTrips(context_.data, context_.platform.clock, filter, localeDecimalSeparator());
    loops_->startRows(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const RoundTripRow& row = rows[static_cast<std::size_t>(r)];
        loops_->setText(r, 0, row.townA);
        loops_->setText(r, 1, row.townB);
        loops_->setText(r, 2, row.outbound);
        loops_->setFigure(r, 3, row.outboundValue);
        loops_->setText(r, 4, row.inbound);
        loops_->setFigure(r, 5, row.inboundValue);
        loops_->setFigure(r, 6, row.payoff);
        loops_->setFigure(r, 7, row.goldPerMove.text, row.goldPerMove.colour);
    }
    loops_->growToFit(this);
}

}  // namespace ledgerly
