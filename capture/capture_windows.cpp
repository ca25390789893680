#include "capture/capture_windows.h"

namespace ledgerly {

void addCaptureWindows(ToolWindowCatalogue& /*catalogue*/, AppContext& /*context*/) {}

}  // namespace ledgerly
