// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/run_picker_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "rules/reports/run_picker.h"
#include "ui/qt_text.h"
#include "ui/trading_post_picker.h"
#include "ui/widget_helpers.h"

namespace ledgerly {
namespace {

QLineEdit* resultBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * 22);
    return box;
}

// A search that says nothing about a box leaves what it shows.
void showIfSet(QLineEdit* box, const std::optional<std::string>& text) {
    if (text)
        box->setText(qtText(*text));
}

}  // namespace

RunPickerWindow::RunPickerWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("frmpick"));
    setWindowTitle(QStringLiteral("Pick a Run"));

    picker_ = new TradingPostPicker(this);
    picker_->setObjectName(QStringLiteral("Combo1"));
    findButton_ = new QPushButton(QStringLiteral("Find"), this);
    findButton_->setObjectName(QStringLiteral("Command1"));
    // Without a chosen post there is nothing to search from.
    findButton_->setEnabled(picker_->chosenTradingPost().has_value());
    connect(picker_, &TradingPostPicker::tradingPostChosen, findButton_, &QPushButton::setEnabled);
    connect(findButton_, &QPushButton::clicked, this, &RunPickerWindow::findRun);

    freight_ = resultBox(QStringLiteral("txt1"), this);
    to_ = resultBox(QStringLiteral("txt2"), this);
    value_ = resultBox(QStringLiteral("txt3"), this);
    cpm_ = resultBox(QStringLiteral("txt4"), this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(buddyLabel(QStringLiteral("Label1"), QStringLiteral("From"), picker_, this), 0,
                    0);
    grid->addWidget(picker_, 0, 1);
    grid->addWidget(findButton_, 1, 1, Qt::AlignLeft);
    const struct {
        const char* name;
        const char* caption;
        QLineEdit* box;
    } results[] = {{"Label2", "Freight", freight_},
                   {"Label3", "To", to_},
                   {"Label4", "Value", value_},
                   {"Label5", "CPM", cpm_}};
    int row = 2;
    for (const auto& result : results) {
        grid->addWidget(
            buddyLabel(QLatin1String(result.name), QLatin1String(result.caption), result.box, this),
            row, 0);
        grid->addWidget(result.box, row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);

    chainTabOrder({picker_, findButton_, freight_, to_, value_, cpm_});
}

void RunPickerWindow::findRun() {
    const auto source = picker_->chosenTradingPost();
    if (!source)
        return;
    const RunPickView view = pickRun(context_.data, *source, localeDecimalSeparator());
    showIfSet(freight_, view.freight);
    showIfSet(to_, view.to);
    showIfSet(value_, view.value);
    showIfSet(cpm_, view.cpm);
}

}  // namespace ledgerly
