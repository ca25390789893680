#include <QTest>

#include "export/export_lines.h"
#include "support/export_test_data.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

class ExportLinesTest : public QObject {
    Q_OBJECT
private slots:
    // A values line when a From post is given, else the top five at the To post.
    void lines_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<float>("hoursAgo");
        QTest::addColumn<QString>("line");

        QTest::newRow("values: five goods with their prices")
            << 1 << 2 << Prices{{2, 210}, {63, 95}, {68, 40}, {77, 400}, {78, 12}} << 3.25F
            << "Values from Caldmoor to Elven Marketplace. Valued 3.25 hours ago. Ale - 210  "
               "Raisins - 95  Salt - 40  Sugar - 400  Tar - 12";
        QTest::newRow("values: empty slots read none - 1")
            << 8 << 3 << Prices{{3, 7.5F}, {9, 1234.5F}, {61, 42}} << 0.0F
            << "Values from Temple Shop(Elwyn) to Ranger's Cabin. Valued 0 hours ago. Aloe - "
               "7.5  Balm - 1234.5  Quills - 42  none - 1  none - 1";
        QTest::newRow("values: list labels and figures as the store writes them")
            << 7 << 19 << Prices{{25, 10000000}, {33, 9999999}, {37, 15000000}} << 3.25F
            << "Values from Lizard's(Lyryanoth) to Minotaur(NaeraMae). Valued 3.25 hours ago. "
               "Eggs - 1E+07  Glowworms - 9999999  Hides - 1.5E+07  Mushrooms - 1  Venom - 1";
        QTest::newRow("top five: five best-paid goods, the post's own among them")
            << 0 << 1 << Prices{{44, 1520}, {43, 1408}, {55, 1390}, {2, 1200}, {76, 990}, {73, 989}}
            << 3.25F
            << "Top 5 non-cpk values to Caldmoor. Valued 3.25 hours ago. Jewels(New Ashton) - "
               "1520  Ivory(Ranger's Cabin) - 1408  Opals(Sea's End) - 1390  Ale(Caldmoor) - "
               "1200  Spices(Karlisna) - 990";
        QTest::newRow("top five: never valued: latest of equal prices first, Weapons left out")
            << 0 << 12 << Prices{} << kNeverValuedRow
            << QStringLiteral(
                   "Top 5 non-cpk values to New Ashton. Valued %1 hours ago. "
                   "Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  Wine(Trellor) - 1  "
                   "Willowbark(Ruellia) - 1  Venom(Lyryanoth) - 1")
                   .arg(kNeverValuedAge);
        QTest::newRow("top five: a figure rounded up is not displaced by a later lower price")
            << 0 << 3 << Prices{{10, 1234.6F}, {20, 1234.8F}} << 3.25F
            << "Top 5 non-cpk values to Ranger's Cabin. Valued 3.25 hours ago. Bananas(Gdangus) "
               "- 1235  Cloth(Karlisna) - 1235  Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  "
               "Wine(Trellor) - 1";
        QTest::newRow("top five: a half rounds to even and a later price of that figure wins")
            << 0 << 3 << Prices{{10, 1234.5F}, {20, 1234.4F}} << 3.25F
            << "Top 5 non-cpk values to Ranger's Cabin. Valued 3.25 hours ago. Cloth(Karlisna) - "
               "1234  Bananas(Gdangus) - 1234  Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  "
               "Wine(Trellor) - 1";
        QTest::newRow("top five: prices beyond two billion keep their order and their figures")
            << 0 << 5 << Prices{{10, 4e9F}, {20, 3e9F}, {30, 2.5e9F}} << 3.25F
            << "Top 5 non-cpk values to Tanivsport(Mystara). Valued 3.25 hours ago. "
               "Bananas(Gdangus) - 4000000000  Cloth(Karlisna) - 3000000000  Furs(Ranger's Cabin) "
               "- 2500000000  Wands(Vanlarra) - 1  Waybread(Ruellia) - 1";
    }
    void lines() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(Prices, prices);
        QFETCH(float, hoursAgo);
        QFETCH(QString, line);
        TestContext t;
        valuePost(t.data, t.clock, to, prices, hoursAgo);
        const auto built = from ? valuesExportLine(t.data, t.clock, from, to)
                                : topFiveExportLine(t.data, t.clock, to);
        QVERIFY(built);
        QCOMPARE(QString::fromStdString(*built), line);
    }

    // The export leaves its commodities and figures (clamped to 32 bits) in the first five
    // ranking rows and the towns beside them, and touches nothing else. Rows left by an earlier
    // report must not keep their goods out of this list.
    void topFiveFillsTheSharedBuffers() {
        TestContext t;
        valuePost(t.data, t.clock, 1, {{44, 4e9F}, {43, 1408}, {55, 1390}, {73, 1200}, {84, 5e9F}},
                  3.25F);
        auto& rows = t.data.buffers.ranking;
        for (int r = 1; r <= kRankingRows; ++r)
            rows[r] = {-7, 13, 43, 14};
        t.data.buffers.topFiveTowns[5] = "stale";

        QVERIFY(topFiveExportLine(t.data, t.clock, 1));

        const int commodities[] = {44, 43, 55, 73, 88};
        const int figures[] = {2147483647, 1408, 1390, 1200, 1};
        const char* towns[] = {"New Ashton", "Ranger's Cabin", "Sea's End", "Hidden City",
                               "Vanlarra"};
        for (int k = 1; k <= kTopFiveRows; ++k) {
            QCOMPARE(int(rows[k].slot), commodities[k - 1]);
            QCOMPARE(rows[k].value, figures[k - 1]);
            QCOMPARE(t.data.buffers.topFiveTowns[k], std::string(towns[k - 1]));
            QCOMPARE(int(rows[k].sourceTp), 13);
            QCOMPARE(int(rows[k].destinationTp), 14);
        }
        for (int r = kTopFiveRows + 1; r <= kRankingRows; ++r)
            QCOMPARE(rows[r].value, -7);
    }

    void excludedGoodsAreThoseOfTheLastPost() {
        for (int c = 1; c <= kCommodityCount; ++c) {
            QCOMPARE(isExcludedFromTopFive(c), sellerOf(c) == 19);
        }
        QVERIFY(!isExcludedFromTopFive(0));
    }

    // Without its posts there is no line, and the shared buffers are left as they were.
    void noLineWithoutItsPosts_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("nothing picked") << 0 << 0;
        QTest::newRow("no From post") << 0 << 3;
        QTest::newRow("no To post") << 3 << 0;
        QTest::newRow("past the last post") << 1 << 20;
        QTest::newRow("negative") << -1 << 1;
    }
    void noLineWithoutItsPosts() {
        QFETCH(int, from);
        QFETCH(int, to);
        TestContext t;
        setNeverValued(t.data);
        t.data.buffers.ranking[1] = {77, 1, 2, 3};
        t.data.buffers.topFiveTowns[1] = "kept";
        QVERIFY(!valuesExportLine(t.data, t.clock, from, to));
        if (!isTradingPost(to))
            QVERIFY(!topFiveExportLine(t.data, t.clock, to));
        QCOMPARE(t.data.buffers.ranking[1].value, 77);
        QCOMPARE(t.data.buffers.topFiveTowns[1], std::string("kept"));
    }
};

QTEST_GUILESS_MAIN(ExportLinesTest)
#include "test_export_lines.moc"
