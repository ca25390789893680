#include "reports/report_windows.h"

#include "reports/cpm_windows.h"
#include "reports/frmpick.h"
#include "reports/payoff_windows.h"

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
}

}  // namespace ledgerly
