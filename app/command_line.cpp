#include "app/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <optional>

namespace ledgerly {
namespace {

const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");
const QString kServer = QStringLiteral("server");

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
        const qsizetype close = host.indexOf(u']');
        const QString after = close < 0 ? QString() : host.mid(close + 1);
        if (after.startsWith(u':'))
            portText = after.mid(1);
        // Anything after the bracket other than :PORT is refused like a missing host.
        const bool closed = close > 0 && (after.isEmpty() || portText);
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

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments, UnknownOptions unknown) {
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
    // Before QApplication has started, a failure with unknown options waits for the second
    // look; a missing value or a bad server is refused at once.
    const bool mayBeQtOptions =
        unknown == UnknownOptions::Allowed && !parser.unknownOptionNames().isEmpty();
    if (!parsed && !mayBeQtOptions)
        return refusal(program, parser.errorText());
    if (unknown == UnknownOptions::Refused && !parser.positionalArguments().isEmpty()) {
        return refusal(
            program,
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    }
    if (parser.isSet(kServer)) {
        if (const auto why = readServer(parser.value(kServer), line.server))
            return refusal(program, *why);
    }
    return line;
}

}  // namespace ledgerly
