// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/export/export_values_window.h"

#include <QGridLayout>
#include <QLabel>

#include "rules/export/export_lines.h"
#include "ui/qt_text.h"
#include "ui/trading_post_picker.h"
#include "ui/widget_helpers.h"
#include "windows/export/export_controls.h"

namespace ledgerly {

ExportValuesWindow::ExportValuesWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("frmexport"));
    setWindowTitle(QStringLiteral("Export"));

    from_ = new TradingPostPicker(this);
    from_->setObjectName(QStringLiteral("Combo1"));
    from_->setAccessibleName(QStringLiteral("From trading post"));
    auto* fromLabel = buddyLabel(QStringLiteral("Label1"), QStringLiteral("From"), from_, this);

    to_ = new TradingPostPicker(this);
    to_->setObjectName(QStringLiteral("Combo2"));
    to_->setAccessibleName(QStringLiteral("To trading post"));
    auto* toLabel = buddyLabel(QStringLiteral("Label22"), QStringLiteral("To"), to_, this);

    auto* get = makeGetButton({from_, to_}, this);
    line_ = makeExportLineBox(this);
    auto* put = makePutIntoClipboardButton(line_, context_.platform.clipboard, this);
    connect(get, &QPushButton::clicked, this, &ExportValuesWindow::getLine);

    auto* layout = new QGridLayout(this);
    layout->addWidget(fromLabel, 0, 0);
    layout->addWidget(toLabel, 0, 1);
    layout->addWidget(from_, 1, 0);
    layout->addWidget(to_, 1, 1);
    layout->addWidget(get, 1, 2);
    layout->addWidget(line_, 2, 0, 1, 3);
    layout->addWidget(put, 3, 0, 1, 3, Qt::AlignLeft);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    chainTabOrder({from_, to_, get, line_, put});
}

void ExportValuesWindow::getLine() {
    const auto from = from_->chosenTradingPost();
    const auto to = to_->chosenTradingPost();
    if (!from || !to)
        return;  // "Get" is disabled then; nothing to build from
    const auto line = valuesExportLine(context_.data, context_.platform.clock, *from, *to);
    if (line)
        showLine(line_, qtText(*line));
}

}  // namespace ledgerly
