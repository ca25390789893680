#include <QTest>
#include <vector>

#include "core/catalogue.h"
#include "reports/cpm_reports.h"
#include "reports/payoff_reports.h"
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

// The six top-40 lists, plus the every-haul report where only its refusal is shared.
enum class Report { PayoffTo, PayoffFrom, PayoffAny, CpmTo, CpmFrom, CpmAny, AllPayoffsTo };
enum class Family { Payoff, Cpm };

std::optional<RankingReportView> run(Report report, TradeData& data, int chosen,
                                     const FixedClock& clock = FixedClock()) {
    switch (report) {
        case Report::PayoffTo:
            return topPayoffsTo(data, clock, chosen, ".");
        case Report::PayoffFrom:
            return topPayoffsFrom(data, chosen);
        case Report::PayoffAny:
            return topPayoffsToAny(data);
        case Report::CpmTo:
            return topCpmToTradingPost(data, clock, chosen);
        case Report::CpmFrom:
            return topCpmFromTradingPost(data, chosen);
        case Report::CpmAny:
            return topCpmToAnyTradingPost(data);
        case Report::AllPayoffsTo:
            break;
    }
    return {};
}

QList<int> untouchedStaleRow() {
    return {999, 5, 3, 7};
}

}  // namespace

Q_DECLARE_METATYPE(Report)
Q_DECLARE_METATYPE(Family)
Q_DECLARE_METATYPE(ledgerly::testing::Prices)
Q_DECLARE_METATYPE(ledgerly::BandColour)

class RankingReportsTest : public QObject {
    Q_OBJECT
private slots:
    // Reports share one ranking list and run one after another on the same data: what one
    // leaves behind is what the next one resets, keeps or shows.
    void reportsRunOneAfterAnother() {
        TradeData data;
        setNeverValued(data);
        const int kFish = 31;  // Mystara, slot 2
        data.setValue(1, kCarpet, 5000.0F);
        data.setValue(2, kCarpet, 4000.0F);
        data.setValue(3, kFish, 3000.0F);

        // Mystara's goods, where they pay: three rows, each remembering source and destination.
        const auto from = run(Report::PayoffFrom, data, 5);
        QVERIFY(from);
        QCOMPARE(from->rows[3].value, std::string("3000"));
        QCOMPARE(from->rows[3].tradingPost, std::optional<std::string>("Ranger's Cabin"));

        // Caldmoor's goods are valued nowhere: no row is reached, the reset only touches value
        // and slot, and every unreached row names Caldmoor's first good.
        const auto cpmFrom = run(Report::CpmFrom, data, 1);
        QVERIFY(cpmFrom);
        for (int r = 1; r <= 3; ++r) {
            const RankingRow& row = data.buffers.ranking[static_cast<std::size_t>(r)];
            QCOMPARE(QList<int>({row.value, row.sourceTp, row.slot, row.destinationTp}),
                     QList<int>({1, 5, 1, r}));
            QCOMPARE(cpmFrom->rows[static_cast<std::size_t>(r)].name,
                     std::optional<std::string>("Ale"));
            QCOMPARE(cpmFrom->rows[static_cast<std::size_t>(r)].value, std::string("1"));
        }

        // Every pair by CPM: 5000 over 563 moves is 9, the other two round to 5 and keep their
        // scan order (lower destination first). Each entry pushed the rows below it down, so the
        // first report's rows now stand at 4 to 6, slot cleared to 0, yet show nothing of theirs.
        const auto cpmAny = run(Report::CpmAny, data, 0);
        QVERIFY(cpmAny);
        QCOMPARE(cpmAny->rows[1].value, std::string("9"));
        QCOMPARE(cpmAny->rows[2].destination, std::optional<std::string>("Elven Marketplace"));
        QCOMPARE(cpmAny->rows[3].name, std::optional<std::string>("Fish"));
        const RankingRow& pushed = data.buffers.ranking[4];
        QCOMPARE(QList<int>({pushed.value, pushed.sourceTp, pushed.slot, pushed.destinationTp}),
                 QList<int>({1, 5, 0, 1}));
        QCOMPARE(cpmAny->rows[4].name, std::nullopt);  // the label keeps its caption
        QCOMPARE(cpmAny->rows[4].destination, std::optional<std::string>(""));
    }

    // Equal values keep the order in which each report's loops meet them. Rows no haul reached
    // show 1 in red and nothing derived from what an earlier report left in the shared list (or
    // from the zeros it holds after start-up); each report resets that list a little
    // differently, which the buffers show.
    void rankingOrderAndUnreachedRows_data() {
        QTest::addColumn<Report>("report");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("stale");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("unreachedRow");
        QTest::addColumn<QList<int>>("unreachedBuffer");  // empty: not checked
        // Slot 1 of the stale source Mystara converts to its Carpet.
        QTest::newRow("payoff to: halves to even, own good, then later post; slot reset to 1")
            << Report::PayoffTo << 1 << true
            << Prices{{1, 2, 900}, {1, 88, 900}, {1, 61, 250000.5F}, {2, 5, 5000}}
            << QStringList{"Quills|250000|Elwyn", "Ale|900|Caldmoor", "Wands|900|Vanlarra"} << "|1|"
            << QList<int>{1, 5, kCarpet, 7};
        QTest::newRow("payoff from: lower destination, then lower slot; own post counts")
            << Report::PayoffFrom << 8 << true
            << Prices{{12, 61, 700}, {4, 61, 700}, {11, 3, 800}, {8, 9, 650}, {4, 3, 700}}
            << QStringList{"Aloe|800|Thanos", "Aloe|700|Riverton", "Quills|700|Riverton",
                           "Quills|700|New Ashton", "Balm|650|Elwyn"}
            << "|1|" << QList<int>{1, 5, kCarpet, 7};
        QTest::newRow("payoff from a post that sells nothing")
            << Report::PayoffFrom << 11 << true << Prices{{3, 20, 9000}, {5, 20, 9000}}
            << QStringList{} << "|1|" << QList<int>{};
        QTest::newRow("payoff any: lower source, then destination, then slot; destination cleared")
            << Report::PayoffAny << 0 << true
            << Prices{{3, kAle, 5000},
                      {2, 78, 5000},
                      {2, kArrows, 5000},
                      {2, kAle, 5000},
                      {17, kAle, 6000}}
            << QStringList{"Ale|6000|Caldmoor|Derah", "Ale|5000|Caldmoor|Elven Marketplace",
                           "Tar|5000|Caldmoor|Elven Marketplace",
                           "Arrows|5000|Elven Marketplace|Elven Marketplace",
                           "Ale|5000|Caldmoor|Ranger's Cabin"}
            << "|1||" << QList<int>{1, 5, kCarpet, 0};
        // 90800 over 227 moves, 120000 over 300 and 204000 over 510 all make 400.
        QTest::newRow("cpm to: lower source, then lower slot; slot reset to 1, converted")
            << Report::CpmTo << 1 << true
            << Prices{{1, kFurs, 120000}, {1, kArt, 90800}, {1, kArrows, 90800}}
            << QStringList{"Arrows|400|Elven Marketplace", "Art|400|Elven Marketplace",
                           "Furs|400|Ranger's Cabin"}
            << "|1|" << QList<int>{1, 5, kCarpet, 7};
        QTest::newRow("cpm to: a higher CPM met later still goes on top; fresh list")
            << Report::CpmTo << 1 << false << Prices{{1, kArrows, 90800}, {1, kFurs, 120300}}
            << QStringList{"Furs|401|Ranger's Cabin", "Arrows|400|Elven Marketplace"} << "|1|"
            << QList<int>{};
        QTest::newRow("cpm any: lower destination first; slot reset to 0, name keeps its caption")
            << Report::CpmAny << 0 << true
            << Prices{{2, kAle, 90800}, {1, kFurs, 120000}, {1, kArrows, 90800}}
            << QStringList{"Arrows|400|Elven Marketplace|Caldmoor",
                           "Furs|400|Ranger's Cabin|Caldmoor", "Ale|400|Caldmoor|Elven Marketplace"}
            << "<kept>|1||" << QList<int>{1, 5, 0, 7};
        QTest::newRow("cpm any, fresh list") << Report::CpmAny << 0 << false << Prices{}
                                             << QStringList{} << "<kept>|1||" << QList<int>{};
        QTest::newRow("cpm from: lower destination, then slot; unreached names first good")
            << Report::CpmFrom << 2 << true
            << Prices{{3, kArt, 204000}, {1, kBows, 90800}, {1, kArrows, 90800}}
            << QStringList{"Arrows|400|Caldmoor", "Bows|400|Caldmoor", "Art|400|Ranger's Cabin"}
            << "Arrows|1|" << QList<int>{1, 5, 1, 7};
        QTest::newRow("cpm from, fresh list") << Report::CpmFrom << 4 << false << Prices{}
                                              << QStringList{} << "Brandy|1|" << QList<int>{};
        QTest::newRow("cpm from Thanos, which sells nothing, fresh list")
            << Report::CpmFrom << 11 << false << Prices{} << QStringList{} << "none|1|"
            << QList<int>{};
    }
    void rankingOrderAndUnreachedRows() {
        QFETCH(Report, report);
        QFETCH(int, chosen);
        QFETCH(bool, stale);
        QFETCH(Prices, prices);
        QFETCH(QStringList, rows);
        QFETCH(QString, unreachedRow);
        QFETCH(QList<int>, unreachedBuffer);
        TradeData data;
        setNeverValued(data);
        if (stale)
            leaveStaleRanking(data);
        setPrices(data, prices);
        const auto view = run(report, data, chosen);
        QVERIFY(view);
        for (int r = 1; r <= kRankingRows; ++r) {
            if (r <= rows.size()) {
                QCOMPARE(rowText(view->rows[r]), rows[r - 1]);
                continue;
            }
            QCOMPARE(rowText(view->rows[r]), unreachedRow);
            QCOMPARE(view->rows[r].colour, BandColour::Red);
            if (!unreachedBuffer.isEmpty())
                QCOMPARE(bufferRow(data, r), unreachedBuffer);
        }
    }

    // Arrows are sold at Elven Marketplace, 227 moves from Caldmoor and 100000 from itself;
    // every report of the family must show the same first row.
    void firstValueRoundsAndBands_data() {
        QTest::addColumn<Family>("family");
        QTest::addColumn<int>("destination");
        QTest::addColumn<float>("paid");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<BandColour>("colour");
        QTest::newRow("payoff 250000.5 halves to even and stays red (no all-payoffs band)")
            << Family::Payoff << 1 << 250000.5F << "250000" << BandColour::Red;
        QTest::newRow("payoff 1000001 blue")
            << Family::Payoff << 1 << 1000001.0F << "1000001" << BandColour::Blue;
        QTest::newRow("payoff too large clamps")
            << Family::Payoff << 1 << 3e12F << "2147483647" << BandColour::Blue;
        QTest::newRow("cpm 150.5 shows 150")
            << Family::Cpm << 1 << 150.5F * 227 << "150" << BandColour::Red;
        QTest::newRow("cpm 151.5 shows 152")
            << Family::Cpm << 1 << 151.5F * 227 << "152" << BandColour::Red;
        QTest::newRow("cpm own goods at 150000 make 1.5, which enters as 2")
            << Family::Cpm << 2 << 150000.0F << "2" << BandColour::Red;
        QTest::newRow("cpm own goods at 149999 stay out")
            << Family::Cpm << 2 << 149999.0F << "1" << BandColour::Red;
        QTest::newRow("cpm own goods at 250000 make 2.5, which enters as 2")
            << Family::Cpm << 2 << 250000.0F << "2" << BandColour::Red;
        QTest::newRow("cpm 300 stays red")
            << Family::Cpm << 1 << 300.0F * 227 << "300" << BandColour::Red;
        QTest::newRow("cpm 301 is yellow")
            << Family::Cpm << 1 << 301.0F * 227 << "301" << BandColour::Yellow;
        QTest::newRow("cpm 700 stays green")
            << Family::Cpm << 1 << 700.0F * 227 << "700" << BandColour::Green;
        QTest::newRow("cpm 701 is blue")
            << Family::Cpm << 1 << 701.0F * 227 << "701" << BandColour::Blue;
    }
    void firstValueRoundsAndBands() {
        QFETCH(Family, family);
        QFETCH(int, destination);
        QFETCH(float, paid);
        QFETCH(QString, shown);
        QFETCH(BandColour, colour);
        TradeData data;
        setNeverValued(data);
        data.setValue(destination, kArrows, paid);
        const auto reports =
            family == Family::Payoff
                ? std::vector{Report::PayoffTo, Report::PayoffFrom, Report::PayoffAny}
                : std::vector{Report::CpmTo, Report::CpmFrom, Report::CpmAny};
        for (const Report report : reports) {
            const bool from = report == Report::PayoffFrom || report == Report::CpmFrom;
            const auto view = run(report, data, from ? 2 : destination);
            QVERIFY(view);
            QCOMPARE(QString::fromStdString(view->rows[1].value), shown);
            QCOMPARE(view->rows[1].colour, colour);
        }
    }

    // The only pair whose moves differ by direction: 11 -> 19 is a million, 19 -> 11 is 100000.
    // Every CPM list divides by moves(destination, source).
    void cpmMovesAreReadFromTheDestination_data() {
        QTest::addColumn<Report>("report");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<float>("paid");
        QTest::addColumn<int>("cpm");
        QTest::addColumn<QString>("firstRow");
        QTest::newRow("into Thanos, 1500000 over a million moves enters")
            << Report::CpmTo << 11 << 1500000.0F << 2 << "Armor|2|NaeraMae";
        QTest::newRow("any pair, 150000 over a million moves stays out")
            << Report::CpmAny << 0 << 150000.0F << 0 << "<kept>|1||";
        QTest::newRow("from NaeraMae, 1500000 enters")
            << Report::CpmFrom << 19 << 1500000.0F << 2 << "Armor|2|Thanos";
    }
    void cpmMovesAreReadFromTheDestination() {
        QFETCH(Report, report);
        QFETCH(int, chosen);
        QFETCH(float, paid);
        QFETCH(int, cpm);
        QFETCH(QString, firstRow);
        TradeData data;
        setNeverValued(data);
        data.setValue(11, kArmor, paid);
        QCOMPARE(rowText(run(report, data, chosen)->rows[1]), firstRow);
        QCOMPARE(data.buffers.cpm(11, 19, 1), cpm);  // destination first
        QCOMPARE(data.buffers.cpm(19, 11, 1), 0);    // Thanos sells nothing
    }

    // Every value at base + step x destination: what falls off the end of the list.
    void theListKeepsTheFortyBest_data() {
        QTest::addColumn<Report>("report");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<float>("base");
        QTest::addColumn<float>("step");
        QTest::addColumn<QStringList>("rowsAt");  // "row=text"
        QTest::addColumn<QList<int>>("buffer40");
        // Destinations pay 119 down to 101 for all three goods of Temple Shop; after 13
        // destinations x 3 goods, row 40 is the first good at Vanlarra (post 6).
        QTest::newRow("payoff from Temple Shop: 40 of 57")
            << Report::PayoffFrom << 8 << 100.0F << 1.0F
            << QStringList{"1=Aloe|119|NaeraMae", "40=Aloe|106|Vanlarra"}
            << QList<int>{106, 8, 3, 6};
        // Every haul into Mystara ties: the list holds the first 40 met, posts in order and
        // each post's slots in order (Temple Shop's two empty slots never enter).
        QTest::newRow("payoff into Mystara, every price 1000")
            << Report::PayoffTo << 5 << 1000.0F << 0.0F
            << QStringList{"1=Ale|1000|Caldmoor", "2=Raisins|1000|Caldmoor",
                           "6=Arrows|1000|Elven Marketplace", "40=Coal|1000|New Genesia"}
            << QList<int>{1000, 9, 21, 5};
        // The shortest routes win: 227 moves make 441, 280 make 357 and the four 300-move hauls
        // 333 fill rows 21-40; the 310-move hauls and everything longer fall off the end. The
        // slot column is converted to commodities.
        QTest::newRow("cpm any pair, every price 100000")
            << Report::CpmAny << 0 << 100000.0F << 0.0F
            << QStringList{"1=Arrows|441|Elven Marketplace|Caldmoor",
                           "6=Ale|441|Caldmoor|Elven Marketplace",
                           "11=Crystal|357|Vanlarra|Mystara",
                           "16=Carpet|357|Mystara|Vanlarra",
                           "21=Furs|333|Ranger's Cabin|Caldmoor",
                           "26=Ale|333|Caldmoor|Ranger's Cabin",
                           "31=Carpet|333|Mystara|Riverton",
                           "40=Metals|333|Riverton|Mystara"}
            << QList<int>{333, 4, 48, 5};
    }
    void theListKeepsTheFortyBest() {
        QFETCH(Report, report);
        QFETCH(int, chosen);
        QFETCH(float, base);
        QFETCH(float, step);
        QFETCH(QStringList, rowsAt);
        QFETCH(QList<int>, buffer40);
        TradeData data;
        setNeverValued(data);
        for (int d = 1; d <= kTradingPostCount; ++d) {
            for (int c = 1; c <= kCommodityCount; ++c)
                data.setValue(d, c, base + step * static_cast<float>(d));
        }
        const auto view = run(report, data, chosen);
        for (const QString& check : rowsAt) {
            const int r = check.section(u'=', 0, 0).toInt();
            QCOMPARE(rowText(view->rows[r]), check.section(u'=', 1));
        }
        QCOMPARE(bufferRow(data, 40), buffer40);
    }

    // Only the lists into one post show the age of its values, and only they read the clock.
    void onlyTheListsIntoAPostShowAnAge_data() {
        QTest::addColumn<Report>("report");
        QTest::addColumn<bool>("aged");
        QTest::newRow("payoff to") << Report::PayoffTo << true;
        QTest::newRow("payoff from") << Report::PayoffFrom << false;
        QTest::newRow("payoff any") << Report::PayoffAny << false;
        QTest::newRow("cpm to") << Report::CpmTo << true;
        QTest::newRow("cpm from") << Report::CpmFrom << false;
        QTest::newRow("cpm any") << Report::CpmAny << false;
    }
    void onlyTheListsIntoAPostShowAnAge() {
        QFETCH(Report, report);
        QFETCH(bool, aged);
        TradeData data;
        setNeverValued(data);
        const FixedClock clock;
        const float reading = readHourClock(clock);
        data.setStamp(3, reading - 4.0F);
        data.buffers.hourClockScratch = 123.0F;
        const auto view = run(report, data, 3, clock);
        QCOMPARE(view->age.has_value(), aged);
        if (aged) {
            QCOMPARE(view->age->text, std::string("4"));
            QCOMPARE(view->age->colour, BandColour::Yellow);
        }
        QCOMPARE(data.buffers.hourClockScratch, aged ? reading : 123.0F);
    }

    void noTradingPostComputesNothing_data() {
        QTest::addColumn<Report>("report");
        QTest::addColumn<int>("chosen");
        QTest::newRow("payoff to post 0") << Report::PayoffTo << 0;
        QTest::newRow("payoff to post 20") << Report::PayoffTo << 20;
        QTest::newRow("payoff from post -1") << Report::PayoffFrom << -1;
        QTest::newRow("every payoff to post 20") << Report::AllPayoffsTo << 20;
        QTest::newRow("cpm to post 0") << Report::CpmTo << 0;
        QTest::newRow("cpm to post 20") << Report::CpmTo << 20;
        QTest::newRow("cpm from post 0") << Report::CpmFrom << 0;
        QTest::newRow("cpm from post -1") << Report::CpmFrom << -1;
    }
    void noTradingPostComputesNothing() {
        QFETCH(Report, report);
        QFETCH(int, chosen);
        TradeData data;
        setNeverValued(data);
        leaveStaleRanking(data);
        data.buffers.cpm(1, 2, 1) = -7;
        data.buffers.hourClockScratch = 5.0F;
        const bool computed = report == Report::AllPayoffsTo
                                  ? allPayoffsTo(data, FixedClock(), chosen, ".").has_value()
                                  : run(report, data, chosen).has_value();
        QVERIFY(!computed);
        QCOMPARE(bufferRow(data, 1), untouchedStaleRow());
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

    void allPayoffsFramesAndBoxes() {
        TestContext t;
        setNeverValued(t.data);
        leaveStaleRanking(t.data);
        const int d = 3;
        t.data.setValue(d, 22, 4321.5F);   // Copper: first row of frame 11 (New Ashton)
        t.data.setValue(d, 84, 2.0F);      // Weapons: last row of frame 18 (Minotaur)
        t.data.setValue(d, 0, 400000.0F);  // even "none" valued high leaves 39 and 40 alone
        const auto view = allPayoffsTo(t.data, t.clock, d, ".");
        QVERIFY(view);
        const auto box = [&](int n) {
            const AllPayoffsRowView& row = view->rows[static_cast<std::size_t>(n)];
            return QStringLiteral("%1 %2 %3")
                .arg(keptOr(row.name), keptOr(row.value), QString::fromStdString(row.cpm));
        };
        QCOMPARE(box(1), QStringLiteral("Ale 1 0"));
        QCOMPARE(box(38), QStringLiteral("Quills 1 0"));
        QCOMPARE(box(51), QStringLiteral("Copper 4321.5 4"));
        QCOMPARE(box(90), QStringLiteral("Weapons 2 0"));
        for (int n : {39, 40}) {
            QCOMPARE(box(n), QStringLiteral("<kept> <kept> 494"));  // 400000 / 810 moves
            QCOMPARE(view->rows[static_cast<std::size_t>(n)].valueColour, BandColour::Red);
            QCOMPARE(view->rows[static_cast<std::size_t>(n)].cpmColour, BandColour::Red);
        }
        QCOMPARE(view->age.colour, BandColour::Red);
        QCOMPARE(bufferRow(t.data, 1), untouchedStaleRow());  // the ranking list is not used
    }

    // Caldmoor to Elven Marketplace is 227 moves and Gdangus to Caldmoor 1230; Raisins are slot 2
    // of Caldmoor.
    void allPayoffsValueAndCpmBoxes_data() {
        QTest::addColumn<int>("destination");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("slot");
        QTest::addColumn<float>("paid");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QStringList>("shown");  // value, CPM
        QTest::addColumn<QList<BandColour>>("colours");
        using C = BandColour;
        QTest::newRow("value 200000 stays red")
            << 14 << 1 << 2 << 200000.0F << "." << QStringList{"200000", "163"}
            << QList{C::Red, C::Red};
        QTest::newRow("value 200000.5 yellow, decimal comma")
            << 14 << 1 << 2 << 200000.5F << "," << QStringList{"200000,5", "163"}
            << QList{C::Yellow, C::Red};
        QTest::newRow("shown 1000000 stays green, though a little above")
            << 14 << 1 << 2 << 1000000.4F << "." << QStringList{"1000000", "813"}
            << QList{C::Green, C::Blue};
        QTest::newRow("value in exponent form blue")
            << 14 << 1 << 2 << 12345678.0F << "." << QStringList{"1.234568E+07", "10037"}
            << QList{C::Blue, C::Blue};
        QTest::newRow("CPM 300 stays red") << 1 << 2 << 1 << 68100.0F << "."
                                           << QStringList{"68100", "300"} << QList{C::Red, C::Red};
        QTest::newRow("CPM 301 yellow") << 1 << 2 << 1 << 68327.0F << "."
                                        << QStringList{"68327", "301"} << QList{C::Red, C::Yellow};
        QTest::newRow("CPM 701 blue") << 1 << 2 << 5 << 159127.0F << "."
                                      << QStringList{"159127", "701"} << QList{C::Red, C::Blue};
        QTest::newRow("own goods divide by 100000")
            << 1 << 1 << 1 << 150000.0F << "." << QStringList{"150000", "2"}
            << QList{C::Red, C::Red};
        QTest::newRow("source is the moves' first index (19 to 11 is 100000)")
            << 11 << 19 << 1 << 150000.0F << "." << QStringList{"150000", "2"}
            << QList{C::Red, C::Red};
    }
    void allPayoffsValueAndCpmBoxes() {
        QFETCH(int, destination);
        QFETCH(int, source);
        QFETCH(int, slot);
        QFETCH(float, paid);
        QFETCH(QString, separator);
        QFETCH(QStringList, shown);
        QFETCH(QList<BandColour>, colours);
        TradeData data;
        setNeverValued(data);
        data.setValue(destination, goodsSlot(source, slot), paid);
        const auto view = allPayoffsTo(data, FixedClock(), destination, separator.toStdString());
        QVERIFY(view);
        const int frame = source < 11 ? source : source - 1;
        const auto& row = view->rows[static_cast<std::size_t>(allPayoffsBox(frame, slot))];
        QCOMPARE((QStringList{keptOr(row.value), QString::fromStdString(row.cpm)}), shown);
        QCOMPARE((QList{row.valueColour, row.cpmColour}), colours);
        QCOMPARE(QString::number(data.buffers.cpm(source, destination, slot)), shown[1]);
    }
};

QTEST_GUILESS_MAIN(RankingReportsTest)
#include "test_ranking_reports.moc"
