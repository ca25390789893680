// The command line: --help, --version and --server HOST[:PORT]. Parsing only decides; main()
// prints and starts, so every answer can be checked without starting the program.
#pragma once

#include <QString>
#include <QStringList>

#include "ui/platform.h"

namespace ledgerly {

struct CommandLine {
    enum class Outcome { Run, ShowHelp, ShowVersion, Refused };
    Outcome outcome = Outcome::Run;
    // The help or version text for standard output, or why the arguments were refused.
    QString text;
    // Where the Auto Valuer connects; the game's own server unless --server names another.
    GameEndpoint server;
};

// Options of Qt's own (-platform, -session, ...) are only known to QApplication, which takes
// them out of the arguments as it starts. Before it has, such options must not count against
// the command line, or the answers that need no display could not be given before it starts.
enum class UnknownOptions { Allowed, Refused };

// arguments: the whole command line, the program itself first.
CommandLine parseCommandLine(const QStringList& arguments, UnknownOptions unknown);

}  // namespace ledgerly
