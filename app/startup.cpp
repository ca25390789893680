// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <filesystem>

#include "core/store_file.h"
#include "core/trade_data.h"
#include "windows/capture/capture_windows.h"
#include "windows/export/export_top_five_window.h"
#include "windows/export/export_values_window.h"
#include "windows/history/price_history_window.h"
#include "windows/reports/all_payoffs_window.h"
#include "windows/reports/revalue_next_window.h"
#include "windows/reports/round_trips_window.h"
#include "windows/reports/route_planner_window.h"
#include "windows/reports/run_picker_window.h"
#include "windows/reports/top_cpm_from_post_window.h"
#include "windows/reports/top_cpm_to_any_post_window.h"
#include "windows/reports/top_cpm_to_post_window.h"
#include "windows/reports/top_payoffs_from_post_window.h"
#include "windows/reports/top_payoffs_to_any_post_window.h"
#include "windows/reports/top_payoffs_to_post_window.h"
#include "windows/reports/where_to_sell_window.h"

namespace ledgerly {

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("ledgerly"));
    // Names the desktop entry, through which Wayland finds the windows' icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(LEDGERLY_APP_ID));
    // Deliberately no display name: Windows and X11 append one to every window title and
    // message box caption ("Finished! - Ledgerly"), and those must read exactly as each window
    // sets them. The main window's own title already names the program.
    //
    // Fusion paints text boxes in the palette colours the reports set, on every platform.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

void loadTradeValues(AppContext& context) {
    const QString path = context.platform.storePath;
    const std::filesystem::path storePath(path.toStdU16String());
    const StartupLoad load = loadStoreAtStartup(storePath, context.data);
    if (!load.problem)
        return;

    const QString reason = QString::fromStdString(*load.problem);
    const QString shown = QDir::toNativeSeparators(path);
    const QString text =
        load.createdFile ? QStringLiteral(
                               "The trade values file %1 could not be created (%2).\n\n"
                               "Ledgerly will run with never-valued prices; values you capture "
                               "are saved when a valuing run completes, if the file can be "
                               "written then.")
                               .arg(shown, reason)
                         : QStringLiteral(
                               "The trade values file %1 could not be used (%2).\n\n"
                               "Ledgerly has started with never-valued prices and has left the "
                               "file as it is. Repair or remove it and start Ledgerly again to "
                               "use your saved prices; a completed valuing run will replace it.")
                               .arg(shown, reason);
    context.platform.messages.inform(nullptr, text);
}

ToolWindowFactory toolWindowFactory(AppContext& context) {
    return [&context, makeAutoValuer = autoValuerFactory(context)](Tool tool, ToolWindowHost& host,
                                                                   QWidget* parent) -> QWidget* {
        switch (tool) {
            case Tool::AutoValuer:
                return makeAutoValuer(parent);
            case Tool::AllPayoffs:
                return new AllPayoffsWindow(context, parent);
            case Tool::TopPayoffsToPost:
                return new TopPayoffsToPostWindow(context, parent);
            case Tool::TopPayoffsFromPost:
                return new TopPayoffsFromPostWindow(context, parent);
            case Tool::TopPayoffsToAnyPost:
                return new TopPayoffsToAnyPostWindow(context, parent);
            case Tool::TopCpmToPost:
                return new TopCpmToPostWindow(context, parent);
            case Tool::TopCpmFromPost:
                return new TopCpmFromPostWindow(context, parent);
            case Tool::TopCpmToAnyPost:
                return new TopCpmToAnyPostWindow(context, parent);
            case Tool::RunPicker:
                return new RunPickerWindow(context, parent);
            case Tool::ExportValues:
                return new ExportValuesWindow(context, parent);
            case Tool::ExportTopFive:
                return new ExportTopFiveWindow(context, parent);
            case Tool::WhereToSell:
                return new WhereToSellWindow(context, parent);
            case Tool::RevalueNext:
                return new RevalueNextWindow(context, host, parent);
            case Tool::RoundTrips:
                return new RoundTripsWindow(context, parent);
            case Tool::PlanRoute:
                return new RoutePlannerWindow(context, parent);
            case Tool::PriceHistory:
                return new PriceHistoryWindow(context, parent);
        }
        return nullptr;
    };
}

std::unique_ptr<MainWindow> startLedgerly(AppContext& context) {
    loadTradeValues(context);
    auto window = std::make_unique<MainWindow>(toolWindowFactory(context));
    window->show();
    return window;
}

}  // namespace ledgerly
