// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/qt_text.h"

#include <QLocale>

namespace ledgerly {

std::string localeDecimalSeparator() {
    return QLocale().decimalPoint().toStdString();
}

}  // namespace ledgerly
