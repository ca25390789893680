// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/command_line.h"

using namespace ledgerly;
using Outcome = CommandLine::Outcome;

Q_DECLARE_METATYPE(Outcome)

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    // The arguments follow the program; the environment is "NAME=value" entries, none at all
    // a session without any display. A refused row names what it refused in the message.
    void outcomes_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        const QString game = QString::fromLatin1(kGameServerHost);
        const int gamePort = kGameServerPort;
        const QStringList x11{"DISPLAY=:0"};
        QTest::newRow("none") << QStringList() << x11 << Outcome::Run << game << gamePort;
        QTest::newRow("host only") << QStringList{"--server", "proxy.lan"} << x11 << Outcome::Run
                                   << "proxy.lan" << gamePort;
        QTest::newRow("host and port")
            << QStringList{"--server=10.0.0.2:65535"} << x11 << Outcome::Run << "10.0.0.2" << 65535;
        QTest::newRow("[address]:port") << QStringList{"--server", "[2001:db8::7]:1"} << x11
                                        << Outcome::Run << "2001:db8::7" << 1;
        QTest::newRow("[address] alone")
            << QStringList{"--server", "[::1]"} << x11 << Outcome::Run << "::1" << gamePort;
        QTest::newRow("IPv6 bare")
            << QStringList{"--server", "fe80::2"} << x11 << Outcome::Run << "fe80::2" << gamePort;
        QTest::newRow("Qt's options and their values")
            << QStringList{"-platform", "xcb", "-reverse", "--style", "fusion", "--server", "h:90"}
            << x11 << Outcome::Run << "h" << 90;
        for (const char* bad : {"", ":4001", "[]:4001", "h:0", "h:65536", "h:4o01", "h:", "h:-1",
                                "h:+22", "h:99999999999", "[::1", "[::1]4001", "[::1]:"}) {
            QTest::newRow(qPrintable(QStringLiteral("refused '%1'").arg(bad)))
                << QStringList{"--server", bad} << x11 << Outcome::Refused << bad << 0;
        }
        QTest::newRow("missing value")
            << QStringList{"--server"} << x11 << Outcome::Refused << "--server" << 0;
        QTest::newRow("Qt's option without its value")
            << QStringList{"-platform"} << x11 << Outcome::Refused << "-platform" << 0;
        QTest::newRow("unknown option")
            << QStringList{"--servers", "h"} << x11 << Outcome::Refused << "servers" << 0;
        QTest::newRow("stray argument")
            << QStringList{"tradevalues.txt"} << x11 << Outcome::Refused << "tradevalues.txt" << 0;
        QTest::newRow("version wins") << QStringList{"-reverse", "-v", "--bogus", "--server", ""}
                                      << QStringList() << Outcome::ShowVersion << "" << 0;
        QTest::newRow("refusal before the display")
            << QStringList{"-reverse", "--bogus"} << QStringList() << Outcome::Refused << "bogus"
            << 0;
        QTest::newRow("no display")
            << QStringList{"-reverse"} << QStringList{"DISPLAY="} << Outcome::NoDisplay << "" << 0;
        QTest::newRow("Wayland") << QStringList() << QStringList{"WAYLAND_DISPLAY=wayland-0"}
                                 << Outcome::Run << game << gamePort;
        QTest::newRow("platform from the environment")
            << QStringList() << QStringList{"QT_QPA_PLATFORM=offscreen"} << Outcome::Run << game
            << gamePort;
        QTest::newRow("platform from the command line")
            << QStringList{"-platform", "offscreen"} << QStringList() << Outcome::Run << game
            << gamePort;
    }
    void outcomes() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        QFETCH(Outcome, outcome);
        QFETCH(QString, host);
        QFETCH(int, port);
        QProcessEnvironment variables;
        for (const QString& entry : environment)
            variables.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
        arguments.prepend(QStringLiteral("/opt/bin/ledgerly"));
        const CommandLine line = parseCommandLine(arguments, variables);
        QCOMPARE(line.outcome, outcome);
        if (outcome == Outcome::Run) {
            QCOMPARE(line.server.host, host);
            QCOMPARE(line.server.port, port);
            QVERIFY(line.text.isEmpty());
        } else if (outcome == Outcome::Refused) {
            QVERIFY2(line.text.contains(QStringLiteral("\"%1\"").arg(host)) ||
                         line.text.contains(QStringLiteral("'%1'").arg(host)),
                     qPrintable(line.text));
        }
    }

    // The built program, started as a user would start it where no window system runs: what it
    // prints on standard output and standard error, and its exit status.
    void program_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("errors");
        const QString nothing = QStringLiteral("^$");
        QTest::newRow("version") << QStringList{"--version"} << 0
                                 << QStringLiteral("^" LEDGERLY_NAME " %1\\n$")
                                        .arg(QRegularExpression::escape(
                                            QStringLiteral(LEDGERLY_VERSION)))
                                 << nothing;
        QTest::newRow("help, without Qt's options")
            << QStringList{"-h"} << 0
            << QStringLiteral(
                   "(?s)^(?!.*platform)Usage: ledgerly \\[options\\]\\n.*-h, --help"
                   ".*-v, --version.*--server <HOST\\[:PORT\\]>")
            << nothing;
        QTest::newRow("unknown option")
            << QStringList{"-reverse", "--bogus"} << 2 << nothing
            << QStringLiteral("^ledgerly: [^\\n]*'bogus'[^\\n]*\\n[^\\n]*--help");
        QTest::newRow("plain start") << QStringList() << 1 << nothing
                                     << QStringLiteral("^ledgerly: [^\\n]*xvfb-run[^\\n]*\\n$");
    }
    void program() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QString, errors);
        // Should a fault let the program start after all, it finds none of the user's files.
        const QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(variable));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());

        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LEDGERLY_PROGRAM), arguments);
        QVERIFY2(process.waitForFinished(60000), "the program did not stop by itself");
        const QString standardOutput = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString standardError = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY2(QRegularExpression(output).match(standardOutput).hasMatch(),
                 qPrintable(standardOutput));
        QVERIFY2(QRegularExpression(errors).match(standardError).hasMatch(),
                 qPrintable(standardError));
        QCOMPARE(process.exitCode(), status);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
