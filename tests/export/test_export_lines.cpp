#include <QTest>
#include <cmath>

#include "export/export_lines.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

// Commodity -> what the post pays; every other commodity stays at 1.
using Prices = QList<QPair<int, float>>;

// Never-valued data in which `tp` pays `prices` and was valued `hoursAgo` before the clock's
// reading (NaN: never valued, stamp 10).
void valuePost(TestContext& t, int tp, const Prices& prices, float hoursAgo) {
    setNeverValued(t.data);
    for (const auto& [c, v] : prices)
        t.data.setValue(tp, c, v);
    if (!std::isnan(hoursAgo))
        t.data.setStamp(tp, readHourClock(t.clock) - hoursAgo);
}

}  // namespace

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
        // 6 December 2026, 12:00 on the hour clock, less the never-valued stamp 10.
        QTest::newRow("top five: never valued: latest of equal prices first, Weapons left out")
            << 0 << 12 << Prices{} << float(NAN)
            << "Top 5 non-cpk values to New Ashton. Valued 209642 hours ago. Wands(Vanlarra) - 1  "
               "Waybread(Ruellia) - 1  Wine(Trellor) - 1  Willowbark(Ruellia) - 1  "
               "Venom(Lyryanoth) - 1";
        QTest::newRow("top five: the goods of Minotaur's post are never listed")
            << 0 << 4 << Prices{{5, 9e5}, {18, 9e5}, {47, 9e5}, {59, 9e5}, {84, 9e5}, {1, 2}}
            << 1.0F
            << "Top 5 non-cpk values to Riverton. Valued 1 hours ago. Adamantite(New Genesia) - 2  "
               "Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  Wine(Trellor) - 1  "
               "Willowbark(Ruellia) - 1";
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
        valuePost(t, to, prices, hoursAgo);
        const auto built = from ? valuesExportLine(t.data, t.clock, from, to)
                                : topFiveExportLine(t.data, t.clock, to);
        QCOMPARE(QString::fromStdString(built.value_or("<none>")), line);
    }

    // The top five leave their commodities and figures (clamped to 32 bits) in the first five
    // ranking rows and their towns beside them, and touch nothing else. Rows an earlier report
    // left must not keep their goods out of the list.
    void topFiveFillsTheSharedBuffers() {
        TestContext t;
        valuePost(t, 1, {{44, 4e9F}, {43, 1408}, {55, 1390}, {73, 1200}, {84, 5e9F}}, 3.25F);
        auto& rows = t.data.buffers.ranking;
        for (int r = 1; r <= kRankingRows; ++r)
            rows[r] = {-7, 13, 43, 14};
        QVERIFY(topFiveExportLine(t.data, t.clock, 1));
        const QStringList expected{"44 2147483647 New Ashton", "43 1408 Ranger's Cabin",
                                   "55 1390 Sea's End", "73 1200 Hidden City", "88 1 Vanlarra"};
        for (int k = 1; k <= kTopFiveRows; ++k) {
            QCOMPARE(QStringLiteral("%1 %2 %3")
                         .arg(rows[k].slot)
                         .arg(rows[k].value)
                         .arg(QString::fromStdString(t.data.buffers.topFiveTowns[k])),
                     expected[k - 1]);
            QCOMPARE(rows[k].sourceTp * 100 + rows[k].destinationTp, 1314);
        }
        QCOMPARE(rows[kTopFiveRows + 1].value, -7);
        QCOMPARE(rows[kRankingRows].value, -7);
    }

    // Without its posts there is no line, and the shared buffers are left as they were.
    void noLineWithoutItsPosts_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
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
        QCOMPARE(topFiveExportLine(t.data, t.clock, to).has_value(), to == 1 || to == 3);
        if (to != 1 && to != 3) {
            QCOMPARE(t.data.buffers.ranking[1].value, 77);
            QCOMPARE(t.data.buffers.topFiveTowns[1], "kept");
        }
    }
};

QTEST_GUILESS_MAIN(ExportLinesTest)
#include "test_export_lines.moc"
