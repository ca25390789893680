// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QTest>
#include <array>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "core/price_history.h"
#include "core/store_file.h"
#include "rules/share/price_import.h"
#include "rules/share/share_folder.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;
namespace fs = std::filesystem;
using namespace std::chrono;

Q_DECLARE_METATYPE(LocalDateTime)

namespace {

UtcSeconds at(int y, int mo, int d, int h, int mi = 0) {
    return sys_days(year{y} / mo / d) + hours(h) + minutes(mi);
}

// The test clock's now, 6 December 2026 12:00 local, on the hour clock:
// ((2026 - 2003) * 365 + 334 + 6) * 24 + 12.
constexpr float kNow = 209652.0F;

// Post 5's prices as another player holds them: 100, 101, ... with `stamp`.
TradeData theirTable(float stamp) {
    TradeData theirs;
    setNeverValued(theirs);
    for (int c = 1; c <= kCommodityCount; ++c)
        theirs.setValue(5, c, static_cast<float>(99 + c));
    theirs.setStamp(5, stamp);
    return theirs;
}

std::array<int, 6> fields(const LocalDateTime& t) {
    return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

PriceSnapshot snapshotOf(int tp, UtcSeconds time, float firstPrice,
                         std::string source = "shared: alice") {
    PriceSnapshot snapshot{time, tp, std::move(source), {}};
    for (int c = 1; c <= kCommodityCount; ++c)
        snapshot.prices[static_cast<std::size_t>(c)] = firstPrice + static_cast<float>(c - 1);
    return snapshot;
}

// A price history's text: the header, then a row for each snapshot.
std::string historyText(const std::vector<PriceSnapshot>& snapshots) {
    std::string text = priceHistoryHeader();
    for (const PriceSnapshot& snapshot : snapshots)
        text += priceHistoryRow(snapshot);
    return text;
}

}  // namespace

class ShareRulesTest : public QObject {
    Q_OBJECT
private slots:
    // The player lives two hours east of UTC (no zone files needed for a POSIX rule), so that
    // local and UTC times differ: the test clock's noon is 10:00Z.
    void initTestCase() {
        qputenv("TZ", "<+02>-2");
        tzset();
    }

    // A stamp read back as the local time it was taken at; the hour clock's years have 365 days.
    void hourClockReadBack_data() {
        QTest::addColumn<float>("stamp");
        QTest::addColumn<LocalDateTime>("local");
        QTest::newRow("the last day of a year")
            << 201503.5F << LocalDateTime{2025, 12, 31, 23, 30, 0};  // (334 + 31 + 22 * 365) * 24
        QTest::newRow("the first day of the next")
            << 201504.25F << LocalDateTime{2026, 1, 1, 0, 15, 0};
        QTest::newRow("29 February stamped as 1 March")
            << 185400.0F << LocalDateTime{2024, 3, 1, 0, 0, 0};  // (31 + 29 + 21 * 365) * 24
    }
    void hourClockReadBack() {
        QFETCH(float, stamp);
        QFETCH(LocalDateTime, local);
        QCOMPARE(fields(localTimeOfHourClock(stamp)), fields(local));
    }

    // The system's zone, with its summer time: Central European, as a POSIX rule (no zone files).
    void systemZone() {
        const QByteArray before = qgetenv("TZ");
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        tzset();
        const SystemTimeZone zone;
        const auto summer = fields(zone.local(at(2026, 7, 1, 10)));
        const auto winter = fields(zone.local(at(2026, 12, 6, 10, 30)));
        const auto utc =
            std::array{zone.utc({2026, 7, 1, 12, 0, 0}), zone.utc({2026, 12, 6, 11, 30, 0})};
        before.isNull() ? qunsetenv("TZ") : qputenv("TZ", before);
        tzset();
        QCOMPARE(summer, fields({2026, 7, 1, 12, 0, 0}));
        QCOMPARE(winter, fields({2026, 12, 6, 11, 30, 0}));
        QCOMPARE(utc, (std::array{at(2026, 7, 1, 10), at(2026, 12, 6, 10, 30)}));
    }

    // The fresher side decides what "take theirs" starts with: trade values files by stamp;
    // snapshots by UTC, yours by your history row or else your stamp in your time zone.
    void fresherWins_data() {
        QTest::addColumn<float>("yourStamp");
        QTest::addColumn<qint64>("yourRowMinute");  // minutes after 10:00Z; -1: no history row
        QTest::addColumn<float>("theirStamp");      // their trade values file's
        QTest::addColumn<qint64>("theirMinute");    // else their snapshot's, minutes after 10:00Z
        QTest::addColumn<bool>("fresher");
        QTest::addColumn<bool>("ahead");
        QTest::addColumn<double>("theirAge");  // -1: never valued
        QTest::newRow("equal stamps keep yours")
            << 209640.0F << -1LL << 209640.0F << -1LL << false << false << 12.0;
        QTest::newRow("their never valued offers nothing")
            << 10.0F << -1LL << 10.0F << -1LL << false << false << -1.0;
        QTest::newRow("anything beats your never valued")
            << 10.0F << -1LL << 24.0F << -1LL << true << false << 209628.0;
        QTest::newRow("a stamp ahead of your clock is marked")
            << 209640.0F << -1LL << 209655.5F << -1LL << true << true << -3.5;
        QTest::newRow("equal UTC times keep yours")
            << 10.0F << -90LL << 0.0F << -90LL << false << false << 1.5;
        QTest::newRow("your row counts over an older stamp")
            << 209600.0F << -30LL << 0.0F << -60LL << false << false << 1.0;
        // 11:30 local is 09:30Z: a row of 09:45Z is fresher though "09:45" reads earlier.
        QTest::newRow("a UTC row beats a later-looking local stamp")
            << 209651.5F << -1LL << 0.0F << -15LL << true << false << 0.25;
        QTest::newRow("a row from another zone loses to a later stamp")
            << 209651.5F << -1LL << 0.0F << -45LL << false << false << 0.75;
        QTest::newRow("a row ahead of your clock is marked")
            << 209651.0F << -1LL << 0.0F << 30LL << true << true << -0.5;
    }
    void fresherWins() {
        QFETCH(float, yourStamp);
        QFETCH(qint64, yourRowMinute);
        QFETCH(float, theirStamp);
        QFETCH(qint64, theirMinute);
        QFETCH(bool, fresher);
        QFETCH(bool, ahead);
        QFETCH(double, theirAge);
        const SystemTimeZone zone;
        const UtcSeconds tenZulu = at(2026, 12, 6, 10);
        TradeData yours;
        setNeverValued(yours);
        yours.setStamp(5, yourStamp);
        std::vector<PriceSnapshot> history;
        if (yourRowMinute != -1)
            history.push_back(snapshotOf(5, tenZulu + minutes(yourRowMinute), 1));
        const PriceOffer offer =
            theirMinute == -1
                ? offerFromTradeValues(storeText(theirTable(theirStamp)), "a.txt")
                      .offer.value_or(PriceOffer{})
                : offerFromSnapshots({snapshotOf(5, tenZulu + minutes(theirMinute), 100)});
        const auto plan =
            planImport(offer, yours, yourTimes(yours, history, zone), FixedClock(), zone);
        QCOMPARE(plan.size(), std::size_t{kTradingPostCount});
        const ImportRow& row = plan[4];
        QCOMPARE((std::array{row.fresher, row.theirsAhead}), (std::array{fresher, ahead}));
        QCOMPARE(row.theirAge.value_or(-1.0), theirAge);
        QCOMPARE(row.differing, theirAge == -1.0 ? 0 : kCommodityCount);
        // The other posts are never valued on both sides.
        QVERIFY(!plan[3].fresher && !plan[3].yourAge && !plan[3].theirAge);
    }

    // Taking prices: the backup first, then the store; nothing changes when either fails.
    void takeOffer_data() {
        QTest::addColumn<bool>("backupBlocked");
        QTest::addColumn<bool>("storeBlocked");
        QTest::newRow("taken") << false << false;
        QTest::newRow("no backup, no change") << true << false;
        QTest::newRow("store not saved, no change") << false << true;
    }
    void takeOffer() {
        QFETCH(bool, backupBlocked);
        QFETCH(bool, storeBlocked);
        TestContext test;
        const fs::path store = test.storeFile.toStdString();
        TradeData& data = test.data;
        setNeverValued(data);
        data.setValue(5, 1, 7.0F);
        data.setStamp(5, 209000.0F);
        QVERIFY(!saveStore(store, data));
        const std::string original = storeText(data);
        writeAll(importBackupPath(store), "an older backup");  // from a first import

        TradeData theirs = theirTable(209650.0F);
        theirs.setValue(5, 2, 0.25F);    // raised to 1, as at start-up
        theirs.setValue(6, 1, 9.0F);     // never valued there: not offered
        theirs.setStamp(19, 209700.0F);  // ahead of the clock: taken as now
        const OfferRead read = offerFromTradeValues(storeText(theirs), "bob.txt");
        QVERIFY(read.offer);
        if (backupBlocked) {
            fs::remove(importBackupPath(store));
            fs::create_directory(importBackupPath(store));
        }
        if (storeBlocked) {
            fs::remove(store);
            fs::create_directories(store / "x");  // a folder in the way cannot be replaced
        }
        const TradeData before = data;
        const ImportResult result =
            ledgerly::takeOffer(*read.offer, {5, 6, 19}, data, store, test.clock, SystemTimeZone());
        QCOMPARE(result.failure.has_value(), backupBlocked || storeBlocked);
        if (result.failure) {
            QVERIFY(result.taken.empty());
            QCOMPARE(storeText(data), storeText(before));
            QVERIFY(storeBlocked || bytesOf(store) == original);
            return;
        }
        QCOMPARE(bytesOf(importBackupPath(store)), original);
        QCOMPARE(bytesOf(store), storeText(data));
        QCOMPARE(
            (std::array{data.value(5, 1), data.value(5, 2), data.value(5, 88), data.value(6, 1)}),
            (std::array{100.0F, 1.0F, 187.0F, 1.0F}));
        QCOMPARE((std::array{data.stamp(5), data.stamp(19)}), (std::array{209650.0F, kNow}));
        // 209650 on the hour clock is 10:00 local, 08:00Z in UTC+2; now is 10:00Z.
        QCOMPARE(result.taken.size(), std::size_t{2});
        QCOMPARE((std::array{result.taken[0].time, result.taken[1].time}),
                 (std::array{at(2026, 12, 6, 8), at(2026, 12, 6, 10)}));
    }

    // Whose file is whose; sync programs' conflict copies and partial files are nobody's.
    void sharingPlayer_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("player");
        QTest::newRow("a player's file") << "alice.ledgerly.csv" << QStringLiteral("alice");
        QTest::newRow("a name beyond ASCII") << "Zoë.ledgerly.csv" << QStringLiteral("Zoë");
        QTest::newRow("Syncthing's conflict copy")
            << "alice.ledgerly.sync-conflict-20261207-023015-ABCDEFG.csv" << QString();
        QTest::newRow("a conflicted copy named in front")
            << "alice (Bob's conflicted copy 2026-12-07).ledgerly.csv" << QString();
        QTest::newRow("Syncthing's partial file")
            << ".syncthing.alice.ledgerly.csv.tmp" << QString();
        QTest::newRow("an editor's lock") << "~alice.ledgerly.csv" << QString();
    }
    void sharingPlayer() {
        QFETCH(QString, fileName);
        QFETCH(QString, player);
        const auto found = ledgerly::sharingPlayer(fileName.toStdString());
        QCOMPARE(QString::fromStdString(found.value_or("")), player);
    }

    // A player's name names a file every system and sync program takes; one is made of the
    // login name, or "player" when nothing fit remains.
    void playerNames_data() {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("player");
        QTest::addColumn<bool>("fine");  // as a player name, unchanged
        QTest::newRow("letters beyond ASCII") << QString("Zoë") << "Zoë" << true;
        QTest::newRow("a dot") << QString("Ara.mir") << "Ara-mir" << false;
        QTest::newRow("DEL") << QString("se\x7Fx") << "se-x" << false;
        QTest::newRow("a blank at the end") << QString("Bo ") << "player" << false;
        QTest::newRow("a sync program's word") << QString("MyConflict") << "player" << false;
    }
    void playerNames() {
        QFETCH(QString, login);
        QFETCH(QString, player);
        QFETCH(bool, fine);
        QCOMPARE(QString::fromStdString(playerNameFrom(login.toStdString())), player);
        QCOMPARE(!playerNameProblem(login.toStdString()), fine);
    }

    // A file chosen for import is read as strictly as the store: a history with any row it
    // cannot read is refused, and so is a trade values file with a misspelt number.
    void importFile_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("problem");
        QTest::newRow("a whole history behind a byte-order mark") << "" << QString();
        QTest::newRow("a torn last row") << "tear" << QStringLiteral("line 3: ");
        QTest::newRow("a price that is no number") << "garble" << QStringLiteral("line 3: ");
        QTest::newRow("a trade values file with a letter O")
            << "1OO" << QStringLiteral("line 357: '1OO' is not a number");
    }
    void importFile() {
        QFETCH(QString, damage);
        QFETCH(QString, problem);
        const UtcSeconds t = at(2026, 12, 6, 9);
        std::string text =
            "\xEF\xBB\xBF" + historyText({snapshotOf(5, t, 200), snapshotOf(6, t, 300)});
        if (damage == QStringLiteral("tear"))
            text.resize(text.size() - 100);
        if (damage == QStringLiteral("garble"))
            text.replace(text.find(",300,"), 5, ",3x0,");
        if (damage == QStringLiteral("1OO")) {
            text = storeText(theirTable(kNow));
            text.replace(text.find(" 100 "), 5, " 1OO ");
        }
        const OfferRead read = offerFromFile(text, "bob.ledgerly.csv");
        QCOMPARE(QString::fromStdString(read.problem).left(problem.size()), problem);
        QCOMPARE(read.offer.has_value(), problem.isEmpty());
        if (read.offer) {
            QCOMPARE(read.offer->kind, OfferKind::Snapshots);
            QCOMPARE(read.offer->posts[6]->prices[2], 301.0F);
            QCOMPARE(read.offer->posts[5]->source, std::string("imported: bob.ledgerly.csv"));
        }
    }

    // A folder that comes and goes, a torn last row, a file that is no history and a conflict
    // copy, read the way the watcher reads them: again and again.
    void sharedFolder() {
        QTemporaryDir temporary;
        const fs::path folder = fs::path(temporary.path().toStdString()) / "shared";
        SharedFolder shared(folder, "me");
        const UtcSeconds t = at(2026, 12, 6, 9);
        QVERIFY(!shared.read().folderPresent);
        QVERIFY(!shared.read().folderPresent);
        QCOMPARE(shared.problems().size(), std::size_t{1});  // told once

        fs::create_directory(folder);
        const std::string bob = historyText({snapshotOf(5, t, 200), snapshotOf(6, t, 300)});
        writeAll(folder / "bob.ledgerly.csv", bob.substr(0, bob.size() - 100));
        writeAll(folder / "carol.ledgerly.csv", "time,post\r\n");
        writeAll(folder / "bob.ledgerly.sync-conflict-20261206-100000-ABCDEFG.csv",
                 historyText({snapshotOf(5, t + hours(1), 900)}));
        const SharedFolder::Reading reading = shared.read();
        QVERIFY(reading.cameBack);
        QCOMPARE(historyText(reading.freshest),
                 historyText({snapshotOf(5, t, 200, "shared: bob")}));
        QCOMPARE(shared.problems().size(), std::size_t{1});  // carol's file, the folder is back

        writeAll(folder / "bob.ledgerly.csv", bob);
        writeAll(folder / "dave.ledgerly.csv",
                 historyText({snapshotOf(5, t + hours(1), 500), snapshotOf(6, t - hours(1), 600)}));
        QCOMPARE(historyText(shared.read().freshest),
                 historyText({snapshotOf(5, t + hours(1), 500, "shared: dave"),
                              snapshotOf(6, t, 300, "shared: bob")}));
        QCOMPARE(shared.problems().size(), std::size_t{1});
        fs::remove(folder / "carol.ledgerly.csv");
        shared.read();
        QVERIFY(shared.problems().empty());

        // Your own file: only what is newer than what it holds of each post.
        const fs::path own = folder / "me.ledgerly.csv";
        shared.share({snapshotOf(5, t, 1), snapshotOf(7, t, 1)});
        QCOMPARE(bytesOf(own), historyText({snapshotOf(5, t, 1), snapshotOf(7, t, 1)}));
        shared.share({snapshotOf(5, t, 1), snapshotOf(7, t - hours(1), 1)});
        QCOMPARE(bytesOf(own), historyText({snapshotOf(5, t, 1), snapshotOf(7, t, 1)}));
        QCOMPARE(shared.read().freshest.size(), std::size_t{2});  // yours is not a friend's

        fs::remove_all(folder);
        shared.share({snapshotOf(5, t + hours(1), 1)});
        QVERIFY(!fs::exists(folder));  // never made by the program
        QCOMPARE(shared.problems().size(), std::size_t{1});
    }
};

QTEST_GUILESS_MAIN(ShareRulesTest)
#include "test_share_rules.moc"
