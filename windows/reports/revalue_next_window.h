// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Revalue Next": the posts with the oldest prices first, computed when the window is made and
// on "Refresh"; "Value this post" leads on to the Auto Valuer, which recognises the post from
// the game itself. Renders what revalueNext (rules/reports/trader_questions.h) returns and keeps
// out of the reports' shared buffers.
#pragma once

#include <QWidget>

#include "ui/platform.h"
#include "ui/tool_table.h"

class QPushButton;

namespace ledgerly {

class ResultTable;

class RevalueNextWindow : public QWidget {
    Q_OBJECT
public:
    RevalueNextWindow(AppContext& context, ToolWindowHost& tools, QWidget* parent = nullptr);

private:
    void refresh();

    AppContext& context_;
    ToolWindowHost& tools_;
    ResultTable* posts_ = nullptr;
    QPushButton* valueButton_ = nullptr;
};

}  // namespace ledgerly
