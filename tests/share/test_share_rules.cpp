#include <QTest>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "core/store_file.h"
#include "rules/share/price_import.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;
namespace fs = std::filesystem;
using namespace std::chrono;

Q_DECLARE_METATYPE(OfferKind)

namespace {

// A time zone a whole number of hours east of UTC, without daylight saving.
class OffsetZone final : public TimeZone {
public:
    explicit OffsetZone(int hoursEast) : offset_(hours(hoursEast)) {}
    LocalDateTime local(UtcSeconds utc) const override {
        const auto shifted = utc + offset_;
        const auto day = floor<days>(shifted);
        const year_month_day date(day);
        const hh_mm_ss time(shifted - day);
        return {
            int(date.year()),          int(unsigned(date.month())), int(unsigned(date.day())),
            int(time.hours().count()), int(time.minutes().count()), int(time.seconds().count())};
    }
    UtcSeconds utc(const LocalDateTime& t) const override {
        const sys_days day = year{t.year} / t.month / t.day;
        return day + hours(t.hour) + minutes(t.minute) + seconds(t.second) - offset_;
    }

private:
    hours offset_;
};

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

PriceSnapshot snapshotOf(int tp, UtcSeconds time, float firstPrice) {
    PriceSnapshot snapshot{time, tp, "shared: alice", {}};
    for (int c = 1; c <= kCommodityCount; ++c)
        snapshot.prices[static_cast<std::size_t>(c)] = firstPrice + static_cast<float>(c - 1);
    return snapshot;
}

}  // namespace

class ShareRulesTest : public QObject {
    Q_OBJECT
private slots:
    // Which side is fresher decides what "take theirs" starts with. A trade values file's stamps
    // are compared as they are; snapshots by UTC, your side by your history row or else your
    // stamp read in your own time zone (here UTC+2, the test clock's noon being 10:00Z).
    void fresherWins_data() {
        QTest::addColumn<OfferKind>("kind");
        QTest::addColumn<float>("yourStamp");
        QTest::addColumn<qint64>("yourRowMinute");  // minutes after 10:00Z; -1: no history row
        QTest::addColumn<float>("theirStamp");      // trade values file
        QTest::addColumn<qint64>("theirMinute");    // snapshots: minutes after 10:00Z; -1: none
        QTest::addColumn<bool>("fresher");
        QTest::addColumn<bool>("ahead");
        QTest::addColumn<double>("theirAge");  // -1: never valued

        constexpr auto file = OfferKind::TradeValuesFile;
        constexpr auto rows = OfferKind::Snapshots;
        QTest::newRow("equal stamps keep yours")
            << file << 209640.0F << -1LL << 209640.0F << -1LL << false << false << 12.0;
        QTest::newRow("a later stamp is fresher")
            << file << 209640.0F << -1LL << 209640.5F << -1LL << true << false << 11.5;
        QTest::newRow("an older stamp is not")
            << file << 209640.0F << -1LL << 209600.0F << -1LL << false << false << 52.0;
        QTest::newRow("their never valued offers nothing")
            << file << 10.0F << -1LL << 10.0F << -1LL << false << false << -1.0;
        QTest::newRow("anything beats your never valued")
            << file << 10.0F << -1LL << 24.0F << -1LL << true << false << 209628.0;
        QTest::newRow("a stamp ahead of your clock is marked")
            << file << 209640.0F << -1LL << 209655.5F << -1LL << true << true << -3.5;
        QTest::newRow("equal UTC times keep yours")
            << rows << 10.0F << -90LL << 0.0F << -90LL << false << false << 1.5;
        QTest::newRow("a row a minute later is fresher")
            << rows << 10.0F << -90LL << 0.0F << -89LL << true << false << 1.48;
        QTest::newRow("your row counts over an older stamp")
            << rows << 209600.0F << -30LL << 0.0F << -60LL << false << false << 1.0;
        // 11:30 local is 09:30Z: a row of 09:45Z is fresher though "09:45" reads earlier.
        QTest::newRow("a UTC row beats a later-looking local stamp")
            << rows << 209651.5F << -1LL << 0.0F << -15LL << true << false << 0.25;
        QTest::newRow("a row from another zone loses to a later stamp")
            << rows << 209651.5F << -1LL << 0.0F << -45LL << false << false << 0.75;
        QTest::newRow("no row offers nothing")
            << rows << 10.0F << -1LL << 0.0F << -1LL << false << false << -1.0;
        QTest::newRow("a row ahead of your clock is marked")
            << rows << 209651.0F << -1LL << 0.0F << 30LL << true << true << -0.5;
    }
    void fresherWins() {
        QFETCH(OfferKind, kind);
        QFETCH(float, yourStamp);
        QFETCH(qint64, yourRowMinute);
        QFETCH(float, theirStamp);
        QFETCH(qint64, theirMinute);
        QFETCH(bool, fresher);
        QFETCH(bool, ahead);
        QFETCH(double, theirAge);

        const OffsetZone zone(2);
        const FixedClock clock;
        const UtcSeconds tenZulu = at(2026, 12, 6, 10);
        TradeData yours;
        setNeverValued(yours);
        yours.setStamp(5, yourStamp);
        std::vector<PriceSnapshot> history;
        if (yourRowMinute != -1)
            history.push_back(snapshotOf(5, tenZulu + minutes(yourRowMinute), 1));

        PriceOffer offer;
        if (kind == OfferKind::TradeValuesFile) {
            const OfferRead read = offerFromTradeValues(storeText(theirTable(theirStamp)), "a.txt");
            QVERIFY(read.offer);
            offer = *read.offer;
        } else if (theirMinute != -1) {
            offer = offerFromSnapshots({snapshotOf(5, tenZulu + minutes(theirMinute), 100)});
        } else {
            offer = offerFromSnapshots({});
        }
        const auto plan = planImport(offer, yours, yourTimes(yours, history, zone), clock, zone);
        QCOMPARE(plan.size(), std::size_t{kTradingPostCount});
        const ImportRow& row = plan[4];
        QCOMPARE(row.tp, 5);
        QCOMPARE(row.fresher, fresher);
        QCOMPARE(row.theirsAhead, ahead);
        QCOMPARE(row.theirAge.value_or(-1.0), theirAge);
        QCOMPARE(row.differing, theirAge == -1.0 ? 0 : kCommodityCount);
        // The other posts are never valued on both sides.
        QVERIFY(!plan[3].fresher && !plan[3].yourAge && !plan[3].theirAge);
    }

    void tradeValuesFromWindows() {
        // Windows line ends, as the store itself; the numbers as a first start writes them.
        std::string text = storeText(theirTable(kNow));
        QVERIFY(text.find("\r\n") != std::string::npos);
        const OfferRead read = offerFromTradeValues(text, "friend.txt");
        QVERIFY(read.offer);
        QCOMPARE(read.offer->posts[5]->prices[1], 100.0F);
        QCOMPARE(read.offer->posts[5]->source, std::string("imported: friend.txt"));
        QVERIFY(!read.offer->posts[4]);

        text.replace(text.find(" 100 "), 5, " 1OO ");
        const OfferRead bad = offerFromTradeValues(text, "friend.txt");
        QVERIFY(!bad.offer);
        QCOMPARE(bad.problem, std::string("line 357: '1OO' is not a number"));
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
        const OffsetZone zone(2);
        TradeData& data = test.data;
        setNeverValued(data);
        data.setValue(5, 1, 7.0F);
        data.setStamp(5, 209000.0F);
        // A first import, so that there is a previous backup to be replaced.
        QVERIFY(!saveStore(store, data));
        const std::string original = storeText(data);
        std::ofstream(importBackupPath(store), std::ios::binary) << "an older backup";

        TradeData theirs = theirTable(209650.0F);
        theirs.setValue(5, 2, 0.25F);   // raised to 1, as at start-up
        theirs.setValue(6, 1, 9.0F);    // never valued there: not offered
        theirs.setStamp(7, 209700.0F);  // ahead of the clock: taken as now
        const OfferRead read = offerFromTradeValues(storeText(theirs), "bob.txt");
        QVERIFY(read.offer);

        if (backupBlocked) {
            fs::remove(importBackupPath(store));
            fs::create_directory(importBackupPath(store));
        }
        if (storeBlocked) {
            fs::remove(store);
            fs::create_directory(store);
            fs::create_directory(store / "x");  // a folder in the way cannot be replaced
        }
        const TradeData before = data;
        const ImportResult result =
            ledgerly::takeOffer(*read.offer, {5, 6, 7}, data, store, test.clock, zone);
        if (backupBlocked || storeBlocked) {
            QVERIFY(result.failure);
            QVERIFY(result.taken.empty());
            QCOMPARE(data.value(5, 1), before.value(5, 1));
            QCOMPARE(data.stamp(5), before.stamp(5));
            if (backupBlocked)
                QCOMPARE(bytesOf(store), original);
            return;
        }
        QVERIFY(!result.failure);
        QCOMPARE(bytesOf(importBackupPath(store)), original);
        QCOMPARE(bytesOf(store), storeText(data));
        QCOMPARE(data.value(5, 1), 100.0F);
        QCOMPARE(data.value(5, 2), 1.0F);
        QCOMPARE(data.value(5, 88), 187.0F);
        QCOMPARE(data.stamp(5), 209650.0F);
        QCOMPARE(data.value(6, 1), 1.0F);
        QCOMPARE(data.stamp(7), kNow);
        QCOMPARE(result.taken.size(), std::size_t{2});
        // 209650 on the hour clock is 10:00 local, 08:00Z in UTC+2.
        QCOMPARE(result.taken[0].time, at(2026, 12, 6, 8));
        QCOMPARE(result.taken[0].source, std::string("imported: bob.txt"));
        QCOMPARE(result.taken[1].time, at(2026, 12, 6, 10));
    }

private:
    static std::string bytesOf(const fs::path& path) {
        return fileBytes(QString::fromStdString(path.string())).toStdString();
    }
};

QTEST_GUILESS_MAIN(ShareRulesTest)
#include "test_share_rules.moc"
