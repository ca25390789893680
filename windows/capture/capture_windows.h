// The Auto Valuer, registered for the main window's "GET VALUES" button.
#pragma once

#include "ui/platform.h"
#include "ui/tool_window_catalogue.h"

namespace ledgerly {

void addCaptureWindows(ToolWindowCatalogue& catalogue, AppContext& context);

}  // namespace ledgerly
