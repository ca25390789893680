#include "export/export_windows.h"

namespace ledgerly {

void addExportWindows(ToolWindowCatalogue& /*catalogue*/, AppContext& /*context*/) {}

}  // namespace ledgerly
