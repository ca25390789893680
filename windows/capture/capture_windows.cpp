#include "windows/capture/capture_windows.h"

#include <memory>

#include "windows/capture/auto_valuer_window.h"

namespace ledgerly {

std::function<QWidget*(QWidget* parent)> autoValuerFactory(AppContext& context) {
    // Name, password and the recognised post belong to the program, not to one Auto Valuer
    // window: closing the window and opening it again keeps them.
    auto session = std::make_shared<ValuingSession>();
    return [&context, session](QWidget* parent) -> QWidget* {
        return new AutoValuerWindow(context, *session, parent);
    };
}

}  // namespace ledgerly
