// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window: one button for each tool of the tool table (ui/tool_table.h), laid out as the
// table says. A tool window is made on the first click; while it is open a click only shows and
// raises it; once the user closes it, it is gone and the next click makes it afresh.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

#include "ui/tool_table.h"

class QPushButton;

namespace ledgerly {

class MainWindow : public QWidget, public ToolWindowHost {
    Q_OBJECT
public:
    explicit MainWindow(ToolWindowFactory makeToolWindow, QWidget* parent = nullptr);

    QPushButton* button(Tool tool) const;
    // The tool's live window, or null when none is open.
    QWidget* toolWindow(Tool tool) const;
    void openTool(Tool tool) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ToolWindowFactory makeToolWindow_;
    std::array<QPushButton*, kToolCount> buttons_{};
    std::array<QPointer<QWidget>, kToolCount> windows_{};
};

}  // namespace ledgerly
