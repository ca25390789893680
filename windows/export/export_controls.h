// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What both export windows share: the editable line and the button that copies it to the
// clipboard, and a "Get" button that waits until every picker it needs has a trading post.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <initializer_list>

#include "ui/platform.h"
#include "ui/trading_post_picker.h"

namespace ledgerly {

// `txtexport`: the user may read or edit the line before copying it.
QLineEdit* makeExportLineBox(QWidget* parent);

// Puts a freshly built line into the box with its head in view: the head says what the line
// is about, and the box is seldom wide enough for all of it.
void showLine(QLineEdit* box, const QString& line);

// `Command1`: copies whatever `box` holds, edited or empty, as plain text.
QPushButton* makePutIntoClipboardButton(QLineEdit* box, Clipboard& clipboard, QWidget* parent);

// `Command2`: enabled only while each of `pickers` shows a trading post.
QPushButton* makeGetButton(std::initializer_list<TradingPostPicker*> pickers, QWidget* parent);

}  // namespace ledgerly
