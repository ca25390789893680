// Ledgerly: a trade calculator for players of Caldmoor.
//
// How the pieces meet: main() builds the one data module (core/trade_data.h) and the real
// platform seams (app/platform.h), then startLedgerly() loads the trade values file
// (core/store_file.h) and shows the main window (app/frmmain.h). Each main-window button opens
// a tool window registered by its area: the Auto Valuer (capture/) fills one trading post's
// prices from the game server and saves the file; the report windows (reports/) and the export
// windows (export/) read the table through plain functions that return what the window shows.
#include <QApplication>

#include "app/startup.h"
#include "core/trade_data.h"
#include "ui/platform.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ledgerly::setUpApplication();

    ledgerly::TradeData data;
    ledgerly::QtMessageBoxes messages;
    ledgerly::SystemClipboard clipboard;
    ledgerly::SystemClock clock;
    ledgerly::Platform platform{
        messages,
        clipboard,
        clock,
        ledgerly::defaultStorePath(),
        {QString::fromLatin1(ledgerly::kGameServerHost), ledgerly::kGameServerPort},
        std::chrono::seconds(2)};
    ledgerly::AppContext context{data, platform};

    const auto mainWindow = ledgerly::startLedgerly(context);
    return QApplication::exec();
}
