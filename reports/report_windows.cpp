#include "reports/report_windows.h"

namespace ledgerly {

void addReportWindows(ToolWindowCatalogue& /*catalogue*/, AppContext& /*context*/) {}

}  // namespace ledgerly
