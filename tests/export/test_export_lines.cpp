#include <QTest>

#include "export/export_lines.h"
#include "export_test_data.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

QString never(const char* rest) {
    return QString::fromLatin1(kNeverValuedAge) + rest;
}

// The five entries of a post whose prices are all 1, after the excluded Weapons is passed over.
const QString kFiveNeverValued = QStringLiteral(
    "Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  Wine(Trellor) - 1  Willowbark(Ruellia) - 1  "
    "Venom(Lyryanoth) - 1");

}  // namespace

class ExportLinesTest : public QObject {
    Q_OBJECT
private slots:
    void valuesLines_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<float>("hoursAgo");
        QTest::addColumn<QString>("line");

        QTest::newRow("five goods with their prices")
            << 1 << 2 << Prices{{2, 210}, {63, 95}, {68, 40}, {77, 400}, {78, 12}} << 3.25F
            << "Values from Caldmoor to Elven Marketplace. Valued 3.25 hours ago. Ale - 210  "
               "Raisins - 95  Salt - 40  Sugar - 400  Tar - 12";
        QTest::newRow("empty slots read none - 1")
            << 8 << 3 << Prices{{3, 7.5F}, {9, 1234.5F}, {61, 42}} << 0.0F
            << "Values from Temple Shop(Elwyn) to Ranger's Cabin. Valued 0 hours ago. Aloe - "
               "7.5  Balm - 1234.5  Quills - 42  none - 1  none - 1";
        QTest::newRow("a post that sells nothing")
            << 11 << 4 << Prices{{2, 500}} << 1.5F
            << "Values from Ur-Vile(Thanos) to Riverton. Valued 1.5 hours ago. none - 1  none - "
               "1  none - 1  none - 1  none - 1";
        QTest::newRow("a post to itself, list labels and seven digits")
            << 5 << 5 << Prices{{17, 300}, {31, 999999.9F}, {58, 1234567.5F}, {79, 12345678}}
            << 26.0F
            << "Values from Tanivsport(Mystara) to Tanivsport(Mystara). Valued 26 hours ago. "
               "Carpet - 300  Fish - 999999.9  Maps - 1  Pearls - 1234568  Teak - 1.234568E+07";
        QTest::newRow("ten million and more in exponent form")
            << 7 << 19 << Prices{{25, 10000000}, {33, 9999999}, {37, 15000000}} << 3.25F
            << "Values from Lizard's(Lyryanoth) to Minotaur(NaeraMae). Valued 3.25 hours ago. "
               "Eggs - 1E+07  Glowworms - 9999999  Hides - 1.5E+07  Mushrooms - 1  Venom - 1";
        QTest::newRow("a post never valued")
            << 19 << 6 << Prices{} << kNeverValuedRow
            << "Values from Minotaur(NaeraMae) to Vanlarra. Valued " +
                   never(" hours ago. Armor - 1  Chains - 1  Mead - 1  Pelts - 1  Weapons - 1");
        // The clock ticks in 1/64 hours at this size, so the nearest future stamp is 0.015625
        // hours ahead, which cuts down to -0.02.
        QTest::newRow("stamp in the future gives a negative age")
            << 18 << 9 << Prices{} << -0.015625F
            << "Values from Hidden City(Old Wizard's Cart) to Dark Army(New Genesia). Valued "
               "-0.02 hours ago. Illutian - 1  Silk - 1  Fans - 1  Silkworms - 1  Quilts - 1";
    }
    void valuesLines() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(Prices, prices);
        QFETCH(float, hoursAgo);
        QFETCH(QString, line);
        TestContext t;
        valuePost(t.data, t.clock, to, prices, hoursAgo);
        const auto built = valuesExportLine(t.data, t.clock, from, to);
        QVERIFY(built);
        QCOMPARE(QString::fromStdString(*built), line);
    }

    void topFiveLines_data() {
        QTest::addColumn<int>("to");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<float>("hoursAgo");
        QTest::addColumn<QString>("line");

        QTest::newRow("five best-paid goods")
            << 1 << Prices{{44, 1520}, {43, 1408}, {55, 1390}, {73, 1200}, {76, 990}, {2, 989}}
            << 3.25F
            << "Top 5 non-cpk values to Caldmoor. Valued 3.25 hours ago. Jewels(New Ashton) - "
               "1520  Ivory(Ranger's Cabin) - 1408  Opals(Sea's End) - 1390  Silk(Hidden City) - "
               "1200  Spices(Karlisna) - 990";
        QTest::newRow("never valued: latest of equal prices first, Weapons left out")
            << 12 << Prices{} << kNeverValuedRow
            << "Top 5 non-cpk values to New Ashton. Valued " + never(" hours ago. ") +
                   kFiveNeverValued;
        QTest::newRow("equal figures go to the latest in the catalogue")
            << 2 << Prices{{2, 500}, {30, 500}, {60, 500}, {10, 400}, {20, 300}} << 3.25F
            << "Top 5 non-cpk values to Elven Marketplace. Valued 3.25 hours ago. "
               "Perfume(Trellor) - 500  Furs(Ranger's Cabin) - 500  Ale(Caldmoor) - 500  "
               "Bananas(Gdangus) - 400  Cloth(Karlisna) - 300";
        QTest::newRow("a figure rounded up is not displaced by a later lower price")
            << 3 << Prices{{10, 1234.6F}, {20, 1234.8F}} << 3.25F
            << "Top 5 non-cpk values to Ranger's Cabin. Valued 3.25 hours ago. Bananas(Gdangus) "
               "- 1235  Cloth(Karlisna) - 1235  Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  "
               "Wine(Trellor) - 1";
        QTest::newRow("a half rounds to even and a later price of that figure wins")
            << 3 << Prices{{10, 1234.5F}, {20, 1234.4F}} << 3.25F
            << "Top 5 non-cpk values to Ranger's Cabin. Valued 3.25 hours ago. Cloth(Karlisna) - "
               "1234  Bananas(Gdangus) - 1234  Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  "
               "Wine(Trellor) - 1";
        QTest::newRow("excluded goods never listed however high")
            << 4 << Prices{{84, 1e9F}, {5, 5e6F}, {18, 4e6F}, {47, 3e6F}, {59, 2e6F}, {2, 10}}
            << 3.25F
            << "Top 5 non-cpk values to Riverton. Valued 3.25 hours ago. Ale(Caldmoor) - 10  "
               "Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  Wine(Trellor) - 1  "
               "Willowbark(Ruellia) - 1";
        QTest::newRow("the post's own goods are listed")
            << 10 << Prices{{19, 900}, {87, 800}} << 3.25F
            << "Top 5 non-cpk values to Hidden Valley(Ruellia). Valued 3.25 hours ago. "
               "Cloaks(Ruellia) - 900  Waybread(Ruellia) - 800  Wands(Vanlarra) - 1  "
               "Wine(Trellor) - 1  Willowbark(Ruellia) - 1";
        QTest::newRow("goods of the posts after the one without goods")
            << 16 << Prices{{16, 70}, {42, 60}, {22, 50}, {12, 40}, {39, 30}} << 3.25F
            << "Top 5 non-cpk values to Sea's End. Valued 3.25 hours ago. Candles(Derah) - 70  "
               "Illutian(Hidden City) - 60  Copper(New Ashton) - 50  Beer(Karlisna) - 40  "
               "Incense(Trellor) - 30";
        QTest::newRow("prices beyond two billion keep their order and their figures")
            << 5 << Prices{{10, 4e9F}, {20, 3e9F}, {30, 2.5e9F}} << 3.25F
            << "Top 5 non-cpk values to Tanivsport(Mystara). Valued 3.25 hours ago. "
               "Bananas(Gdangus) - 4000000000  Cloth(Karlisna) - 3000000000  Furs(Ranger's Cabin) "
               "- 2500000000  Wands(Vanlarra) - 1  Waybread(Ruellia) - 1";
    }
    void topFiveLines() {
        QFETCH(int, to);
        QFETCH(Prices, prices);
        QFETCH(float, hoursAgo);
        QFETCH(QString, line);
        TestContext t;
        valuePost(t.data, t.clock, to, prices, hoursAgo);
        const auto built = topFiveExportLine(t.data, t.clock, to);
        QVERIFY(built);
        QCOMPARE(QString::fromStdString(*built), line);
    }

    void topFiveFillsTheSharedBuffers() {
        TestContext t;
        valuePost(t.data, t.clock, 1, {{44, 1520}, {43, 1408}, {55, 1390}, {73, 1200}, {84, 5e9F}},
                  3.25F);
        auto& rows = t.data.buffers.ranking;
        for (int r = 1; r <= kRankingRows; ++r)
            rows[r] = {-7, 13, 3, 14};  // an earlier report's
        t.data.buffers.topFiveTowns[5] = "stale";

        QVERIFY(topFiveExportLine(t.data, t.clock, 1));

        const int commodities[] = {44, 43, 55, 73, 88};
        const int figures[] = {1520, 1408, 1390, 1200, 1};
        const char* towns[] = {"New Ashton", "Ranger's Cabin", "Sea's End", "Hidden City",
                               "Vanlarra"};
        for (int k = 1; k <= kTopFiveRows; ++k) {
            QCOMPARE(int(rows[k].slot), commodities[k - 1]);
            QCOMPARE(rows[k].value, figures[k - 1]);
            QCOMPARE(t.data.buffers.topFiveTowns[k], std::string(towns[k - 1]));
            // Only the commodity and figure columns belong to this export.
            QCOMPARE(int(rows[k].sourceTp), 13);
            QCOMPARE(int(rows[k].destinationTp), 14);
        }
        for (int r = kTopFiveRows + 1; r <= kRankingRows; ++r)
            QCOMPARE(rows[r].value, -7);
    }

    void topFiveFigureIsClampedInTheRankingList() {
        TestContext t;
        valuePost(t.data, t.clock, 1, {{10, 4e9F}}, 1.0F);
        QVERIFY(topFiveExportLine(t.data, t.clock, 1));
        QCOMPARE(t.data.buffers.ranking[1].value, 2147483647);
        QCOMPARE(int(t.data.buffers.ranking[1].slot), 10);
    }

    void earlierTopFiveDoesNotHideGoodsFromTheNext() {
        TestContext t;
        valuePost(t.data, t.clock, 1, {{2, 500}, {63, 400}, {68, 300}, {77, 200}, {78, 100}},
                  3.25F);
        QVERIFY(topFiveExportLine(t.data, t.clock, 1));  // rows now hold Caldmoor's goods
        for (const auto& [c, v] : Prices{{78, 900}, {77, 800}})
            t.data.setValue(2, c, v);
        const auto again = topFiveExportLine(t.data, t.clock, 2);
        QVERIFY(again);
        QVERIFY2(QString::fromStdString(*again).endsWith(
                     "Tar(Caldmoor) - 900  Sugar(Caldmoor) - 800  Wands(Vanlarra) - 1  "
                     "Waybread(Ruellia) - 1  Wine(Trellor) - 1"),
                 again->c_str());
    }

    void excludedGoodsAreThoseOfTheLastPost() {
        for (int c = 1; c <= kCommodityCount; ++c) {
            QCOMPARE(isExcludedFromTopFive(c), sellerOf(c) == 19);
        }
        QVERIFY(!isExcludedFromTopFive(0));
    }

    void townsOfGoods_data() {
        QTest::addColumn<int>("commodity");
        QTest::addColumn<QString>("town");
        QTest::newRow("first post") << 2 << "Caldmoor";
        QTest::newRow("last slot of a post") << 78 << "Caldmoor";
        QTest::newRow("post with three goods") << 61 << "Elwyn";
        QTest::newRow("after the post without goods") << 22 << "New Ashton";
        QTest::newRow("out of catalogue order slots") << 27 << "Hidden City";
        QTest::newRow("an excluded good still has its town") << 84 << "NaeraMae";
        QTest::newRow("none is sold nowhere") << 0 << "";
    }
    void townsOfGoods() {
        QFETCH(int, commodity);
        QFETCH(QString, town);
        QCOMPARE(QString::fromStdString(townSelling(commodity)), town);
    }

    void noValuesLineWithoutBothPosts_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("nothing picked") << 0 << 0;
        QTest::newRow("no From post") << 0 << 3;
        QTest::newRow("no To post") << 3 << 0;
        QTest::newRow("past the last post") << 1 << 20;
        QTest::newRow("negative") << -1 << 1;
    }
    void noValuesLineWithoutBothPosts() {
        QFETCH(int, from);
        QFETCH(int, to);
        TestContext t;
        setNeverValued(t.data);
        QVERIFY(!valuesExportLine(t.data, t.clock, from, to));
    }

    void noTopFiveWithoutAPostAndNoBufferTouched() {
        TestContext t;
        setNeverValued(t.data);
        t.data.buffers.ranking[1] = {77, 1, 2, 3};
        t.data.buffers.topFiveTowns[1] = "kept";
        for (int to : {0, -1, 20}) {
            QVERIFY(!topFiveExportLine(t.data, t.clock, to));
            QCOMPARE(t.data.buffers.ranking[1].value, 77);
            QCOMPARE(t.data.buffers.topFiveTowns[1], std::string("kept"));
        }
    }
};

QTEST_GUILESS_MAIN(ExportLinesTest)
#include "test_export_lines.moc"
