// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Small bridges from the core's std::string / std::string_view to Qt strings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace ledgerly {

inline QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The user's decimal separator, for number texts that follow the locale.
std::string localeDecimalSeparator();

}  // namespace ledgerly
