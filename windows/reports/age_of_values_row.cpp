// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/age_of_values_row.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "ui/qt_text.h"
#include "ui/widget_helpers.h"

namespace ledgerly {

AgeOfValuesRow::AgeOfValuesRow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ageOfValuesRow"));
    auto* valued = namedLabel(QStringLiteral("Label23"), QStringLiteral("Valued"), this);
    ageBox_ = readOnlyBox(QStringLiteral("Text1"), QStringLiteral("999999.99"), this);
    ageBox_->setAccessibleName(QStringLiteral("Valued hours ago"));
    valued->setBuddy(ageBox_);
    auto* hoursAgo = namedLabel(QStringLiteral("Label44"), QStringLiteral("hours ago."), this);

    auto* line = new QHBoxLayout(this);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(valued);
    line->addWidget(ageBox_);
    line->addWidget(hoursAgo);
    line->addStretch(1);
}

void AgeOfValuesRow::render(const AgeView& age) {
    ageBox_->setText(qtText(age.text));
    paintBackground(ageBox_, bandRgb(age.colour));
}

}  // namespace ledgerly
