// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Small builders every window uses, so that labels, read-only result boxes, colour bands and tab
// chains look and behave the same everywhere.
#pragma once

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <vector>

class QFontMetrics;
class QLabel;
class QLineEdit;
class QTableWidgetItem;
class QWidget;

namespace ledgerly {

// A label with a fixed text, named `name`.
QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent);

// A label that names `buddy` for screen readers and moves the focus to it on its mnemonic.
QLabel* buddyLabel(const QString& name, const QString& text, QWidget* buddy, QWidget* parent);

// A read-only box named `name`, wide enough to show `widest` in full.
QLineEdit* readOnlyBox(const QString& name, const QString& widest, QWidget* parent);

// Paints a box's background in `rgb` (0xRRGGBB) and keeps its text readable on it.
void paintBackground(QLineEdit* box, std::uint32_t rgb);
void paintBackground(QTableWidgetItem* cell, std::uint32_t rgb);

// Tab from each widget to the next, in the order given; null entries are skipped.
void chainTabOrder(std::initializer_list<QWidget*> widgets);
void chainTabOrder(const std::vector<QWidget*>& widgets);

// The commodity name and the town name that take the most room in this font.
QString widestCommodityName(const QFontMetrics& metrics);
QString widestTownName(const QFontMetrics& metrics);

}  // namespace ledgerly
