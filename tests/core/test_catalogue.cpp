#include <QTest>

#include "core/catalogue.h"
#include "core/trade_data.h"

using namespace ledgerly;

class CatalogueTest : public QObject {
    Q_OBJECT
private slots:
    // Every commodity is sold at exactly one post, found by sellerOf; only the Temple Shop
    // (from slot 4) and Ur-Vile have empty slots.
    void everyCommodityHasOneSeller() {
        int sold = 0;
        for (int tp = 1; tp <= kTradingPostCount; ++tp) {
            for (int k = 1; k <= kGoodsSlotCount; ++k) {
                const int c = goodsSlot(tp, k);
                QCOMPARE(c == 0, tp == 11 || (tp == 8 && k >= 4));
                if (c != 0) {
                    QCOMPARE(sellerOf(c), tp);
                    ++sold;
                }
            }
        }
        QCOMPARE(sold, kCommodityCount);  // so no commodity is sold twice
        QCOMPARE(sellerOf(0), 0);
        QCOMPARE(goodsSlot(18, 3), 27);  // the Hidden City's goods are out of catalogue order
    }

    void catalogueOrderIsNotAlphabeticalWhereTheGameSaysSo_data() {
        QTest::addColumn<int>("commodity");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("placeholder") << 0 << QByteArray("none");
        QTest::newRow("first") << 1 << QByteArray("Adamantite");
        QTest::newRow("Fish after Furs") << 31 << QByteArray("Fish");
        QTest::newRow("Illutian after Iron") << 42 << QByteArray("Illutian");
        QTest::newRow("Waybread before Wands") << 87 << QByteArray("Waybread");
        QTest::newRow("last") << 88 << QByteArray("Wands");
    }
    void catalogueOrderIsNotAlphabeticalWhereTheGameSaysSo() {
        QFETCH(int, commodity);
        QFETCH(QByteArray, name);
        QCOMPARE(commodityName(commodity), std::string_view(name.constData()));
    }

    // Routes run both ways alike; Ur-Vile and Minotaur have none, except the one-way 1000000
    // moves from Ur-Vile to Minotaur.
    void movesAreSymmetricWhereThereIsARoute() {
        for (int a = 1; a <= kTradingPostCount; ++a) {
            for (int b = 1; b <= kTradingPostCount; ++b) {
                const QByteArray where = QByteArray::number(a) + "," + QByteArray::number(b);
                if (a == 11 && b == 19)
                    QCOMPARE(moves(a, b), 1000000);
                else if (a == b || a == 11 || a == 19 || b == 11 || b == 19)
                    QVERIFY2(moves(a, b) == kNoRouteMoves, where);
                else
                    QVERIFY2(moves(a, b) > 0 && moves(a, b) == moves(b, a), where);
            }
        }
        QCOMPARE(moves(12, 13), 475);
        QCOMPARE(moves(7, 16), 2635);
    }

    void tradingPostNames() {
        QCOMPARE(tradingPost(5).listLabel, std::string_view("Tanivsport(Mystara)"));
        QCOMPARE(tradingPost(5).townName, std::string_view("Mystara"));
        QCOMPARE(tradingPost(11).shopName, std::string_view("Ur-vile Feeding Hall"));
        QCOMPARE(tradingPost(18).listLabel, std::string_view("Hidden City(Old Wizard's Cart)"));
    }

    // A fresh module is zeroed; the defaults and the start-up pass make every value, the unstored
    // "none" column included, 1 and every stamp 10.
    void freshDataModuleIsZeroedAndTheStartupPassRaisesIt() {
        TradeData data;
        QCOMPARE(data.value(3, 0), 0.0F);
        QCOMPARE(data.stamp(3), 0.0F);
        QCOMPARE(data.buffers.ranking[40].value, 0);
        QCOMPARE(data.buffers.cpm(19, 19, 5), 0);
        data.setDefaults();
        data.raiseLowValues();
        for (int tp = 1; tp <= kTradingPostCount; ++tp) {
            for (int c = 0; c <= kCommodityCount; ++c)
                QCOMPARE(data.value(tp, c), 1.0F);
            QCOMPARE(data.stamp(tp), 10.0F);
        }
    }

    void raisePassBoundaries_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("raisedValue");
        QTest::addColumn<float>("stamp");
        QTest::addColumn<float>("raisedStamp");
        const float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("zero and stamp 10") << 0.0F << 1.0F << 10.0F << 10.0F;
        QTest::newRow("negative and stamp 10.5") << -3.0F << 1.0F << 10.5F << 10.0F;
        QTest::newRow("just below 1 and stamp 11") << 0.999F << 1.0F << 11.0F << 11.0F;
        QTest::newRow("NaN value and NaN stamp") << nan << 1.0F << nan << 10.0F;
        QTest::newRow("1 stays and stamp below 10 rises") << 1.0F << 1.0F << 3.0F << 10.0F;
        QTest::newRow("1.5 stays and a real stamp stays") << 1.5F << 1.5F << 201453.5F << 201453.5F;
    }
    void raisePassBoundaries() {
        QFETCH(float, value);
        QFETCH(float, raisedValue);
        QFETCH(float, stamp);
        QFETCH(float, raisedStamp);
        TradeData data;
        data.setDefaults();
        data.setValue(4, 17, value);
        data.setStamp(4, stamp);
        data.raiseLowValues();
        QCOMPARE(data.value(4, 17), raisedValue);
        QCOMPARE(data.stamp(4), raisedStamp);
    }
};

QTEST_APPLESS_MAIN(CatalogueTest)
#include "test_catalogue.moc"
