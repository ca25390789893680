#include "windows/export/export_windows.h"

#include "windows/export/export_top_five_window.h"
#include "windows/export/export_values_window.h"

namespace ledgerly {

void addExportWindows(ToolWindowCatalogue& catalogue, AppContext& context) {
    catalogue[QStringLiteral("Command4")] = [&context](QWidget* parent) {
        return new ExportValuesWindow(context, parent);
    };
    catalogue[QStringLiteral("Command7")] = [&context](QWidget* parent) {
        return new ExportTopFiveWindow(context, parent);
    };
}

}  // namespace ledgerly
