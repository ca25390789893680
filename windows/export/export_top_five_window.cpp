// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/export/export_top_five_window.h"

#include <QGridLayout>
#include <QLabel>

#include "rules/export/export_lines.h"
#include "ui/qt_text.h"
#include "ui/trading_post_picker.h"
#include "ui/widget_helpers.h"
#include "windows/export/export_controls.h"

namespace ledgerly {

ExportTopFiveWindow::ExportTopFiveWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("frmexportb5"));
    setWindowTitle(QStringLiteral("Top 5 non-cpk"));

    to_ = new TradingPostPicker(this);
    to_->setObjectName(QStringLiteral("Combo1"));
    to_->setAccessibleName(QStringLiteral("To trading post"));
    auto* toLabel = buddyLabel(QStringLiteral("Label1"), QStringLiteral("To"), to_, this);

    auto* get = makeGetButton({to_}, this);
    line_ = makeExportLineBox(this);
    auto* put = makePutIntoClipboardButton(line_, context_.platform.clipboard, this);
    connect(get, &QPushButton::clicked, this, &ExportTopFiveWindow::getLine);

    auto* layout = new QGridLayout(this);
    layout->addWidget(toLabel, 0, 0);
    layout->addWidget(to_, 1, 0);
    layout->addWidget(get, 1, 1, Qt::AlignLeft);
    layout->addWidget(line_, 2, 0, 1, 2);
    layout->addWidget(put, 3, 0, 1, 2, Qt::AlignLeft);
    layout->setColumnStretch(1, 1);

    chainTabOrder({to_, get, line_, put});
}

void ExportTopFiveWindow::getLine() {
    const auto to = to_->chosenTradingPost();
    if (!to)
        return;  // "Get" is disabled then; nothing to rank
    const auto line = topFiveExportLine(context_.data, context_.platform.clock, *to);
    if (line)
        showLine(line_, qtText(*line));
}

}  // namespace ledgerly
