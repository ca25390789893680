// The clipboard export windows, registered for their main-window buttons.
#pragma once

#include "ui/platform.h"
#include "ui/tool_window_catalogue.h"

namespace ledgerly {

void addExportWindows(ToolWindowCatalogue& catalogue, AppContext& context);

}  // namespace ledgerly
