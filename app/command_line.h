// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The command line: --help, --version, --server HOST[:PORT] and --import FILE. Parsing only
// decides; main() prints and starts, so every answer can be checked without starting the program.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include "ui/platform.h"

namespace ledgerly {

struct CommandLine {
    // NoDisplay: nothing to show the window on, so the program must not try to start.
    enum class Outcome { Run, ShowHelp, ShowVersion, Refused, NoDisplay };
    Outcome outcome = Outcome::Run;
    // The help or version text for standard output, or why the program does not start.
    QString text;
    // Where the Auto Valuer connects; the game's own server unless --server names another.
    GameEndpoint server;
    // A file of another player's prices to open the Import Prices window on; empty for none.
    QString importFile;
};

// arguments: the whole command line, the program itself first; environment: the program's,
// which tells whether a window system is there to start on.
// Everything is decided before QApplication exists: Qt's own options (-platform, -reverse, ...)
// are known here, so anything else is refused without a display, and a start that would find
// no display is stopped before Qt gives up on it with an abort.
CommandLine parseCommandLine(const QStringList& arguments, const QProcessEnvironment& environment);

}  // namespace ledgerly
