// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/widget_helpers.h"

#include <QColor>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTableWidgetItem>

#include "core/catalogue.h"
#include "ui/qt_text.h"

namespace ledgerly {
namespace {

QString widestOf(const QFontMetrics& metrics, const QStringList& candidates) {
    QString found;
    for (const QString& candidate : candidates) {
        if (metrics.horizontalAdvance(candidate) > metrics.horizontalAdvance(found))
            found = candidate;
    }
    return found;
}

// Black on a dark background such as pure blue is hard to read; pure red, green and yellow are
// light enough for black.
QColor readableTextOn(const QColor& background) {
    constexpr int kDarkGray = 64;
    return qGray(background.rgb()) < kDarkGray ? Qt::white : Qt::black;
}

}  // namespace

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel* buddyLabel(const QString& name, const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = namedLabel(name, text, parent);
    label->setBuddy(buddy);
    return label;
}

QLineEdit* readOnlyBox(const QString& name, const QString& widest, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    // Room for the frame and the text margins on top of the text itself.
    constexpr int kFrameAndMargins = 14;
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(widest) + kFrameAndMargins);
    return box;
}

void paintBackground(QLineEdit* box, std::uint32_t rgb) {
    const QColor background = QColor::fromRgb(rgb);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, readableTextOn(background));
    box->setPalette(palette);
    box->setAutoFillBackground(true);
}

void paintBackground(QTableWidgetItem* cell, std::uint32_t rgb) {
    const QColor background = QColor::fromRgb(rgb);
    cell->setBackground(background);
    cell->setForeground(readableTextOn(background));
}

void chainTabOrder(const std::vector<QWidget*>& widgets) {
    QWidget* previous = nullptr;
    for (QWidget* next : widgets) {
        if (!next)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

void chainTabOrder(std::initializer_list<QWidget*> widgets) {
    chainTabOrder(std::vector<QWidget*>(widgets));
}

QString widestCommodityName(const QFontMetrics& metrics) {
    QStringList names;
    for (int c = 0; c <= kCommodityCount; ++c)
        names << qtText(commodityName(c));
    return widestOf(metrics, names);
}

QString widestTownName(const QFontMetrics& metrics) {
    QStringList towns;
    for (int tp = 1; tp <= kTradingPostCount; ++tp)
        towns << qtText(tradingPost(tp).townName);
    return widestOf(metrics, towns);
}

}  // namespace ledgerly
