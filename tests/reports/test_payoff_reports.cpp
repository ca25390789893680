#include <QTest>
#include <algorithm>
#include <vector>

#include "core/catalogue.h"
#include "reports/payoff_reports.h"
#include "support/report_rows.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

Q_DECLARE_METATYPE(ledgerly::BandColour)

namespace {

QString q(const std::optional<std::string>& text) {
    return keptOr(text);
}

// A row as one line: "name value trading-post[ destination]".
QString rowLine(const RankedRowView& row) {
    QString line = QStringLiteral("%1 %2 %3").arg(q(row.name), q(row.value), q(row.tradingPost));
    if (row.destination)
        line += QLatin1Char(' ') + q(row.destination);
    return line;
}

void expectRows(const RankingReportView& view, const QStringList& lines) {
    for (int r = 1; r <= lines.size(); ++r)
        QCOMPARE(rowLine(view.rows[r]), lines[r - 1]);
    // Every further row was reached by no candidate: 1 in red, naming nothing.
    for (int r = static_cast<int>(lines.size()) + 1; r <= kRankingRows; ++r) {
        QCOMPARE(rowLine(view.rows[r]).simplified(), QStringLiteral("1"));
        QCOMPARE(view.rows[r].colour, BandColour::Red);
    }
}

// Leftovers of an earlier report, which unreached rows must not show.
void fillWithLeftovers(TradeData& data) {
    leaveStaleRanking(data, {9, 7, 2, 3});
}

}  // namespace

class PayoffReportsTest : public QObject {
    Q_OBJECT
private slots:
    void toPostListsTheFortyBestInScanOrder() {
        TestContext t;
        setNeverValued(t.data);
        const int d = 5;
        for (int c = 1; c <= kCommodityCount; ++c) {
            t.data.setValue(d, c, static_cast<float>(1000 + (c * 37) % 11 * 1000));
        }
        // Independent of the insertion rule: a stable sort keeps scan order among equals.
        struct Candidate {
            float value;
            int source, slot;
        };
        std::vector<Candidate> expected;
        for (int s = 1; s <= kTradingPostCount; ++s) {
            for (int k = 1; k <= kGoodsSlotCount; ++k) {
                expected.push_back({t.data.value(d, goodsSlot(s, k)), s, k});
            }
        }
        std::stable_sort(expected.begin(), expected.end(),
                         [](const Candidate& a, const Candidate& b) { return a.value > b.value; });

        const auto view = topPayoffsTo(t.data, t.clock, d, ".");
        QVERIFY(view && view->age);
        for (int r = 1; r <= kRankingRows; ++r) {
            const Candidate& want = expected[static_cast<std::size_t>(r - 1)];
            const int c = goodsSlot(want.source, want.slot);
            QCOMPARE(
                rowLine(view->rows[r]),
                QStringLiteral("%1 %2 %3")
                    .arg(QString::fromUtf8(commodityName(c).data()), QString::number(want.value),
                         QString::fromUtf8(tradingPost(want.source).townName.data())));
            QCOMPARE(t.data.buffers.ranking[r].slot, static_cast<std::int16_t>(c));
            QCOMPARE(t.data.buffers.ranking[r].destinationTp, static_cast<std::int16_t>(d));
        }
    }

    void toPostFewRowsOwnGoodsAndLeftovers() {
        TestContext t;
        setNeverValued(t.data);
        fillWithLeftovers(t.data);
        t.data.setValue(1, 2, 900.0F);      // Ale, Caldmoor's own good
        t.data.setValue(1, 88, 900.0F);     // Wands from Vanlarra: same value, scanned later
        t.data.setValue(1, 61, 250000.5F);  // Quills: halves to even, so it stays red
        t.data.setValue(2, 5, 5000.0F);     // another destination plays no part
        const auto view = topPayoffsTo(t.data, t.clock, 1, ".");
        QVERIFY(view);
        expectRows(*view, {"Quills 250000 Elwyn", "Ale 900 Caldmoor", "Wands 900 Vanlarra"});
        QCOMPARE(view->rows[1].colour, BandColour::Red);
        // The shared list keeps the old posts in unreached rows, as every ranking leaves them.
        QCOMPARE(t.data.buffers.ranking[4].sourceTp, std::int16_t{7});
        QCOMPARE(t.data.buffers.ranking[4].destinationTp, std::int16_t{3});
    }

    void rankedPayoffColours_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<BandColour>("colour");
        QTest::newRow("250000 stays red (no all-payoffs band)")
            << 250000.0F << "250000" << BandColour::Red;
        QTest::newRow("1000001 blue") << 1000001.0F << "1000001" << BandColour::Blue;
        QTest::newRow("too large clamps") << 3e12F << "2147483647" << BandColour::Blue;
    }
    void rankedPayoffColours() {
        QFETCH(float, value);
        QFETCH(QString, shown);
        QFETCH(BandColour, colour);
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(9, 77, value);  // Sugar, sold at Caldmoor
        const auto view = topPayoffsTo(t.data, t.clock, 9, ".");
        QVERIFY(view);
        QCOMPARE(rowLine(view->rows[1]), QStringLiteral("Sugar %1 Caldmoor").arg(shown));
        QCOMPARE(view->rows[1].colour, colour);
    }

    void noTradingPostComputesNothing() {
        for (const int tp : {0, 20, -1}) {
            TestContext t;
            setNeverValued(t.data);
            fillWithLeftovers(t.data);
            QVERIFY(!topPayoffsTo(t.data, t.clock, tp, "."));
            QVERIFY(!topPayoffsFrom(t.data, tp));
            QVERIFY(!allPayoffsTo(t.data, t.clock, tp, "."));
            QCOMPARE(t.data.buffers.ranking[1].value, 9);
            QCOMPARE(t.data.buffers.hourClockScratch, 0.0F);
        }
    }

    void fromPostRanksDestinations() {
        TestContext t;
        setNeverValued(t.data);
        fillWithLeftovers(t.data);
        t.data.setValue(12, 61, 700.0F);  // Quills to New Ashton and Riverton: lower post first
        t.data.setValue(4, 61, 700.0F);
        t.data.setValue(11, 3, 800.0F);  // Aloe to Thanos, which sells nothing but buys
        t.data.setValue(8, 9, 650.0F);   // Balm at Temple Shop itself
        t.data.setValue(4, 3, 700.0F);   // Aloe to Riverton: same post, lower slot
        const auto view = topPayoffsFrom(t.data, 8);
        QVERIFY(view);
        QVERIFY(!view->age);
        expectRows(*view, {"Aloe 800 Thanos", "Aloe 700 Riverton", "Quills 700 Riverton",
                           "Quills 700 New Ashton", "Balm 650 Elwyn"});
    }

    void fromPostTempleShopFillsFortyOfFiftySeven() {
        TestContext t;
        setNeverValued(t.data);
        for (int d = 1; d <= kTradingPostCount; ++d) {
            for (int c = 1; c <= kCommodityCount; ++c)
                t.data.setValue(d, c, 100.0F + d);
        }
        const auto view = topPayoffsFrom(t.data, 8);
        QVERIFY(view);
        // Destinations pay 119 down to 101 for all three goods; after 13 destinations x 3
        // goods, row 40 is the first good at Vanlarra (post 6, paying 106).
        QCOMPARE(rowLine(view->rows[1]), QStringLiteral("Aloe 119 NaeraMae"));
        QCOMPARE(rowLine(view->rows[40]), QStringLiteral("Aloe 106 Vanlarra"));
    }

    void fromPostThatSellsNothing() {
        TestContext t;
        setNeverValued(t.data);
        fillWithLeftovers(t.data);
        for (int d = 1; d <= kTradingPostCount; ++d)
            t.data.setValue(d, 20, 9000.0F);
        const auto view = topPayoffsFrom(t.data, 11);
        QVERIFY(view);
        expectRows(*view, {});
    }

    void anyPostClearsDestinationsButKeepsSources() {
        TestContext t;
        setNeverValued(t.data);
        leaveStaleRanking(t.data, {9, 3, 4, 7});
        t.data.setValue(11, 5, 2000.0F);  // Armor (post 19) bought by Thanos
        const RankingReportView view = topPayoffsToAny(t.data);
        QCOMPARE(rowLine(view.rows[1]), QStringLiteral("Armor 2000 NaeraMae Thanos"));
        for (int r = 2; r <= kRankingRows; ++r) {
            QCOMPARE(rowLine(view.rows[r]), QStringLiteral(" 1  "));
            const RankingRow& row = t.data.buffers.ranking[r];
            QCOMPARE(row.destinationTp, std::int16_t{0});
            QCOMPARE(row.sourceTp, std::int16_t{3});
            QCOMPARE(row.slot, std::int16_t{30});  // reset to slot 1, converted: Furs
        }
    }

    void anyPostTieOrderAndRepeatedCommodity() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(3, 2, 5000.0F);   // Ale to Ranger's Cabin
        t.data.setValue(2, 78, 5000.0F);  // Tar to Elven Marketplace: lower destination
        t.data.setValue(2, 6, 5000.0F);   // Arrows (own good) to Elven Marketplace
        t.data.setValue(2, 2, 5000.0F);   // Ale to Elven Marketplace: lowest slot of post 1
        t.data.setValue(17, 2, 6000.0F);  // Ale again, best at Derah
        expectRows(topPayoffsToAny(t.data),
                   {"Ale 6000 Caldmoor Derah", "Ale 5000 Caldmoor Elven Marketplace",
                    "Tar 5000 Caldmoor Elven Marketplace",
                    "Arrows 5000 Elven Marketplace Elven Marketplace",
                    "Ale 5000 Caldmoor Ranger's Cabin"});
    }

    void allPayoffsFramesAndBoxes() {
        TestContext t;
        setNeverValued(t.data);
        fillWithLeftovers(t.data);
        const int d = 3;
        t.data.setValue(d, 22, 4321.5F);   // Copper: first row of frame 11 (New Ashton)
        t.data.setValue(d, 84, 2.0F);      // Weapons: last row of frame 18 (Minotaur)
        t.data.setValue(d, 0, 400000.0F);  // even "none" valued high leaves 39 and 40 alone
        const auto view = allPayoffsTo(t.data, t.clock, d, ".");
        QVERIFY(view);
        const auto box = [&](int n) {
            const AllPayoffsRowView& row = view->rows[static_cast<std::size_t>(n)];
            return QStringLiteral("%1 %2 %3").arg(q(row.name), q(row.value), q(row.cpm));
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
        QCOMPARE(t.data.buffers.ranking[1].value, 9);  // the ranking list is not used
    }

    void allPayoffsValueColours_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<BandColour>("colour");
        QTest::newRow("200000 stays red") << 200000.0F << "."
                                          << "200000" << BandColour::Red;
        QTest::newRow("200000.5 yellow, decimal comma") << 200000.5F << ","
                                                        << "200000,5" << BandColour::Yellow;
        QTest::newRow("shown 1000000 stays green, though a little above")
            << 1000000.4F << "."
            << "1000000" << BandColour::Green;
        QTest::newRow("exponent form blue") << 12345678.0F << "."
                                            << "1.234568E+07" << BandColour::Blue;
    }
    void allPayoffsValueColours() {
        QFETCH(float, value);
        QFETCH(QString, separator);
        QFETCH(QString, shown);
        QFETCH(BandColour, colour);
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(14, 63, value);  // Raisins, row 2 of frame 1
        const auto view = allPayoffsTo(t.data, t.clock, 14, separator.toStdString());
        QVERIFY(view);
        QCOMPARE(q(view->rows[2].value), shown);
        QCOMPARE(view->rows[2].valueColour, colour);
    }

    void allPayoffsCpm_data() {
        QTest::addColumn<int>("destination");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("slot");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("cpm");
        QTest::addColumn<BandColour>("colour");
        // Caldmoor to Elven Marketplace is 227 moves.
        QTest::newRow("300 stays red") << 1 << 2 << 1 << 68100.0F << 300 << BandColour::Red;
        QTest::newRow("301 yellow") << 1 << 2 << 1 << 68327.0F << 301 << BandColour::Yellow;
        QTest::newRow("701 blue") << 1 << 2 << 5 << 159127.0F << 701 << BandColour::Blue;
        QTest::newRow("own goods divide by 100000")
            << 1 << 1 << 1 << 150000.0F << 2 << BandColour::Red;
        QTest::newRow("source is the moves' first index (19 to 11 is 100000)")
            << 11 << 19 << 1 << 150000.0F << 2 << BandColour::Red;
    }
    void allPayoffsCpm() {
        QFETCH(int, destination);
        QFETCH(int, source);
        QFETCH(int, slot);
        QFETCH(float, value);
        QFETCH(int, cpm);
        QFETCH(BandColour, colour);
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(destination, goodsSlot(source, slot), value);
        const auto view = allPayoffsTo(t.data, t.clock, destination, ".");
        QVERIFY(view);
        const int frame = source < 11 ? source : source - 1;
        const auto& row = view->rows[static_cast<std::size_t>(allPayoffsBox(frame, slot))];
        QCOMPARE(QString::fromStdString(row.cpm), QString::number(cpm));
        QCOMPARE(row.cpmColour, colour);
        QCOMPARE(t.data.buffers.cpm(source, destination, slot), cpm);
    }

    void toThenFromLeaveTheSharedListAsDefined() {
        TestContext t;
        setNeverValued(t.data);
        for (int c = 1; c <= kCommodityCount; ++c) {
            if (sellerOf(c) != 8)
                t.data.setValue(9, c, 500.0F + c);
        }
        QVERIFY(topPayoffsTo(t.data, t.clock, 9, "."));  // fills all 40 rows into post 9
        const ReportBuffers afterTo = t.data.buffers;

        t.data.setValue(2, 3, 800.0F);   // Aloe (Temple Shop) to Elven Marketplace
        t.data.setValue(5, 61, 700.0F);  // Quills to Mystara
        QVERIFY(topPayoffsFrom(t.data, 8));
        const RankingRow& first = t.data.buffers.ranking[1];
        QCOMPARE(first.value, 800);
        QCOMPARE(first.sourceTp, std::int16_t{8});
        QCOMPARE(first.slot, std::int16_t{3});
        QCOMPARE(first.destinationTp, std::int16_t{2});
        // The reset kept every row's posts and the two new entries pushed them down two places;
        // the convert step then turned the reset slot 1 into the old source's first good.
        for (int r = 3; r <= kRankingRows; ++r) {
            const RankingRow& row = t.data.buffers.ranking[r];
            const RankingRow& old = afterTo.ranking[r - 2];
            QCOMPARE(row.value, 1);
            QCOMPARE(row.sourceTp, old.sourceTp);
            QCOMPARE(row.destinationTp, std::int16_t{9});
            QCOMPARE(row.slot, static_cast<std::int16_t>(goodsSlot(old.sourceTp, 1)));
        }
    }
};

QTEST_GUILESS_MAIN(PayoffReportsTest)
#include "test_payoff_reports.moc"
