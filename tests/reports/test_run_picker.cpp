#include <QTest>

#include "core/catalogue.h"
#include "reports/run_picker.h"
#include "support/report_rows.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

constexpr int kArmor = 5;   // NaeraMae, slot 1
constexpr int kArrows = 6;  // Elven Marketplace, slot 1
constexpr int kArt = 7;     // Elven Marketplace, slot 2

}  // namespace

Q_DECLARE_METATYPE(ledgerly::testing::Prices)

class RunPickerTest : public QObject {
    Q_OBJECT
private slots:
    void score_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("cpm");
        QTest::addColumn<float>("score");
        QTest::newRow("10000 at CPM 20") << 10000.0F << 20 << 90000.0F;
        QTest::newRow("50000 at CPM 10 ties with it") << 50000.0F << 10 << 90000.0F;
        QTest::newRow("60000 at CPM 10 beats both") << 60000.0F << 10 << 100000.0F;
        QTest::newRow("never valued") << 1.0F << 0 << 1.0F;
        QTest::newRow("a fraction of gold counts") << 0.5F << 0 << 0.5F;
        QTest::newRow("a huge CPM is held at 32 bits, not wrapped")
            << 0.0F << 1000000 << 2147483647.0F;
        QTest::newRow("a huge negative CPM too") << 0.0F << -1000000 << -2147483648.0F;
    }
    void score() {
        QFETCH(float, value);
        QFETCH(int, cpm);
        QFETCH(float, score);
        QCOMPARE(runScore(value, cpm), score);
    }

    // Elven Marketplace's Arrows unless stated; moves from it: Caldmoor 227, Ranger's Cabin 510,
    // Riverton 755, Vanlarra 977, New Genesia 736, Hidden City 458, Sea's End 1490.
    void theBestRunWins_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<QStringList>("boxes");  // Freight, To, Value, CPM
        QTest::newRow("a tie keeps the first met, though its value is lower")
            << 2 << Prices{{3, kArrows, 10000}, {9, kArrows, 14000}}  // 20 and 19 CPM
            << QStringList{"Arrows", "Ranger's Cabin", "10000", "20"};
        QTest::newRow("a tie keeps the first met, though its CPM is lower")
            << 2 << Prices{{4, kArrows, 14000}, {6, kArrows, 18000}}  // 19 and 18 CPM
            << QStringList{"Arrows", "Riverton", "14000", "19"};
        QTest::newRow("one gold above the tie wins")
            << 2 << Prices{{3, kArrows, 10000}, {6, kArrows, 18001}}
            << QStringList{"Arrows", "Vanlarra", "18001", "18"};
        QTest::newRow("a short haul beats twice the value")
            << 2 << Prices{{16, kArrows, 40000}, {18, kArrows, 20000}}  // 27 and 44 CPM
            << QStringList{"Arrows", "Hidden City", "20000", "44"};
        QTest::newRow("equal scores at one post: the lower slot")
            << 2 << Prices{{1, kArt, 90800}, {1, kArrows, 90800}}
            << QStringList{"Arrows", "Caldmoor", "90800", "400"};
        QTest::newRow("a haul to the source itself can win")
            << 2 << Prices{{2, kArrows, 40000}}
            << QStringList{"Arrows", "Elven Marketplace", "40000", "0"};
        QTest::newRow("never valued: the first good to Caldmoor")
            << 8 << Prices{} << QStringList{"Aloe", "Caldmoor", "1", "0"};
        QTest::newRow("Thanos sells nothing")
            << 11 << Prices{} << QStringList{"none", "Caldmoor", "1", "0"};
        QTest::newRow("1500000 over a million moves is CPM 2")
            << 19 << Prices{{11, kArmor, 1500000}}
            << QStringList{"Armor", "Thanos", "1500000", "2"};
        QTest::newRow("a price beyond 32 bits of CPM x 4000 still wins")
            << 2 << Prices{{1, kArrows, 3e9F}, {3, kArrows, 2e9F}}
            << QStringList{"Arrows", "Caldmoor", "3E+09", "13215859"};
    }
    void theBestRunWins() {
        QFETCH(int, source);
        QFETCH(Prices, prices);
        QFETCH(QStringList, boxes);
        TradeData data;
        setNeverValued(data);
        setPrices(data, prices);
        const RunPickView view = pickRun(data, source);
        QCOMPARE((QStringList{keptOr(view.freight), keptOr(view.to), keptOr(view.value),
                              keptOr(view.cpm)}),
                 boxes);
    }

    void noWinnerEmptiesOnlyValueAndCpm() {
        TradeData data;
        setNeverValued(data);
        for (int d = 1; d <= kTradingPostCount; ++d)
            data.setValue(d, 0, 0.0F);
        QVERIFY(!findBestRun(data, 11).has_value());
        const RunPickView view = pickRun(data, 11);
        QCOMPARE(keptOr(view.freight), QStringLiteral("<kept>"));
        QCOMPARE(keptOr(view.to), QStringLiteral("<kept>"));
        QCOMPARE(keptOr(view.value), QString());
        QCOMPARE(keptOr(view.cpm), QString());
    }

    void onlyTheSourcesCellsAreWritten() {
        TradeData data;
        setNeverValued(data);
        fillCpmTable(data, -7);
        data.setValue(11, kArmor, 1500000);
        pickRun(data, 19);
        QCOMPARE(data.buffers.cpm(19, 11, 1), 2);  // source first, moves from Thanos
        // Every cell of the source, unreachable and losing hauls included, and no other.
        constexpr int kAllCells = kTradingPostCount * kTradingPostCount * kGoodsSlotCount;
        QCOMPARE(cpmCellsHolding(data, -7), kAllCells - kTradingPostCount * kGoodsSlotCount);
        for (int b = 1; b <= kTradingPostCount; ++b)
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                data.buffers.cpm(19, b, k) = -7;
        QCOMPARE(cpmCellsHolding(data, -7), kAllCells);
    }

    void noSourceChangesNothing() {
        for (const int source : {0, 20}) {
            TradeData data;
            setNeverValued(data);
            fillCpmTable(data, -7);
            const RunPickView view = pickRun(data, source);
            QVERIFY(!view.freight && !view.to && !view.value && !view.cpm);
            QCOMPARE(cpmCellsHolding(data, -7),
                     kTradingPostCount * kTradingPostCount * kGoodsSlotCount);
        }
    }

    void valueFollowsTheDecimalSeparator() {
        TradeData data;
        setNeverValued(data);
        data.setValue(2, kArrows, 1234.5F);
        QCOMPARE(pickRun(data, 2, ",").value, std::optional<std::string>("1234,5"));
    }
};

QTEST_GUILESS_MAIN(RunPickerTest)
#include "test_run_picker.moc"
