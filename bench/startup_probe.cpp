// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up probe for the benchmarks: does exactly what the program does at start-up (load the
// store, build and show the main window), then optionally opens every tool window, prints its
// peak resident memory and exits. With "--bare" it shows one empty window instead, as the
// baseline a Ledgerly start-up is compared against.
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "app/startup.h"
#include "core/trade_data.h"
#include "ui/platform.h"
#include "ui/tool_table.h"

namespace {

long peakResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Message boxes would wait for a person; the probe only notes them.
class SilentMessages final : public ledgerly::MessageBoxes {
public:
    using MessageBoxes::inform;
    void inform(QWidget*, const QString& text, const QString&) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const bool bare = args.contains(QStringLiteral("--bare"));
    const bool openAll = args.contains(QStringLiteral("--open-all"));

    std::unique_ptr<QWidget> bareWindow;
    ledgerly::TradeData data;
    SilentMessages messages;
    ledgerly::SystemClipboard clipboard;
    ledgerly::SystemClock clock;
    ledgerly::Platform platform{messages,
                                clipboard,
                                clock,
                                ledgerly::defaultStorePath(),
                                {QStringLiteral("127.0.0.1"), 1},
                                std::chrono::milliseconds(0)};
    ledgerly::AppContext context{data, platform};
    std::unique_ptr<ledgerly::MainWindow> mainWindow;

    if (bare) {
        bareWindow = std::make_unique<QWidget>();
        bareWindow->show();
    } else {
        mainWindow = ledgerly::startLedgerly(context);
        if (openAll) {
            for (const ledgerly::Tool tool : ledgerly::kAllTools)
                mainWindow->openTool(tool);
        }
    }
    QTimer::singleShot(0, &app, [] {
        std::printf("peak_rss_kib %ld\n", peakResidentKiB());
        std::fflush(stdout);
        QApplication::quit();
    });
    return QApplication::exec();
}
