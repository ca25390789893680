// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <optional>

namespace ledgerly {
namespace {

const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");
const QString kServer = QStringLiteral("server");
const QString kPlatform = QStringLiteral("platform");
const QString kImport = QStringLiteral("import");

// The options QApplication takes out of the arguments as it starts (Qt 6 on Linux: its GUI and
// widget layers and the X11 platform). Known here, they can be told apart from mistakes before
// the application, and with it a display, exists; they stay out of --help, which is ours.
const QStringList kQtOptionsWithValue =
    QStringLiteral(
        "platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon "
        "qwindowtitle geometry icon title display name visual session style "
        "stylesheet qmljsdebugger")
        .split(u' ');
const QStringList kQtFlags =
    QStringLiteral("reverse testability widgetcount nograb dograb").split(u' ');

CommandLine refusal(const QString& program, const QString& why) {
    CommandLine line;
    line.outcome = CommandLine::Outcome::Refused;
    line.text = QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n").arg(program, why);
    return line;
}

bool isPlainNumber(const QString& text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// HOST or HOST:PORT; an IPv6 address carries its colons inside brackets when a port follows
// ([ADDRESS]:PORT) and may stand bare without one. Returns why the value is refused, if it is.
std::optional<QString> readServer(const QString& value, GameEndpoint& server) {
    QString host = value.trimmed();
    std::optional<QString> portText;
    if (host.startsWith(u'[')) {
        // Unclosed, `after` is the whole value: neither empty nor :PORT, so refused below.
        const qsizetype close = host.indexOf(u']');
        const QString after = host.mid(close + 1);
        if (after.startsWith(u':'))
            portText = after.mid(1);
        // Anything after the bracket other than :PORT is refused like a missing host.
        const bool closed = after.isEmpty() || portText;
        host = closed ? host.mid(1, close - 1) : QString();
    } else if (host.count(u':') == 1) {
        const qsizetype colon = host.indexOf(u':');
        portText = host.mid(colon + 1);
        host.truncate(colon);
    }
    if (host.isEmpty()) {
        return QStringLiteral(
                   "--server \"%1\" names no host; give HOST or HOST:PORT "
                   "(an IPv6 address with a port as [ADDRESS]:PORT).")
            .arg(value);
    }
    server.host = host;
    if (!portText)
        return std::nullopt;
    const uint port = isPlainNumber(*portText) ? portText->toUInt() : 0;  // 0 when too big
    if (port < 1 || port > 65535) {
        return QStringLiteral("--server \"%1\": the port must be a whole number from 1 to 65535.")
            .arg(value);
    }
    server.port = static_cast<quint16>(port);
    return std::nullopt;
}

// Qt picks its platform from -platform or QT_QPA_PLATFORM, else it looks for a Wayland or X11
// display, and aborts when it finds none. A platform chosen by hand is left to the user.
bool hasNoDisplay([[maybe_unused]] const QCommandLineParser& parser,
                  [[maybe_unused]] const QProcessEnvironment& environment) {
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN) || defined(Q_OS_ANDROID)
    return false;  // the window system is always there
#else
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!environment.value(QString::fromLatin1(variable)).isEmpty())
            return false;
    }
    return !parser.isSet(kPlatform);
#endif
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments, const QProcessEnvironment& environment) {
    const QString program =
        arguments.isEmpty() ? QStringLiteral("ledgerly") : QFileInfo(arguments.first()).fileName();

    QCommandLineParser parser;
    // Qt's own options are single-dash words (-platform, -reverse); read as compacted letters,
    // -reverse would ask for the version.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("%1 %2: a trade calculator for players of Caldmoor.")
            .arg(QStringLiteral(LEDGERLY_NAME), QStringLiteral(LEDGERLY_VERSION)));
    // Made here rather than with addHelpOption(), which also offers Qt's options through
    // --help-all and so needs the running application this parse comes before.
    parser.addOption({{QStringLiteral("h"), kHelp}, QStringLiteral("Show this help and quit.")});
    parser.addOption(
        {{QStringLiteral("v"), kVersion}, QStringLiteral("Show the version and quit.")});
    parser.addOption(
        {kServer,
         QStringLiteral("The game server the Auto Valuer connects to, for players "
                        "who reach the game through a proxy or a test server. "
                        "PORT is %1 unless given; without the option it is %2:%1.")
             .arg(QString::number(kGameServerPort), QString::fromLatin1(kGameServerHost)),
         QStringLiteral("HOST[:PORT]")});
    parser.addOption({kImport,
                      QStringLiteral("Open the Import Prices window on FILE, another player's "
                                     "trade values file or Ledgerly price history, as Ledgerly "
                                     "starts. Nothing is taken without pressing Import."),
                      QStringLiteral("FILE")});
    const auto addQtOption = [&parser](const QString& name, const QString& valueName) {
        QCommandLineOption option(name, QString(), valueName);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    };
    for (const QString& name : kQtOptionsWithValue)
        addQtOption(name, QStringLiteral("VALUE"));
    for (const QString& name : kQtFlags)
        addQtOption(name, QString());

    const bool parsed = parser.parse(arguments);
    CommandLine line;
    line.server = {QString::fromLatin1(kGameServerHost), kGameServerPort};
    if (parser.isSet(kHelp)) {
        line.outcome = CommandLine::Outcome::ShowHelp;
        // The parser cannot know the program's name before the application exists.
        QString help = parser.helpText();
        help.remove(0, help.indexOf(u'\n'));
        line.text = QStringLiteral("Usage: %1 [options]").arg(program) + help;
        return line;
    }
    if (parser.isSet(kVersion)) {
        line.outcome = CommandLine::Outcome::ShowVersion;
        line.text = QStringLiteral(LEDGERLY_NAME " " LEDGERLY_VERSION "\n");
        return line;
    }
    if (!parsed)
        return refusal(program, parser.errorText());
    if (!parser.positionalArguments().isEmpty()) {
        return refusal(
            program,
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    }
    if (parser.isSet(kServer)) {
        if (const auto why = readServer(parser.value(kServer), line.server))
            return refusal(program, *why);
    }
    line.importFile = parser.value(kImport);
    if (hasNoDisplay(parser, environment)) {
        line.outcome = CommandLine::Outcome::NoDisplay;
        line.text = QStringLiteral(
                        "%1: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are "
                        "unset); start it from a desktop session or under xvfb-run.\n")
                        .arg(program);
    }
    return line;
}

}  // namespace ledgerly
