#include <QTest>

#include "core/catalogue.h"
#include "reports/cpm_reports.h"
#include "reports/payoff_measures.h"
#include "support/report_rows.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

// Commodities used below, with the post and slot that sell them.
constexpr int kAle = 2;      // Caldmoor, slot 1
constexpr int kArmor = 5;    // NaeraMae, slot 1
constexpr int kArrows = 6;   // Elven Marketplace, slot 1
constexpr int kArt = 7;      // Elven Marketplace, slot 2
constexpr int kBows = 14;    // Elven Marketplace, slot 3
constexpr int kFurs = 30;    // Ranger's Cabin, slot 1
constexpr int kCarpet = 17;  // Mystara, slot 1

enum class Report { ToTradingPost, ToAnyTradingPost, FromTradingPost };

RankingReportView run(Report report, TradeData& data, int chosen) {
    const FixedClock clock;
    switch (report) {
        case Report::ToTradingPost:
            return topCpmToTradingPost(data, clock, chosen).value();
        case Report::ToAnyTradingPost:
            return topCpmToAnyTradingPost(data);
        case Report::FromTradingPost:
            return topCpmFromTradingPost(data, chosen).value();
    }
    return {};
}

}  // namespace

Q_DECLARE_METATYPE(Report)
Q_DECLARE_METATYPE(ledgerly::testing::Prices)
Q_DECLARE_METATYPE(ledgerly::BandColour)

class CpmReportsTest : public QObject {
    Q_OBJECT
private slots:
    // The only pair whose moves differ by direction: 11 -> 19 is a million, 19 -> 11 is 100000.
    // Every CPM report divides by moves(destination, source).
    void movesAreReadFromTheDestination_data() {
        QTest::addColumn<Report>("report");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<float>("paid");
        QTest::addColumn<int>("cpm");
        QTest::addColumn<QString>("firstRow");
        QTest::newRow("into Thanos, 1500000 over a million moves enters")
            << Report::ToTradingPost << 11 << 1500000.0F << 2 << "Armor|2|NaeraMae";
        QTest::newRow("into Thanos, 150000 over a million moves stays out")
            << Report::ToTradingPost << 11 << 150000.0F << 0 << "|1|";
        QTest::newRow("any pair, 1500000 enters")
            << Report::ToAnyTradingPost << 0 << 1500000.0F << 2 << "Armor|2|NaeraMae|Thanos";
        QTest::newRow("any pair, 150000 stays out")
            << Report::ToAnyTradingPost << 0 << 150000.0F << 0 << "<kept>|1||";
        QTest::newRow("from NaeraMae, 1500000 enters")
            << Report::FromTradingPost << 19 << 1500000.0F << 2 << "Armor|2|Thanos";
        QTest::newRow("from NaeraMae, 150000 stays out")
            << Report::FromTradingPost << 19 << 150000.0F << 0 << "Armor|1|";
    }
    void movesAreReadFromTheDestination() {
        QFETCH(Report, report);
        QFETCH(int, chosen);
        QFETCH(float, paid);
        QFETCH(int, cpm);
        QFETCH(QString, firstRow);
        TradeData data;
        setNeverValued(data);
        data.setValue(11, kArmor, paid);
        const RankingReportView view = run(report, data, chosen);
        QCOMPARE(rowText(view.rows[1]), firstRow);
        QCOMPARE(data.buffers.cpm(11, 19, 1), cpm);  // destination first
        QCOMPARE(data.buffers.cpm(19, 11, 1), 0);    // Thanos sells nothing
    }

    // Arrows are sold at Elven Marketplace, 227 moves from Caldmoor and 100000 from itself.
    void quotientsRoundHalvesToEven_data() {
        QTest::addColumn<Report>("report");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("paidAt");
        QTest::addColumn<float>("paid");
        QTest::addColumn<QString>("shown");
        QTest::newRow("150.5 into Caldmoor shows 150")
            << Report::ToTradingPost << 1 << 1 << 150.5F * 227 << "150";
        QTest::newRow("151.5 into Caldmoor shows 152")
            << Report::ToTradingPost << 1 << 1 << 151.5F * 227 << "152";
        QTest::newRow("150.5 over any pair shows 150")
            << Report::ToAnyTradingPost << 0 << 1 << 150.5F * 227 << "150";
        QTest::newRow("151.5 from Elven Marketplace shows 152")
            << Report::FromTradingPost << 2 << 1 << 151.5F * 227 << "152";
        QTest::newRow("own goods at 150000 make 1.5, which enters as 2")
            << Report::ToTradingPost << 2 << 2 << 150000.0F << "2";
        QTest::newRow("own goods at 149999 stay out")
            << Report::ToTradingPost << 2 << 2 << 149999.0F << "1";
        QTest::newRow("own goods at 250000 make 2.5, which enters as 2")
            << Report::FromTradingPost << 2 << 2 << 250000.0F << "2";
    }
    void quotientsRoundHalvesToEven() {
        QFETCH(Report, report);
        QFETCH(int, chosen);
        QFETCH(int, paidAt);
        QFETCH(float, paid);
        QFETCH(QString, shown);
        TradeData data;
        setNeverValued(data);
        data.setValue(paidAt, kArrows, paid);
        QCOMPARE(QString::fromStdString(run(report, data, chosen).rows[1].value), shown);
    }

    // Equal CPMs keep the order in which each report's loops meet them.
    void tiesKeepScanOrder_data() {
        QTest::addColumn<Report>("report");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<QStringList>("rows");
        // 90800 over 227 moves, 120000 over 300 and 204000 over 510 all make 400.
        QTest::newRow("into a post: lower source, then lower slot")
            << Report::ToTradingPost << 1
            << Prices{{1, kFurs, 120000}, {1, kArt, 90800}, {1, kArrows, 90800}}
            << QStringList{"Arrows|400|Elven Marketplace", "Art|400|Elven Marketplace",
                           "Furs|400|Ranger's Cabin", "|1|"};
        QTest::newRow("any pair: lower destination before lower source")
            << Report::ToAnyTradingPost << 0
            << Prices{{2, kAle, 90800}, {1, kFurs, 120000}, {1, kArrows, 90800}}
            << QStringList{"Arrows|400|Elven Marketplace|Caldmoor",
                           "Furs|400|Ranger's Cabin|Caldmoor", "Ale|400|Caldmoor|Elven Marketplace",
                           "<kept>|1||"};
        QTest::newRow("from a post: lower destination, then lower slot")
            << Report::FromTradingPost << 2
            << Prices{{3, kArt, 204000}, {1, kBows, 90800}, {1, kArrows, 90800}}
            << QStringList{"Arrows|400|Caldmoor", "Bows|400|Caldmoor", "Art|400|Ranger's Cabin",
                           "Arrows|1|"};
        QTest::newRow("a higher CPM met later still goes on top")
            << Report::ToTradingPost << 1 << Prices{{1, kArrows, 90800}, {1, kFurs, 120300}}
            << QStringList{"Furs|401|Ranger's Cabin", "Arrows|400|Elven Marketplace", "|1|"};
    }
    void tiesKeepScanOrder() {
        QFETCH(Report, report);
        QFETCH(int, chosen);
        QFETCH(Prices, prices);
        QFETCH(QStringList, rows);
        TradeData data;
        setNeverValued(data);
        setPrices(data, prices);
        const RankingReportView view = run(report, data, chosen);
        for (qsizetype r = 0; r < rows.size(); ++r) {
            QCOMPARE(rowText(view.rows[static_cast<int>(r) + 1]), rows[r]);
        }
    }

    // Rows no haul reached: value 1 in red, and nothing derived from what an earlier report
    // left in the source and destination columns, nor from the 0 they hold straight after
    // start-up. Each report resets a little differently, which the buffers show.
    void unreachedRowsShowNothingStale_data() {
        QTest::addColumn<Report>("report");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("stale");
        QTest::addColumn<QString>("unreachedRow");
        QTest::addColumn<QList<int>>("unreachedBuffer");  // empty: not checked
        // Slot 1 of the stale source Mystara is converted to its Carpet.
        QTest::newRow("into a post: slot reset to 1, converted, name and town empty")
            << Report::ToTradingPost << 1 << true << "|1|" << QList<int>{1, 5, kCarpet, 7};
        QTest::newRow("any pair: slot reset to 0, not converted, name keeps its caption")
            << Report::ToAnyTradingPost << 0 << true << "<kept>|1||" << QList<int>{1, 5, 0, 7};
        QTest::newRow("from a post: slot stays 1, names the source's first good")
            << Report::FromTradingPost << 2 << true << "Arrows|1|" << QList<int>{1, 5, 1, 7};
        QTest::newRow("fresh, into a post")
            << Report::ToTradingPost << 4 << false << "|1|" << QList<int>{};
        QTest::newRow("fresh, any pair")
            << Report::ToAnyTradingPost << 0 << false << "<kept>|1||" << QList<int>{};
        QTest::newRow("fresh, from a post")
            << Report::FromTradingPost << 4 << false << "Brandy|1|" << QList<int>{};
        QTest::newRow("fresh, from Thanos, which sells nothing")
            << Report::FromTradingPost << 11 << false << "none|1|" << QList<int>{};
    }
    void unreachedRowsShowNothingStale() {
        QFETCH(Report, report);
        QFETCH(int, chosen);
        QFETCH(bool, stale);
        QFETCH(QString, unreachedRow);
        QFETCH(QList<int>, unreachedBuffer);
        TradeData data;
        setNeverValued(data);
        if (stale)
            leaveStaleRanking(data);
        data.setValue(1, kArrows, 90800);  // Elven Marketplace to Caldmoor, 400, reaches row 1
        const RankingReportView view = run(report, data, chosen);
        for (int r = 2; r <= kRankingRows; ++r) {
            QCOMPARE(rowText(view.rows[r]), unreachedRow);
            QCOMPARE(view.rows[r].colour, BandColour::Red);
            if (!unreachedBuffer.isEmpty())
                QCOMPARE(bufferRow(data, r), unreachedBuffer);
        }
    }

    void valueBoxesTakeTheCpmBands_data() {
        QTest::addColumn<int>("cpm");
        QTest::addColumn<BandColour>("colour");
        QTest::newRow("300 stays red") << 300 << BandColour::Red;
        QTest::newRow("301 is yellow") << 301 << BandColour::Yellow;
        QTest::newRow("700 stays green") << 700 << BandColour::Green;
        QTest::newRow("701 is blue") << 701 << BandColour::Blue;
    }
    void valueBoxesTakeTheCpmBands() {
        QFETCH(int, cpm);
        QFETCH(BandColour, colour);
        TradeData data;
        setNeverValued(data);
        data.setValue(1, kArrows, static_cast<float>(cpm * 227));
        for (Report report :
             {Report::ToTradingPost, Report::ToAnyTradingPost, Report::FromTradingPost}) {
            const RankingReportView view =
                run(report, data, report == Report::FromTradingPost ? 2 : 1);
            QCOMPARE(view.rows[1].value, std::to_string(cpm));
            QCOMPARE(view.rows[1].colour, colour);
        }
    }

    // With every price at 100000 the shortest routes win: 227 moves (Caldmoor and Elven
    // Marketplace) make 441, 280 (Mystara and Vanlarra) 357, and the four 300-move hauls 333
    // fill rows 21-40; the 310-move hauls and everything longer fall off the end.
    void theListKeepsTheFortyBest() {
        TradeData data;
        setNeverValued(data);
        for (int tp = 1; tp <= kTradingPostCount; ++tp) {
            for (int c = 1; c <= kCommodityCount; ++c)
                data.setValue(tp, c, 100000);
        }
        const RankingReportView view = topCpmToAnyTradingPost(data);
        QCOMPARE(rowText(view.rows[1]), "Arrows|441|Elven Marketplace|Caldmoor");
        QCOMPARE(rowText(view.rows[6]), "Ale|441|Caldmoor|Elven Marketplace");
        QCOMPARE(rowText(view.rows[11]), "Crystal|357|Vanlarra|Mystara");
        QCOMPARE(rowText(view.rows[16]), "Carpet|357|Mystara|Vanlarra");
        QCOMPARE(rowText(view.rows[21]), "Furs|333|Ranger's Cabin|Caldmoor");
        QCOMPARE(rowText(view.rows[26]), "Ale|333|Caldmoor|Ranger's Cabin");
        QCOMPARE(rowText(view.rows[31]), "Carpet|333|Mystara|Riverton");
        QCOMPARE(rowText(view.rows[40]), "Metals|333|Riverton|Mystara");
        // Converted: the slot column now holds commodities.
        QCOMPARE(bufferRow(data, 40), (QList<int>{333, 4, 48, 5}));
    }

    void onlyTheListIntoAPostShowsAnAge() {
        TradeData data;
        setNeverValued(data);
        const FixedClock clock;
        const float reading = readHourClock(clock);
        data.setStamp(3, reading - 4.0F);
        data.buffers.hourClockScratch = 123.0F;

        const auto into = topCpmToTradingPost(data, clock, 3);
        QVERIFY(into->age.has_value());
        QCOMPARE(into->age->text, std::string("4"));
        QCOMPARE(into->age->colour, BandColour::Yellow);
        QCOMPARE(data.buffers.hourClockScratch, reading);

        data.buffers.hourClockScratch = 123.0F;
        QVERIFY(!topCpmFromTradingPost(data, 3)->age.has_value());
        QVERIFY(!topCpmToAnyTradingPost(data).age.has_value());
        QCOMPARE(data.buffers.hourClockScratch, 123.0F);
    }

    void noTradingPostComputesNothing_data() {
        QTest::addColumn<Report>("report");
        QTest::addColumn<int>("chosen");
        QTest::newRow("into post 0") << Report::ToTradingPost << 0;
        QTest::newRow("into post 20") << Report::ToTradingPost << 20;
        QTest::newRow("from post 0") << Report::FromTradingPost << 0;
        QTest::newRow("from post -1") << Report::FromTradingPost << -1;
    }
    void noTradingPostComputesNothing() {
        QFETCH(Report, report);
        QFETCH(int, chosen);
        TradeData data;
        setNeverValued(data);
        leaveStaleRanking(data);
        data.buffers.cpm(1, 2, 1) = -7;
        data.buffers.hourClockScratch = 5.0F;
        const bool computed = report == Report::ToTradingPost
                                  ? topCpmToTradingPost(data, FixedClock(), chosen).has_value()
                                  : topCpmFromTradingPost(data, chosen).has_value();
        QVERIFY(!computed);
        QCOMPARE(bufferRow(data, 1), (QList<int>{999, 5, 3, 7}));
        QCOMPARE(data.buffers.cpm(1, 2, 1), -7);
        QCOMPARE(data.buffers.hourClockScratch, 5.0F);
    }

    void theWholeCpmTableIsFilledDestinationFirst() {
        TradeData data;
        setNeverValued(data);
        fillCpmTable(data, -7);
        data.setValue(1, kArrows, 90800);
        topCpmFromTradingPost(data, 5);  // a source that has nothing to do with the price
        QCOMPARE(data.buffers.cpm(1, 2, 1), 400);
        QCOMPARE(data.buffers.cpm(2, 1, 1), 0);
        QCOMPARE(cpmCellsHolding(data, -7), 0);
    }

    // Reports share the ranking list and the CPM table, and nothing clears them in between.
    void reportsRunOneAfterAnother() {
        TradeData data;
        setNeverValued(data);
        data.setValue(3, kArrows, 500000);
        data.setValue(3, kAle, 400000);

        // Top payoffs into Ranger's Cabin: two rows with destination 3, the rest untouched.
        resetRanking(data);
        for (int s = 1; s <= kTradingPostCount; ++s) {
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                offerCandidate(data, payoff(data, s, k, 3), s, k, 3);
        }
        convertSlotsToCommodities(data);
        QCOMPARE(bufferRow(data, 1), (QList<int>{500000, 2, kArrows, 3}));
        QCOMPARE(bufferRow(data, 2), (QList<int>{400000, 1, kAle, 3}));

        // CPM from Caldmoor: Ale into Ranger's Cabin is 400000 / 300. Row 2 keeps the payoff
        // run's columns, gets slot 1 and no convert, so it names Caldmoor's first good again.
        auto from = topCpmFromTradingPost(data, 1);
        QCOMPARE(rowText(from->rows[1]), "Ale|1333|Ranger's Cabin");
        QCOMPARE(rowText(from->rows[2]), "Ale|1|");
        QCOMPARE(bufferRow(data, 1), (QList<int>{1333, 1, 1, 3}));
        QCOMPARE(bufferRow(data, 2), (QList<int>{1, 2, 1, 3}));

        // CPM to any pair: both hauls into Ranger's Cabin rank; row 3 keeps the source and
        // destination columns an earlier run left, but has slot 0, so nothing is named from them.
        auto any = topCpmToAnyTradingPost(data);
        QCOMPARE(rowText(any.rows[1]), "Ale|1333|Caldmoor|Ranger's Cabin");
        QCOMPARE(rowText(any.rows[2]), "Arrows|980|Elven Marketplace|Ranger's Cabin");
        QCOMPARE(rowText(any.rows[3]), "<kept>|1||");
        QCOMPARE(bufferRow(data, 3), (QList<int>{1, 1, 0, 3}));
    }
};

QTEST_GUILESS_MAIN(CpmReportsTest)
#include "test_cpm_reports.moc"
