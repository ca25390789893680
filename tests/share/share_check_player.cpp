// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One player's Ledgerly for scripts/sync_check.sh, without a display and without a person:
//   share_check_player import DATA FOLDER PLAYER FILE   imports FILE and shares it through FOLDER
//   share_check_player take DATA FOLDER PLAYER SECONDS  waits for fresher prices from FOLDER, at
//                                                       most SECONDS, and takes them
// DATA is the player's data folder (store, history, settings). It starts Ledgerly's main window
// with its menu and clicks where a person clicks; the exit status says whether it worked.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <cstdio>

#include "app/main_menu.h"
#include "app/startup.h"
#include "support/test_platform.h"
#include "support/wait_until.h"

using namespace ledgerly;

namespace {

void say(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// Presses Import in the Import Prices window, with the ticks as they stand.
bool pressImport(MainMenu& menu, const testing::RecordingMessages& messages) {
    if (!menu.importWindow() || !menu.importWindow()->importButton()->isEnabled()) {
        say(QStringLiteral("no Import Prices window with posts ticked to import"));
        return false;
    }
    menu.importWindow()->importButton()->click();
    for (const auto& message : messages.shown)
        say(message.text);
    return messages.shown.size() == 1 &&
           messages.shown[0].text.startsWith(QStringLiteral("Prices of"));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 6 ||
        (arguments[1] != QStringLiteral("import") && arguments[1] != QStringLiteral("take"))) {
        say(QStringLiteral(
            "usage: share_check_player import|take DATA FOLDER PLAYER FILE|SECONDS"));
        return 2;
    }
    const QDir data(arguments[2]);
    TradeData tradeData;
    testing::RecordingMessages messages;
    testing::RecordingClipboard clipboard;
    SystemClock clock;
    Platform platform{messages,       clipboard,
                      clock,          data.filePath(QStringLiteral("tradevalues.txt")),
                      GameEndpoint{}, {}};
    AppContext context{tradeData, platform};
    QSettings settings(data.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    const SystemTimeZone zone;
    const auto window = startLedgerly(context);
    MainMenu menu(*window, context, settings, zone);
    QObject::connect(&menu.sharing(), &PriceSharing::problemsChanged, &app, &say);
    menu.sharing().setChoice(SharingChoice{arguments[3], arguments[4]});

    if (arguments[1] == QStringLiteral("import")) {
        menu.importFile(arguments[5]);
        return pressImport(menu, messages) ? 0 : 1;
    }
    const int seconds = arguments[5].toInt();
    QElapsedTimer waited;
    waited.start();
    menu.start();
    if (!testing::waitUntil([&] { return menu.reviewButton()->isVisible(); }, seconds * 1000)) {
        say(QStringLiteral("no fresher prices offered within %1 s").arg(seconds));
        return 1;
    }
    say(QStringLiteral("\"%1\" after %2 s")
            .arg(menu.offerLine()->text())
            .arg(static_cast<double>(waited.elapsed()) / 1000.0, 0, 'f', 1));
    menu.reviewButton()->click();
    return pressImport(menu, messages) ? 0 : 1;
}
