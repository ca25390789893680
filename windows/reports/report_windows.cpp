#include "windows/reports/report_windows.h"

#include "windows/reports/cpm_windows.h"
#include "windows/reports/payoff_windows.h"
#include "windows/reports/run_picker_window.h"
#include "windows/reports/trader_windows.h"

namespace ledgerly {

void addReportWindows(ToolWindowCatalogue& catalogue, AppContext& context) {
    catalogue[QStringLiteral("Command2")] = [&context](QWidget* parent) -> QWidget* {
        return new AllPayoffsWindow(context, parent);
    };
    catalogue[QStringLiteral("Command3")] = [&context](QWidget* parent) -> QWidget* {
        return new TopPayoffsToPostWindow(context, parent);
    };
    catalogue[QStringLiteral("Command10")] = [&context](QWidget* parent) -> QWidget* {
        return new TopPayoffsFromPostWindow(context, parent);
    };
    catalogue[QStringLiteral("Command8")] = [&context](QWidget* parent) -> QWidget* {
        return new TopPayoffsToAnyPostWindow(context, parent);
    };
    catalogue[QStringLiteral("Command5")] = [&context](QWidget* parent) -> QWidget* {
        return new TopCpmToPostWindow(context, parent);
    };
    catalogue[QStringLiteral("Command6")] = [&context](QWidget* parent) -> QWidget* {
        return new TopCpmToAnyPostWindow(context, parent);
    };
    catalogue[QStringLiteral("Command9")] = [&context](QWidget* parent) -> QWidget* {
        return new TopCpmFromPostWindow(context, parent);
    };
    catalogue[QStringLiteral("Command11")] = [&context](QWidget* parent) -> QWidget* {
        return new RunPickerWindow(context, parent);
    };
    catalogue[QStringLiteral("Command13")] = [&context](QWidget* parent) -> QWidget* {
        return new WhereToSellWindow(context, parent);
    };
    catalogue[QStringLiteral("Command14")] = [&context](QWidget* parent) -> QWidget* {
        // The main window, which keeps the tool windows, opens the Auto Valuer; without one
        // (a window made on its own) the button does nothing.
        auto* host = dynamic_cast<ToolWindowHost*>(parent);
        auto openAutoValuer = [host] {
            if (host)
                host->openToolWindow(QLatin1String(kAutoValuerButton));
        };
        return new RevalueNextWindow(context, openAutoValuer, parent);
    };
    catalogue[QStringLiteral("Command15")] = [&context](QWidget* parent) -> QWidget* {
        return new RoundTripsWindow(context, parent);
    };
}

}  // namespace ledgerly
