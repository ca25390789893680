#include <QTest>
#include <set>

#include "core/catalogue.h"
#include "core/trade_data.h"

using namespace ledgerly;

class CatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void everyCommodityIsSoldAtExactlyOnePost() {
        std::multiset<int> sold;
        for (int tp = 1; tp <= kTradingPostCount; ++tp) {
            for (int k = 1; k <= kGoodsSlotCount; ++k) {
                if (goodsSlot(tp, k) != 0)
                    sold.insert(goodsSlot(tp, k));
            }
        }
        QCOMPARE(sold.size(), std::size_t{kCommodityCount});
        for (int c = 1; c <= kCommodityCount; ++c)
            QCOMPARE(sold.count(c), std::size_t{1});
    }

    void emptySlotsBelongToTempleShopAndUrVile() {
        for (int tp = 1; tp <= kTradingPostCount; ++tp) {
            for (int k = 1; k <= kGoodsSlotCount; ++k) {
                const bool empty = goodsSlot(tp, k) == 0;
                const bool expectedEmpty = tp == 11 || (tp == 8 && k >= 4);
                QCOMPARE(empty, expectedEmpty);
            }
        }
    }

    void sellerOfFindsTheOnePost_data() {
        QTest::addColumn<int>("commodity");
        QTest::addColumn<int>("seller");
        QTest::newRow("Adamantite at the Dark Army") << 1 << 9;
        QTest::newRow("Ale at Caldmoor") << 2 << 1;
        QTest::newRow("Fans in slot 3 of the Hidden City") << 27 << 18;
        QTest::newRow("Wands at Vanlarra") << 88 << 6;
        QTest::newRow("none is sold nowhere") << 0 << 0;
    }
    void sellerOfFindsTheOnePost() {
        QFETCH(int, commodity);
        QFETCH(int, seller);
        QCOMPARE(sellerOf(commodity), seller);
    }

    void catalogueOrderIsNotAlphabeticalWhereTheGameSaysSo_data() {
        QTest::addColumn<int>("commodity");
        QTest::addColumn<QString>("name");
        QTest::newRow("placeholder") << 0 << "none";
        QTest::newRow("first") << 1 << "Adamantite";
        QTest::newRow("Fish after Furs") << 31 << "Fish";
        QTest::newRow("Illutian after Iron") << 42 << "Illutian";
        QTest::newRow("Waybread before Wands") << 87 << "Waybread";
        QTest::newRow("last") << 88 << "Wands";
    }
    void catalogueOrderIsNotAlphabeticalWhereTheGameSaysSo() {
        QFETCH(int, commodity);
        QFETCH(QString, name);
        QCOMPARE(QString::fromUtf8(commodityName(commodity).data(),
                                   static_cast<qsizetype>(commodityName(commodity).size())),
                 name);
    }

    void movesAreSymmetricExceptFromUrVileToMinotaur() {
        for (int a = 1; a <= kTradingPostCount; ++a) {
            QCOMPARE(moves(a, a), kNoRouteMoves);
            for (int b = 1; b <= kTradingPostCount; ++b) {
                QVERIFY(moves(a, b) > 0);
                if ((a == 11 && b == 19) || (a == 19 && b == 11))
                    continue;
                QVERIFY2(moves(a, b) == moves(b, a),
                         qPrintable(QStringLiteral("%1,%2").arg(a).arg(b)));
            }
        }
        QCOMPARE(moves(11, 19), 1000000);
        QCOMPARE(moves(19, 11), 100000);
        QCOMPARE(moves(12, 13), 475);
        QCOMPARE(moves(7, 16), 2635);
    }

    void postsElevenAndNineteenHaveNoRoutes() {
        for (int b = 1; b <= kTradingPostCount; ++b) {
            if (b != 19)
                QCOMPARE(moves(11, b), kNoRouteMoves);
            QCOMPARE(moves(19, b), kNoRouteMoves);
            QCOMPARE(moves(b, 19), b == 11 ? 1000000 : kNoRouteMoves);
        }
    }

    void tradingPostNames() {
        QCOMPARE(tradingPost(5).listLabel, std::string_view("Tanivsport(Mystara)"));
        QCOMPARE(tradingPost(5).townName, std::string_view("Mystara"));
        QCOMPARE(tradingPost(11).shopName, std::string_view("Ur-vile Feeding Hall"));
        QCOMPARE(tradingPost(18).listLabel, std::string_view("Hidden City(Old Wizard's Cart)"));
    }

    void freshDataModuleIsZeroedAndTheStartupPassRaisesIt() {
        TradeData data;
        QCOMPARE(data.value(3, 0), 0.0F);
        QCOMPARE(data.stamp(3), 0.0F);
        QCOMPARE(data.buffers.ranking[40].value, 0);
        QCOMPARE(data.buffers.cpm(19, 19, 5), 0);
        data.setDefaults();
        QCOMPARE(data.value(3, 0), 0.0F);  // column 0 is not stored
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
