#include "export/export_windows.h"

#include "export/frmexport.h"
#include "export/frmexportb5.h"

namespace ledgerly {

void addExportWindows(ToolWindowCatalogue& catalogue, AppContext& context) {
    catalogue[QStringLiteral("Command4")] = [&context](QWidget* parent) {
        return new frmexport(context, parent);
    };
    catalogue[QStringLiteral("Command7")] = [&context](QWidget* parent) {
        return new frmexportb5(context, parent);
    };
}

}  // namespace ledgerly
