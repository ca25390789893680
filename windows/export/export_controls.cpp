// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/export/export_controls.h"

#include <QFontMetrics>
#include <vector>

namespace ledgerly {

QLineEdit* makeExportLineBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QStringLiteral("txtexport"));
    box->setAccessibleName(QStringLiteral("Export line"));
    // Wide enough to read most of a line without scrolling.
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * 110);
    return box;
}

void showLine(QLineEdit* box, const QString& line) {
    box->setText(line);
    box->setCursorPosition(0);
}

QPushButton* makePutIntoClipboardButton(QLineEdit* box, Clipboard& clipboard, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("Put into clipboard"), parent);
    button->setObjectName(QStringLiteral("Command1"));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, box,
                     [box, &clipboard] { clipboard.setText(box->text()); });
    return button;
}

QPushButton* makeGetButton(std::initializer_list<TradingPostPicker*> pickers, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("Get"), parent);
    button->setObjectName(QStringLiteral("Command2"));
    button->setAutoDefault(false);
    const auto update = [button, all = std::vector<TradingPostPicker*>(pickers)] {
        bool ready = true;
        for (const auto* picker : all)
            ready = ready && picker->chosenTradingPost().has_value();
        button->setEnabled(ready);
    };
    for (auto* picker : pickers) {
        QObject::connect(picker, &TradingPostPicker::tradingPostChosen, button, update);
    }
    update();
    return button;
}

}  // namespace ledgerly
