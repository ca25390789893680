#include <QTest>

#include "app/command_line.h"

using namespace ledgerly;
using Outcome = CommandLine::Outcome;

Q_DECLARE_METATYPE(Outcome)

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    // The arguments follow the program; before QApplication has started, unknown options may
    // still be Qt's own. A refused row names what it refused in the message.
    void serversAndRefusals_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("beforeQt");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        const QString game = QString::fromLatin1(kGameServerHost);
        const int gamePort = kGameServerPort;
        QTest::newRow("none") << QStringList() << false << Outcome::Run << game << gamePort;
        QTest::newRow("host only") << QStringList{"--server", "proxy.lan"} << false << Outcome::Run
                                   << "proxy.lan" << gamePort;
        QTest::newRow("host and port") << QStringList{"--server=10.0.0.2:65535"} << false
                                       << Outcome::Run << "10.0.0.2" << 65535;
        QTest::newRow("IPv6 with port")
            << QStringList{"--server", "[::1]:1"} << false << Outcome::Run << "::1" << 1;
        QTest::newRow("IPv6 bare")
            << QStringList{"--server", "fe80::2"} << false << Outcome::Run << "fe80::2" << gamePort;
        QTest::newRow("Qt's options before Qt")
            << QStringList{"-platform", "xcb", "-reverse", "--server", "h:7"} << true
            << Outcome::Run << "h" << 7;
        for (const char* bad : {"", ":4001", "[]:4001", "h:0", "h:65536", "h:4o01", "h:", "h:-1",
                                "h:+22", "h:99999999999"}) {
            QTest::newRow(qPrintable(QStringLiteral("refused '%1'").arg(bad)))
                << QStringList{"--server", bad} << true << Outcome::Refused << bad << 0;
        }
        QTest::newRow("missing value")
            << QStringList{"--server"} << true << Outcome::Refused << "--server" << 0;
        QTest::newRow("unknown option")
            << QStringList{"-platform", "xcb"} << false << Outcome::Refused << "platform" << 0;
        QTest::newRow("stray argument") << QStringList{"tradevalues.txt"} << false
                                        << Outcome::Refused << "tradevalues.txt" << 0;
        QTest::newRow("version wins") << QStringList{"-reverse", "-v", "--server", ""} << true
                                      << Outcome::ShowVersion << "" << 0;
    }
    void serversAndRefusals() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, beforeQt);
        QFETCH(Outcome, outcome);
        QFETCH(QString, host);
        QFETCH(int, port);
        arguments.prepend(QStringLiteral("/opt/bin/ledgerly"));
        const CommandLine line = parseCommandLine(
            arguments, beforeQt ? UnknownOptions::Allowed : UnknownOptions::Refused);
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

    void helpNamesTheProgramAndItsOptions() {
        const CommandLine line =
            parseCommandLine({"/opt/bin/ledgerly-3", "--help"}, UnknownOptions::Allowed);
        QCOMPARE(line.outcome, Outcome::ShowHelp);
        QVERIFY2(line.text.contains(QStringLiteral("ledgerly-3 [options]")) &&
                     line.text.count(QStringLiteral("[options]")) == 1 &&
                     line.text.contains(QStringLiteral("--server")) &&
                     line.text.contains(QStringLiteral("--version")),
                 qPrintable(line.text));
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
