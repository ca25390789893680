// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Valued [Text1] hours ago.": the age of the chosen post's values in a read-only box on its band.
#pragma once

#include <QWidget>

#include "rules/reports/age_of_values.h"

class QLineEdit;

namespace ledgerly {

class AgeOfValuesRow : public QWidget {
    Q_OBJECT
public:
    explicit AgeOfValuesRow(QWidget* parent = nullptr);
    void render(const AgeView& age);
    QLineEdit* ageBox() const { return ageBox_; }

private:
    QLineEdit* ageBox_ = nullptr;
};

}  // namespace ledgerly
