// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/main_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "ui/qt_text.h"
#include "ui/widget_helpers.h"

namespace ledgerly {
namespace {

std::size_t indexOf(Tool tool) {
    return static_cast<std::size_t>(tool);
}

QFrame* dividingLine(QFrame::Shape shape, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// The tools as the buttons stand on the face, row by row and left to right, which is the order
// in which a screen reader's review meets them.
std::array<Tool, kToolCount> inReadingOrder() {
    std::array<Tool, kToolCount> tools = kAllTools;
    std::stable_sort(tools.begin(), tools.end(), [](Tool a, Tool b) {
        const ToolButton x = toolButton(a), y = toolButton(b);
        return x.row != y.row ? x.row < y.row : x.column < y.column;
    });
    return tools;
}

}  // namespace

MainWindow::MainWindow(ToolWindowFactory makeToolWindow, QWidget* parent)
    : QWidget(parent), makeToolWindow_(std::move(makeToolWindow)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Ledgerly"));

    auto* grid = new QGridLayout;
    std::map<int, QHBoxLayout*> sharedRows;
    for (const Tool tool : inReadingOrder()) {
        const ToolButton face = toolButton(tool);
        auto* button = new QPushButton(qtText(face.caption), this);
        button->setObjectName(qtText(face.objectName));
        button->setAutoDefault(false);
        if (face.prominent) {
            QFont bold = button->font();
            bold.setPointSize(12);
            bold.setBold(true);
            button->setFont(bold);
        }
        connect(button, &QPushButton::clicked, this, [this, tool] { openTool(tool); });
        buttons_[indexOf(tool)] = button;

        switch (face.column) {
            case ButtonColumn::Left:
                grid->addWidget(button, face.row, 0);
                break;
            case ButtonColumn::Right:
                grid->addWidget(button, face.row, 2);
                break;
            case ButtonColumn::Centred:
                grid->addWidget(button, face.row, 0, 1, 3, Qt::AlignHCenter);
                break;
            case ButtonColumn::Shared: {
                QHBoxLayout*& row = sharedRows[face.row];
                if (!row)
                    row = new QHBoxLayout;
                row->addWidget(button);
                break;
            }
        }
    }
    // A line under the top row, an upright line between the report columns and a line above
    // the clipboard row.
    grid->addWidget(dividingLine(QFrame::HLine, this), 1, 0, 1, 3);
    grid->addWidget(dividingLine(QFrame::VLine, this), 2, 1, 3, 1);
    grid->addWidget(dividingLine(QFrame::HLine, this), 5, 0, 1, 3);
    for (const auto& [row, buttons] : sharedRows)
        grid->addLayout(buttons, row, 0, 1, 3);

    auto* foot = new QLabel(
        QStringLiteral(LEDGERLY_NAME " Version " LEDGERLY_VERSION
                                     " - made by the Ledgerly team for Caldmoor's traders"),
        this);
    foot->setObjectName(QStringLiteral("versionLabel"));
    foot->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(foot);

    chainTabOrder(std::vector<QWidget*>(buttons_.begin(), buttons_.end()));
}

QPushButton* MainWindow::button(Tool tool) const {
    return buttons_[indexOf(tool)];
}

QWidget* MainWindow::toolWindow(Tool tool) const {
    return windows_[indexOf(tool)].data();
}

void MainWindow::openTool(Tool tool) {
    QPointer<QWidget>& window = windows_[indexOf(tool)];
    if (!window) {
        window = makeToolWindow_(tool, *this, this);
        if (!window)
            return;
        window->setWindowFlag(Qt::Window, true);
        // A window the user closes is discarded; the next click makes it afresh.
        window->setAttribute(Qt::WA_DeleteOnClose, true);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, tool windows included.
    for (const QPointer<QWidget>& window : windows_) {
        if (window)
            window->close();
    }
    event->accept();
}

}  // namespace ledgerly
