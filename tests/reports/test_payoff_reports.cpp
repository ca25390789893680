#include <QTest>
#include <algorithm>
#include <vector>

#include "core/catalogue.h"
#include "reports/payoff_reports.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

Q_DECLARE_METATYPE(ledgerly::BandColour)

namespace {

QString q(const std::optional<std::string>& text) {
    return text ? QString::fromStdString(*text) : QStringLiteral("<kept>");
}
QString q(const std::string& text) {
    return QString::fromStdString(text);
}

int commodityOf(int tp, int k) {
    return goodsSlot(tp, k);
}

struct Candidate {
    float value;
    int source;
    int slot;
    int destination;
};

// Independent of the insertion rule: a stable sort keeps scan order among equal whole values.
std::vector<Candidate> bestForty(std::vector<Candidate> scanned) {
    std::stable_sort(scanned.begin(), scanned.end(),
                     [](const Candidate& a, const Candidate& b) { return a.value > b.value; });
    std::erase_if(scanned, [](const Candidate& c) { return c.value <= 1.0F; });
    if (scanned.size() > 40)
        scanned.resize(40);
    return scanned;
}

void expectUnreached(const RankingReportView& view, int firstUnreached) {
    for (int r = firstUnreached; r <= kRankingRows; ++r) {
        const RankedRowView& row = view.rows[r];
        QCOMPARE(q(row.value), QStringLiteral("1"));
        QCOMPARE(row.colour, BandColour::Red);
        QCOMPARE(q(row.name), QString());
        QCOMPARE(q(row.tradingPost), QString());
    }
}

}  // namespace

class PayoffReportsTest : public QObject {
    Q_OBJECT
private slots:
    // ---- top 40 payoffs to a post ----

    void toPostListsTheFortyBestInScanOrder() {
        TestContext t;
        setNeverValued(t.data);
        const int d = 5;
        // Many equal values and a spread of others, more than 40 above 1.
        for (int c = 1; c <= kCommodityCount; ++c) {
            t.data.setValue(d, c, static_cast<float>(1000 + (c * 37) % 11 * 1000));
        }
        std::vector<Candidate> scanned;
        for (int s = 1; s <= kTradingPostCount; ++s) {
            for (int k = 1; k <= kGoodsSlotCount; ++k) {
                scanned.push_back({t.data.value(d, commodityOf(s, k)), s, k, d});
            }
        }
        const auto expected = bestForty(scanned);
        QCOMPARE(expected.size(), std::size_t{40});

        const auto view = topPayoffsTo(t.data, t.clock, d, ".");
        QVERIFY(view);
        QVERIFY(view->age);
        for (int r = 1; r <= kRankingRows; ++r) {
            const Candidate& want = expected[static_cast<std::size_t>(r - 1)];
            const int c = commodityOf(want.source, want.slot);
            QCOMPARE(q(view->rows[r].value), QString::number(want.value));
            QCOMPARE(q(view->rows[r].name), q(std::string(commodityName(c))));
            QCOMPARE(q(view->rows[r].tradingPost),
                     q(std::string(tradingPost(want.source).townName)));
            const RankingRow& row = t.data.buffers.ranking[r];
            QCOMPARE(row.slot, static_cast<std::int16_t>(c));  // converted to the commodity
            QCOMPARE(row.sourceTp, static_cast<std::int16_t>(want.source));
            QCOMPARE(row.destinationTp, static_cast<std::int16_t>(d));
        }
    }

    void toPostFewRowsAndOwnGoods() {
        TestContext t;
        setNeverValued(t.data);
        // Make earlier reports' leftovers visible: they must not leak into unreached rows.
        for (int r = 1; r <= kRankingRows; ++r)
            t.data.buffers.ranking[r] = {9, 7, 2, 3};
        t.data.setValue(1, 2, 900.0F);      // Ale, Caldmoor's own good
        t.data.setValue(1, 88, 900.0F);     // Wands from Vanlarra: same value, scanned later
        t.data.setValue(1, 61, 250000.5F);  // Quills: halves to even, stays red

        const auto view = topPayoffsTo(t.data, t.clock, 1, ".");
        QVERIFY(view);
        QCOMPARE(q(view->rows[1].value), QStringLiteral("250000"));
        QCOMPARE(view->rows[1].colour, BandColour::Red);
        QCOMPARE(q(view->rows[1].name), QStringLiteral("Quills"));
        QCOMPARE(q(view->rows[1].tradingPost), QStringLiteral("Elwyn"));
        QCOMPARE(q(view->rows[2].name), QStringLiteral("Ale"));
        QCOMPARE(q(view->rows[2].tradingPost), QStringLiteral("Caldmoor"));
        QCOMPARE(q(view->rows[3].name), QStringLiteral("Wands"));
        QCOMPARE(q(view->rows[3].tradingPost), QStringLiteral("Vanlarra"));
        expectUnreached(*view, 4);
        // The shared list keeps the old posts in unreached rows, as every report leaves them.
        QCOMPARE(t.data.buffers.ranking[4].sourceTp, std::int16_t{7});
        QCOMPARE(t.data.buffers.ranking[4].destinationTp, std::int16_t{3});
    }

    void toPostNeverValuedFillsNothing() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(2, 5, 5000.0F);  // another post's values play no part
        const auto view = topPayoffsTo(t.data, t.clock, 3, ".");
        QVERIFY(view);
        expectUnreached(*view, 1);
        QCOMPARE(view->age->colour, BandColour::Red);
    }

    void toPostShowsTheAgeOfTheChosenPost() {
        TestContext t;
        setNeverValued(t.data);
        const float now = readHourClock(t.clock);
        t.data.setStamp(6, now - 3.25F);
        const auto view = topPayoffsTo(t.data, t.clock, 6, ",");
        QVERIFY(view && view->age);
        QCOMPARE(q(view->age->text), QStringLiteral("3,25"));
        QCOMPARE(view->age->colour, BandColour::Yellow);
        QCOMPARE(t.data.buffers.hourClockScratch, now);
    }

    void rankedColours_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<BandColour>("colour");
        QTest::newRow("250000 stays red") << 250000.0F << "250000" << BandColour::Red;
        QTest::newRow("250001 yellow") << 250001.0F << "250001" << BandColour::Yellow;
        QTest::newRow("500000 stays yellow") << 500000.0F << "500000" << BandColour::Yellow;
        QTest::newRow("1000000 stays green") << 1000000.0F << "1000000" << BandColour::Green;
        QTest::newRow("1000001 blue") << 1000001.0F << "1000001" << BandColour::Blue;
        QTest::newRow("1.4 enters and shows 1") << 1.4F << "1" << BandColour::Red;
        QTest::newRow("too large clamps") << 3e12F << "2147483647" << BandColour::Blue;
    }
    void rankedColours() {
        QFETCH(float, value);
        QFETCH(QString, shown);
        QFETCH(BandColour, colour);
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(9, 77, value);  // Sugar, sold at Caldmoor
        const auto view = topPayoffsTo(t.data, t.clock, 9, ".");
        QVERIFY(view);
        QCOMPARE(q(view->rows[1].value), shown);
        QCOMPARE(view->rows[1].colour, colour);
        QCOMPARE(q(view->rows[1].name), QStringLiteral("Sugar"));
    }

    void noTradingPostComputesNothing_data() {
        QTest::addColumn<int>("tp");
        QTest::newRow("nothing chosen") << 0;
        QTest::newRow("past the last post") << 20;
        QTest::newRow("negative") << -1;
    }
    void noTradingPostComputesNothing() {
        QFETCH(int, tp);
        TestContext t;
        setNeverValued(t.data);
        for (int r = 1; r <= kRankingRows; ++r)
            t.data.buffers.ranking[r] = {50, 4, 2, 6};
        const ReportBuffers before = t.data.buffers;
        QVERIFY(!topPayoffsTo(t.data, t.clock, tp, "."));
        QVERIFY(!topPayoffsFrom(t.data, tp));
        QVERIFY(!allPayoffsTo(t.data, t.clock, tp, "."));
        for (int r = 1; r <= kRankingRows; ++r) {
            QCOMPARE(t.data.buffers.ranking[r].value, before.ranking[r].value);
            QCOMPARE(t.data.buffers.ranking[r].slot, before.ranking[r].slot);
        }
        QCOMPARE(t.data.buffers.hourClockScratch, before.hourClockScratch);
    }

    // ---- top 40 payoffs from a post ----

    void fromPostRanksDestinations() {
        TestContext t;
        setNeverValued(t.data);
        // Quills (slot 3 of Temple Shop) pays the same at two posts: lower destination first.
        t.data.setValue(12, 61, 700.0F);
        t.data.setValue(4, 61, 700.0F);
        t.data.setValue(11, 3, 800.0F);  // Aloe at Thanos, which sells nothing but buys
        t.data.setValue(8, 9, 650.0F);   // Balm at Temple Shop itself
        t.data.setValue(4, 3, 700.0F);   // Aloe at Riverton: same destination, lower slot
        const auto view = topPayoffsFrom(t.data, 8);
        QVERIFY(view);
        QVERIFY(!view->age);
        const QStringList expected{"Aloe 800 Thanos", "Aloe 700 Riverton", "Quills 700 Riverton",
                                   "Quills 700 New Ashton", "Balm 650 Elwyn"};
        for (int r = 1; r <= expected.size(); ++r) {
            const RankedRowView& row = view->rows[r];
            QCOMPARE(QStringLiteral("%1 %2 %3").arg(q(row.name), q(row.value), q(row.tradingPost)),
                     expected[r - 1]);
        }
        expectUnreached(*view, 6);
    }

    void fromPostTempleShopOffersAtMostFiftySeven() {
        TestContext t;
        setNeverValued(t.data);
        for (int d = 1; d <= kTradingPostCount; ++d) {
            for (int c = 0; c <= kCommodityCount; ++c)
                t.data.setValue(d, c, 100.0F + d);
        }
        for (int d = 1; d <= kTradingPostCount; ++d)
            t.data.setValue(d, 0, 1.0F);
        TradeData& data = t.data;
        resetRanking(data);
        int entered = 0;
        for (int d = 1; d <= kTradingPostCount; ++d) {
            for (int k = 1; k <= kGoodsSlotCount; ++k) {
                entered += offerCandidate(data, payoff(data, 8, k, d), 8, k, d) ? 1 : 0;
            }
        }
        QCOMPARE(entered, 57);

        const auto view = topPayoffsFrom(t.data, 8);
        QVERIFY(view);
        // 19 destinations paying 119 down to 101, three goods each; after 13 destinations x 3
        // goods, row 40 is the first good at Vanlarra (post 6, paying 106).
        QCOMPARE(q(view->rows[1].value), QStringLiteral("119"));
        QCOMPARE(q(view->rows[1].tradingPost), QStringLiteral("NaeraMae"));
        QCOMPARE(q(view->rows[40].value), QStringLiteral("106"));
        QCOMPARE(q(view->rows[40].name), QStringLiteral("Aloe"));
        QCOMPARE(q(view->rows[40].tradingPost), QStringLiteral("Vanlarra"));
    }

    void fromPostThatSellsNothing() {
        TestContext t;
        setNeverValued(t.data);
        for (int d = 1; d <= kTradingPostCount; ++d)
            t.data.setValue(d, 20, 9000.0F);
        const auto view = topPayoffsFrom(t.data, 11);
        QVERIFY(view);
        expectUnreached(*view, 1);
    }

    // ---- top 40 payoffs between any two posts ----

    void anyPostClearsDestinationsButKeepsSources() {
        TestContext t;
        setNeverValued(t.data);
        for (int r = 1; r <= kRankingRows; ++r)
            t.data.buffers.ranking[r] = {9, 3, 4, 7};
        t.data.setValue(11, 5, 2000.0F);  // Armor (post 19) bought by Thanos

        const RankingReportView view = topPayoffsToAny(t.data);
        QCOMPARE(q(view.rows[1].name), QStringLiteral("Armor"));
        QCOMPARE(q(view.rows[1].tradingPost), QStringLiteral("NaeraMae"));
        QCOMPARE(q(view.rows[1].destination), QStringLiteral("Thanos"));
        for (int r = 2; r <= kRankingRows; ++r) {
            QCOMPARE(q(view.rows[r].destination), QString());
            const RankingRow& row = t.data.buffers.ranking[r];
            QCOMPARE(row.destinationTp, std::int16_t{0});
            QCOMPARE(row.sourceTp, std::int16_t{3});
            QCOMPARE(row.value, 1);
            QCOMPARE(row.slot, std::int16_t{30});  // slot 1 of Ranger's Cabin: Furs
        }
        expectUnreached(view, 2);
    }

    void anyPostTieOrderAndRepeatedCommodity() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(3, 2, 5000.0F);   // Ale to Ranger's Cabin
        t.data.setValue(2, 78, 5000.0F);  // Tar to Elven Marketplace: lower destination
        t.data.setValue(2, 6, 5000.0F);   // Arrows (own good) to Elven Marketplace
        t.data.setValue(2, 2, 5000.0F);   // Ale to Elven Marketplace: lowest slot of post 1
        t.data.setValue(17, 2, 6000.0F);  // Ale again, best at Derah
        const RankingReportView view = topPayoffsToAny(t.data);
        const QStringList expected{"Ale 6000 Caldmoor Derah", "Ale 5000 Caldmoor Elven Marketplace",
                                   "Tar 5000 Caldmoor Elven Marketplace",
                                   "Arrows 5000 Elven Marketplace Elven Marketplace",
                                   "Ale 5000 Caldmoor Ranger's Cabin"};
        for (int r = 1; r <= expected.size(); ++r) {
            const RankedRowView& row = view.rows[r];
            QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                         .arg(q(row.name), q(row.value), q(row.tradingPost), q(row.destination)),
                     expected[r - 1]);
        }
        expectUnreached(view, 6);
    }

    void anyPostKeepsTheBestFortyOfMany() {
        TestContext t;
        setNeverValued(t.data);
        std::vector<Candidate> scanned;
        for (int d = 1; d <= kTradingPostCount; ++d) {
            for (int c = 1; c <= kCommodityCount; ++c) {
                t.data.setValue(d, c, static_cast<float>((d * 131 + c * 17) % 50 + 1) * 100.0F);
            }
        }
        for (int d = 1; d <= kTradingPostCount; ++d) {
            for (int s = 1; s <= kTradingPostCount; ++s) {
                for (int k = 1; k <= kGoodsSlotCount; ++k) {
                    scanned.push_back({t.data.value(d, commodityOf(s, k)), s, k, d});
                }
            }
        }
        const auto expected = bestForty(scanned);
        const RankingReportView view = topPayoffsToAny(t.data);
        for (int r = 1; r <= kRankingRows; ++r) {
            const Candidate& want = expected[static_cast<std::size_t>(r - 1)];
            QCOMPARE(q(view.rows[r].value), QString::number(want.value));
            QCOMPARE(q(view.rows[r].name),
                     q(std::string(commodityName(commodityOf(want.source, want.slot)))));
            QCOMPARE(q(view.rows[r].destination),
                     q(std::string(tradingPost(want.destination).townName)));
        }
    }

    // ---- all payoffs to a post ----

    void allPayoffsFramesAndBoxes() {
        TestContext t;
        setNeverValued(t.data);
        const int d = 3;
        t.data.setValue(d, 22, 4321.5F);   // Copper: first row of frame 11 (New Ashton)
        t.data.setValue(d, 84, 2.0F);      // Weapons: last row of frame 18 (Minotaur)
        t.data.setValue(d, 0, 400000.0F);  // even a "none" valued high leaves 39 and 40 alone
        const auto view = allPayoffsTo(t.data, t.clock, d, ".");
        QVERIFY(view);

        QCOMPARE(q(view->rows[51].name), QStringLiteral("Copper"));
        QCOMPARE(q(view->rows[51].value), QStringLiteral("4321.5"));
        QCOMPARE(q(view->rows[90].name), QStringLiteral("Weapons"));
        QCOMPARE(q(view->rows[90].value), QStringLiteral("2"));
        QCOMPARE(q(view->rows[38].name), QStringLiteral("Quills"));
        QCOMPARE(q(view->rows[1].name), QStringLiteral("Ale"));
        for (int n : {39, 40}) {
            const AllPayoffsRowView& row = view->rows[static_cast<std::size_t>(n)];
            QCOMPARE(q(row.name), QStringLiteral("<kept>"));
            QCOMPARE(q(row.value), QStringLiteral("<kept>"));
            QCOMPARE(row.valueColour, BandColour::Red);
            QCOMPARE(q(row.cpm), QStringLiteral("494"));  // 400000 / 810 moves
            QCOMPARE(row.cpmColour, BandColour::Red);
        }
        QCOMPARE(view->age.colour, BandColour::Red);
        QVERIFY(t.data.buffers.hourClockScratch > 0.0F);
    }

    void allPayoffsNeverValued() {
        TestContext t;
        setNeverValued(t.data);
        const auto view = allPayoffsTo(t.data, t.clock, 11, ".");
        QVERIFY(view);
        for (int n = 1; n <= kAllPayoffsBoxes; ++n) {
            const AllPayoffsRowView& row = view->rows[static_cast<std::size_t>(n)];
            QCOMPARE(q(row.cpm), QStringLiteral("0"));
            QCOMPARE(row.cpmColour, BandColour::Red);
            QCOMPARE(row.valueColour, BandColour::Red);
            if (n != 39 && n != 40)
                QCOMPARE(q(row.value), QStringLiteral("1"));
        }
    }

    void allPayoffsValueColours_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<BandColour>("colour");
        QTest::newRow("200000 stays red") << 200000.0F << "."
                                          << "200000" << BandColour::Red;
        QTest::newRow("200000.5 yellow") << 200000.5F << "."
                                         << "200000.5" << BandColour::Yellow;
        QTest::newRow("decimal comma") << 200000.5F << ","
                                       << "200000,5" << BandColour::Yellow;
        QTest::newRow("500000 stays yellow") << 500000.0F << "."
                                             << "500000" << BandColour::Yellow;
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
        QTest::addColumn<QString>("cpm");
        QTest::addColumn<BandColour>("colour");
        QTest::addColumn<int>("box");
        // Caldmoor to Elven Marketplace is 227 moves.
        QTest::newRow("300 stays red") << 1 << 2 << 1 << 68100.0F << "300" << BandColour::Red << 6;
        QTest::newRow("301 yellow") << 1 << 2 << 1 << 68327.0F << "301" << BandColour::Yellow << 6;
        QTest::newRow("501 green") << 1 << 2 << 2 << 113727.0F << "501" << BandColour::Green << 7;
        QTest::newRow("701 blue") << 1 << 2 << 5 << 159127.0F << "701" << BandColour::Blue << 10;
        QTest::newRow("own goods divide by 100000")
            << 1 << 1 << 1 << 150000.0F << "2" << BandColour::Red << 1;
        QTest::newRow("source is the moves' first index (19 to 11 is 100000)")
            << 11 << 19 << 1 << 150000.0F << "2" << BandColour::Red << 86;
    }
    void allPayoffsCpm() {
        QFETCH(int, destination);
        QFETCH(int, source);
        QFETCH(int, slot);
        QFETCH(float, value);
        QFETCH(QString, cpm);
        QFETCH(BandColour, colour);
        QFETCH(int, box);
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(destination, goodsSlot(source, slot), value);
        const auto view = allPayoffsTo(t.data, t.clock, destination, ".");
        QVERIFY(view);
        QCOMPARE(q(view->rows[static_cast<std::size_t>(box)].cpm), cpm);
        QCOMPARE(view->rows[static_cast<std::size_t>(box)].cpmColour, colour);
        QCOMPARE(t.data.buffers.cpm(source, destination, slot), cpm.toInt());
    }

    void allPayoffsLeavesTheRankingAlone() {
        TestContext t;
        setNeverValued(t.data);
        for (int r = 1; r <= kRankingRows; ++r)
            t.data.buffers.ranking[r] = {55, 2, 3, 4};
        t.data.setValue(4, 2, 90000.0F);
        QVERIFY(allPayoffsTo(t.data, t.clock, 4, "."));
        for (int r = 1; r <= kRankingRows; ++r) {
            QCOMPARE(t.data.buffers.ranking[r].value, 55);
            QCOMPARE(t.data.buffers.ranking[r].slot, std::int16_t{3});
        }
    }

    // ---- reports one after another ----

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
