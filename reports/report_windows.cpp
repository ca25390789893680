#include "reports/report_windows.h"

#include "reports/cpm_windows.h"
#include "reports/frmpick.h"
#include "reports/payoff_windows.h"
#include "reports/trader_windows.h"

namespace ledgerly {

void addReportWindows(ToolWindowCatalogue& catalogue, AppContext& context) {
    catalogue[QStringLiteral("Command2")] = [&context](QWidget* parent) -> QWidget* {
        return new frmallvalues(context, parent);
    };
    catalogue[QStringLiteral("Command3")] = [&context](QWidget* parent) -> QWidget* {
        return new frmtop20(context, parent);
    };
    catalogue[QStringLiteral("Command10")] = [&context](QWidget* parent) -> QWidget* {
        return new frmtop40from(context, parent);
    };
    catalogue[QStringLiteral("Command8")] = [&context](QWidget* parent) -> QWidget* {
        return new frmtop40all(context, parent);
    };
    catalogue[QStringLiteral("Command5")] = [&context](QWidget* parent) -> QWidget* {
        return new frmtop40cpm(context, parent);
    };
    catalogue[QStringLiteral("Command6")] = [&context](QWidget* parent) -> QWidget* {
        return new frmtop40cpmall(context, parent);
    };
    catalogue[QStringLiteral("Command9")] = [&context](QWidget* parent) -> QWidget* {
        return new frmtop40cpmfrom(context, parent);
    };
    catalogue[QStringLiteral("Command11")] = [&context](QWidget* parent) -> QWidget* {
        return new frmpick(context, parent);
    };
    catalogue[QStringLiteral("Command13")] = [&context](QWidget* parent) -> QWidget* {
        return new frmwheresell(context, parent);
    };
    catalogue[QStringLiteral("Command14")] = [&context](QWidget* parent) -> QWidget* {
        // The main window, which keeps the tool windows, opens the Auto Valuer; without one
        // (a window made on its own) the button does nothing.
        auto* host = dynamic_cast<ToolWindowHost*>(parent);
        auto openAutoValuer = [host] {
            if (host)
                host->openToolWindow(QLatin1String(kAutoValuerButton));
        };
        return new frmrevalue(context, openAutoValuer, parent);
    };
    catalogue[QStringLiteral("Command15")] = [&context](QWidget* parent) -> QWidget* {
        return new frmroundtrips(context, parent);
    };
}

}  // namespace ledgerly
