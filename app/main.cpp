// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Ledgerly: a trade calculator for players of Caldmoor.
//
// How the pieces meet: main() builds the one data module (core/trade_data.h) and the real
// platform seams (ui/platform.h), then startLedgerly() loads the trade values file
// (core/store_file.h) and shows the main window (app/main_window.h). Each main-window button opens
// a tool window registered by its area: the Auto Valuer (capture/) fills one trading post's
// prices from the game server and saves the file; the report windows (reports/) and the export
// windows (export/) read the table through plain functions that return what the window shows.
#include <QApplication>
#include <QSettings>
#include <cstdio>

#include "app/command_line.h"
#include "app/main_menu.h"
#include "app/startup.h"
#include "app/valuing_run_records.h"
#include "core/trade_data.h"
#include "ui/platform.h"

namespace {

// For a command line that does not start the program: prints its answer, returns the exit
// status. 2 is the usual status of a refused command line; 1 says the program could not start.
int answer(const ledgerly::CommandLine& line) {
    using Outcome = ledgerly::CommandLine::Outcome;
    const bool help = line.outcome == Outcome::ShowHelp || line.outcome == Outcome::ShowVersion;
    std::fputs(line.text.toLocal8Bit().constData(), help ? stdout : stderr);
    if (help)
        return 0;
    return line.outcome == Outcome::Refused ? 2 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    // The command line is answered before QApplication starts, so that help, version, a refused
    // option and a missing display are told without a window system.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ledgerly::CommandLine line =
        ledgerly::parseCommandLine(arguments, QProcessEnvironment::systemEnvironment());
    if (line.outcome != ledgerly::CommandLine::Outcome::Run)
        return answer(line);

    QApplication app(argc, argv);
    ledgerly::setUpApplication();

    ledgerly::TradeData data;
    ledgerly::QtMessageBoxes messages;
    ledgerly::SystemClipboard clipboard;
    ledgerly::SystemClock clock;
    ledgerly::Platform platform{messages,    clipboard,
                                clock,       ledgerly::defaultStorePath(),
                                line.server, std::chrono::seconds(2)};
    ledgerly::AppContext context{data, platform};

    const auto mainWindow = ledgerly::startLedgerly(context);
    // The program's one setting: the folder prices are shared through, with the player's name.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ledgerly"),
                       QStringLiteral("ledgerly"));
    const ledgerly::SystemTimeZone zone;
    ledgerly::MainMenu menu(*mainWindow, context, settings, zone);
    // A completed run goes into the price history, then to friends through the shared folder.
    ledgerly::ValuingRunRecords runRecords(context, [&menu] { menu.sharing().afterValuingRun(); });
    context.valuingRuns = &runRecords;
    menu.start();
    if (!line.importFile.isEmpty())
        menu.importFile(line.importFile);
    return QApplication::exec();
}
