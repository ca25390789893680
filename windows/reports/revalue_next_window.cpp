// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/revalue_next_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "rules/reports/trader_questions.h"
#include "ui/qt_text.h"
#include "ui/widget_helpers.h"
#include "windows/reports/result_table.h"

namespace ledgerly {

RevalueNextWindow::RevalueNextWindow(AppContext& context, ToolWindowHost& tools, QWidget* parent)
    : QWidget(parent), context_(context), tools_(tools) {
    setObjectName(QStringLiteral("revalueNextWindow"));
    setWindowTitle(QStringLiteral("Revalue Next"));

    posts_ = new ResultTable(QStringLiteral("Posts, oldest prices first"),
                             {QStringLiteral("Town"), QStringLiteral("List label"),
                              QStringLiteral("Age of values (hours)")},
                             this);
    posts_->setObjectName(QStringLiteral("postsTable"));
    valueButton_ = new QPushButton(QStringLiteral("&Value this post"), this);
    valueButton_->setObjectName(QStringLiteral("valueButton"));
    valueButton_->setEnabled(false);
    auto* refreshButton = new QPushButton(QStringLiteral("&Refresh"), this);
    refreshButton->setObjectName(QStringLiteral("refreshButton"));

    // The button acts for the selected row, so it waits for one.
    connect(posts_, &QTableWidget::itemSelectionChanged, valueButton_,
            [this] { valueButton_->setEnabled(!posts_->selectedItems().isEmpty()); });
    connect(valueButton_, &QPushButton::clicked, this,
            [this] { tools_.openTool(Tool::AutoValuer); });
    connect(refreshButton, &QPushButton::clicked, this, &RevalueNextWindow::refresh);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(valueButton_);
    buttons->addStretch(1);
    buttons->addWidget(refreshButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(posts_, 1);
    layout->addLayout(buttons);

    chainTabOrder({posts_, valueButton_, refreshButton});
    refresh();
}

void RevalueNextWindow::refresh() {
    const auto rows = revalueNext(context_.data, context_.platform.clock, localeDecimalSeparator());
    posts_->startRows(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const RevalueRow& row = rows[static_cast<std::size_t>(r)];
        posts_->setText(r, 0, row.town);
        posts_->setText(r, 1, row.listLabel);
        posts_->setFigure(r, 2, row.age.text, row.age.colour);
    }
    // The oldest prices are the ones to revalue next.
    posts_->selectRow(0);
    posts_->growToFit(this);
}

}  // namespace ledgerly
