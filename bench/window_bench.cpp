// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Creating and first showing each tool window, the way the main window does it.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "app/main_window.h"
#include "app/startup.h"
#include "bench/bench_cases.h"
#include "core/trade_data.h"
#include "ui/platform.h"
#include "ui/qt_text.h"
#include "ui/tool_table.h"

namespace ledgerly::bench {
namespace {

class QuietMessages final : public MessageBoxes {
public:
    using MessageBoxes::inform;
    void inform(QWidget*, const QString&, const QString&) override {}
};

class NoClipboard final : public Clipboard {
public:
    void setText(const QString&) override {}
};

// A window asking for another tool gets nothing while it is measured.
class NoHost final : public ToolWindowHost {
public:
    void openTool(Tool) override {}
};

}  // namespace

void runWindowBenchmarks(int runs, Reporter report) {
    QTemporaryDir home;
    TradeData data;
    QuietMessages messages;
    NoClipboard clipboard;
    SystemClock clock;
    Platform platform{messages,
                      clipboard,
                      clock,
                      home.filePath(QStringLiteral("tradevalues.txt")),
                      {QStringLiteral("127.0.0.1"), 1},
                      std::chrono::milliseconds(0)};
    AppContext context{data, platform};
    loadTradeValues(context);
    const ToolWindowFactory makeToolWindow = toolWindowFactory(context);
    NoHost host;
    QWidget parent;

    for (const Tool tool : kAllTools) {
        std::vector<double> samples;
        QString title;
        for (int r = 0; r < runs; ++r) {
            QElapsedTimer timer;
            timer.start();
            QWidget* window = makeToolWindow(tool, host, &parent);
            window->setWindowFlag(Qt::Window, true);
            window->show();
            QApplication::processEvents();
            samples.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            title = window->windowTitle();
            delete window;
        }
        std::sort(samples.begin(), samples.end());
        const double ms = samples[samples.size() / 2];
        const QString button = qtText(toolButton(tool).objectName);
        report(QStringLiteral("open window \"%1\" (%2) (ms)").arg(title, button), ms, "ms", "< 30",
               ms < 30.0);
    }
}

}  // namespace ledgerly::bench
