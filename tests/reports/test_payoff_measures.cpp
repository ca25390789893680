#include <QTest>
#include <limits>

#include "core/catalogue.h"
#include "reports/payoff_measures.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

Q_DECLARE_METATYPE(ledgerly::BoxKind)
Q_DECLARE_METATYPE(ledgerly::BandColour)

namespace {

constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();

// The top rows of the list as "value@source", for comparing with a table row.
QString topRows(const TradeData& data, int count) {
    QStringList rows;
    for (int r = 1; r <= count; ++r) {
        const RankingRow& row = data.buffers.ranking[r];
        rows << QStringLiteral("%1@%2").arg(row.value).arg(row.sourceTp);
    }
    return rows.join(QLatin1Char(','));
}

// Offers each measure in turn with source = its position (1, 2, ...), returns how many entered.
int offerInTurn(TradeData& data, const QList<double>& measures) {
    int entered = 0;
    for (int i = 0; i < measures.size(); ++i) {
        if (offerCandidate(data, measures[i], i + 1, 1, 1))
            ++entered;
    }
    return entered;
}

}  // namespace

class PayoffMeasuresTest : public QObject {
    Q_OBJECT
private slots:
    void insertionRule_data() {
        QTest::addColumn<QList<double>>("measures");
        QTest::addColumn<int>("entered");
        QTest::addColumn<QString>("top");
        QTest::newRow("ascending offers end up descending")
            << QList<double>{10, 20, 30} << 3 << "30@3,20@2,10@1,1@0";
        QTest::newRow("tie keeps scan order")
            << QList<double>{500, 500, 700} << 3 << "700@3,500@1,500@2";
        QTest::newRow("unrounded 100.3 goes above a stored 100 from 100.4")
            << QList<double>{100.4, 100.3} << 2 << "100@2,100@1";
        QTest::newRow("100.6 stays below a stored 101 from 100.7")
            << QList<double>{100.7, 100.6} << 2 << "101@1,101@2";
        QTest::newRow("1.4 enters and shows 1") << QList<double>{1.4} << 1 << "1@1,1@0";
        QTest::newRow("1.2 goes above the 1 that 1.4 left")
            << QList<double>{1.4, 1.2} << 2 << "1@2,1@1";
        QTest::newRow("2.5 stores 2 and 3.5 stores 4") << QList<double>{2.5, 3.5} << 2 << "4@2,2@1";
        QTest::newRow("exactly 1 never enters") << QList<double>{1.0, 1.0} << 0 << "1@0";
        QTest::newRow("not a number never enters")
            << QList<double>{std::numeric_limits<double>::quiet_NaN(), 5} << 1 << "5@2,1@0";
        QTest::newRow("too large values clamp and keep scan order")
            << QList<double>{3e9, 5e9, 4e9} << 3 << QStringLiteral("%1@1,%1@2,%1@3").arg(kLargest);
        QTest::newRow("the largest figure is not above a clamped one")
            << QList<double>{3e9, 2147483647.0, 1e9} << 3
            << QStringLiteral("%1@1,%1@2,1000000000@3").arg(kLargest);
    }
    void insertionRule() {
        QFETCH(QList<double>, measures);
        QFETCH(int, entered);
        QFETCH(QString, top);
        TradeData data;
        resetRanking(data);
        QCOMPARE(offerInTurn(data, measures), entered);
        QCOMPARE(topRows(data, static_cast<int>(top.count(QLatin1Char(','))) + 1), top);
    }

    void fullListDropsRowForty() {
        TradeData data;
        resetRanking(data);
        QList<double> measures;
        for (int i = 1; i <= 40; ++i)
            measures << 1000.0 - i;  // 999 .. 960
        QCOMPARE(offerInTurn(data, measures), 40);
        QCOMPARE(data.buffers.ranking[40].value, 960);

        // Weaker than every row: stays out and the list is unchanged.
        QVERIFY(!offerCandidate(data, 960, 77, 1, 1));
        QCOMPARE(data.buffers.ranking[40].value, 960);
        QCOMPARE(data.buffers.ranking[40].sourceTp, std::int16_t{40});

        // Into the middle: everything below moves down one and the old row 40 is gone.
        QVERIFY(offerCandidate(data, 980.5, 9, 2, 3));
        QCOMPARE(data.buffers.ranking[20].value, 980);
        QCOMPARE(data.buffers.ranking[19].value, 981);
        QCOMPARE(data.buffers.ranking[21].value, 980);
        QCOMPARE(data.buffers.ranking[21].sourceTp, std::int16_t{20});
        QCOMPARE(data.buffers.ranking[40].value, 961);
        const RankingRow& placed = data.buffers.ranking[20];
        QCOMPARE(placed.sourceTp, std::int16_t{9});
        QCOMPARE(placed.slot, std::int16_t{2});
        QCOMPARE(placed.destinationTp, std::int16_t{3});
    }

    void unreachedRowsKeepTheirPosts() {
        TradeData data;
        for (int r = 1; r <= kRankingRows; ++r) {
            data.buffers.ranking[r] = {777, 6, 4, 9};
        }
        resetRanking(data);
        QCOMPARE(offerInTurn(data, {50, 60}), 2);
        QCOMPARE(rowsReached(2), 2);
        for (int r = 3; r <= kRankingRows; ++r) {
            const RankingRow& row = data.buffers.ranking[r];
            QCOMPARE(row.value, 1);
            QCOMPARE(row.slot, std::int16_t{1});
            QCOMPARE(row.sourceTp, std::int16_t{6});
            QCOMPARE(row.destinationTp, std::int16_t{9});
        }
        QCOMPARE(rowsReached(95), kRankingRows);
    }

    void convertTurnsEachRowOnce_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("commodity");
        // Posts whose first commodity number is itself a later slot number.
        QTest::newRow("Ale stays Ale, not Raisins") << 1 << 1 << 2;
        QTest::newRow("Aloe stays Aloe, not Quills") << 8 << 1 << 3;
        QTest::newRow("Ambergris stays Ambergris") << 16 << 1 << 4;
        QTest::newRow("Armor stays Armor") << 19 << 1 << 5;
        QTest::newRow("last slot") << 18 << 5 << 62;
        QTest::newRow("empty slot becomes none") << 8 << 4 << 0;
        QTest::newRow("no post: row left alone") << 0 << 1 << 1;
        QTest::newRow("slot out of range left alone") << 3 << 0 << 0;
    }
    void convertTurnsEachRowOnce() {
        QFETCH(int, source);
        QFETCH(int, slot);
        QFETCH(int, commodity);
        TradeData data;
        for (int r = 1; r <= kRankingRows; ++r) {
            data.buffers.ranking[r] = {5, static_cast<std::int16_t>(source),
                                       static_cast<std::int16_t>(slot), 2};
        }
        convertSlotsToCommodities(data);
        for (int r = 1; r <= kRankingRows; ++r) {
            QCOMPARE(data.buffers.ranking[r].slot, static_cast<std::int16_t>(commodity));
        }
    }

    void colourBands_data() {
        QTest::addColumn<BoxKind>("kind");
        QTest::addColumn<double>("shown");
        QTest::addColumn<BandColour>("colour");
        using K = BoxKind;
        using C = BandColour;
        QTest::newRow("fresh values blue") << K::AgeOfValues << 0.0 << C::Blue;
        QTest::newRow("age 0.5 stays blue") << K::AgeOfValues << 0.5 << C::Blue;
        QTest::newRow("age 0.51 green") << K::AgeOfValues << 0.51 << C::Green;
        QTest::newRow("age 2 stays green") << K::AgeOfValues << 2.0 << C::Green;
        QTest::newRow("age 2.01 yellow") << K::AgeOfValues << 2.01 << C::Yellow;
        QTest::newRow("age 4 stays yellow") << K::AgeOfValues << 4.0 << C::Yellow;
        QTest::newRow("age 4.01 red") << K::AgeOfValues << 4.01 << C::Red;
        QTest::newRow("never valued red") << K::AgeOfValues << 209642.0 << C::Red;

        QTest::newRow("ranked 1 red") << K::RankedPayoff << 1.0 << C::Red;
        QTest::newRow("ranked 250000 stays red") << K::RankedPayoff << 250000.0 << C::Red;
        QTest::newRow("ranked 250001 yellow") << K::RankedPayoff << 250001.0 << C::Yellow;
        QTest::newRow("ranked 500000 stays yellow") << K::RankedPayoff << 500000.0 << C::Yellow;
        QTest::newRow("ranked 500001 green") << K::RankedPayoff << 500001.0 << C::Green;
        QTest::newRow("ranked 1000000 stays green") << K::RankedPayoff << 1e6 << C::Green;
        QTest::newRow("ranked 1000001 blue") << K::RankedPayoff << 1000001.0 << C::Blue;

        QTest::newRow("all-payoffs 200000 stays red") << K::AllPayoffsValue << 2e5 << C::Red;
        QTest::newRow("all-payoffs 200000.5 yellow") << K::AllPayoffsValue << 200000.5 << C::Yellow;
        QTest::newRow("all-payoffs 250001 only yellow")
            << K::AllPayoffsValue << 250001.0 << C::Yellow;
        QTest::newRow("all-payoffs 500000 stays yellow") << K::AllPayoffsValue << 5e5 << C::Yellow;
        QTest::newRow("all-payoffs 500000.5 green") << K::AllPayoffsValue << 500000.5 << C::Green;
        QTest::newRow("all-payoffs 1000000 stays green") << K::AllPayoffsValue << 1e6 << C::Green;
        QTest::newRow("all-payoffs in exponent form blue")
            << K::AllPayoffsValue << 12345680.0 << C::Blue;

        QTest::newRow("CPM 0 red") << K::Cpm << 0.0 << C::Red;
        QTest::newRow("CPM 300 stays red") << K::Cpm << 300.0 << C::Red;
        QTest::newRow("CPM 301 yellow") << K::Cpm << 301.0 << C::Yellow;
        QTest::newRow("CPM 500 stays yellow") << K::Cpm << 500.0 << C::Yellow;
        QTest::newRow("CPM 501 green") << K::Cpm << 501.0 << C::Green;
        QTest::newRow("CPM 700 stays green") << K::Cpm << 700.0 << C::Green;
        QTest::newRow("CPM 701 blue") << K::Cpm << 701.0 << C::Blue;
    }
    void colourBands() {
        QFETCH(BoxKind, kind);
        QFETCH(double, shown);
        QFETCH(BandColour, colour);
        QCOMPARE(colourBand(shown, kind), colour);
    }

    void bandsArePureColours() {
        QCOMPARE(bandRgb(BandColour::Red), 0xFF0000U);
        QCOMPARE(bandRgb(BandColour::Yellow), 0xFFFF00U);
        QCOMPARE(bandRgb(BandColour::Green), 0x00FF00U);
        QCOMPARE(bandRgb(BandColour::Blue), 0x0000FFU);
    }

    void cpmRoundsHalvesToEven_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("moves");
        QTest::addColumn<int>("cpm");
        QTest::newRow("own post 50000 is 0") << 50000.0F << kNoRouteMoves << 0;
        QTest::newRow("own post 150000 is 2") << 150000.0F << kNoRouteMoves << 2;
        QTest::newRow("150.5 to 150") << 15050.0F << 100 << 150;
        QTest::newRow("151.5 to 152") << 15150.0F << 100 << 152;
        QTest::newRow("never valued is 0") << 1.0F << 227 << 0;
        QTest::newRow("the million-move pair") << 1500000.0F << 1000000 << 2;
        QTest::newRow("too large clamps") << 3e12F << 2 << kLargest;
    }
    void cpmRoundsHalvesToEven() {
        QFETCH(float, value);
        QFETCH(int, moves);
        QFETCH(int, cpm);
        QCOMPARE(cpmOf(value, moves), cpm);
    }

    void payoffIsWhatTheDestinationPays() {
        TradeData data;
        setNeverValued(data);
        data.setValue(7, 61, 4321.5F);  // Quills, slot 3 of Temple Shop
        data.setValue(8, 61, 99.0F);    // what the seller pays plays no part
        QCOMPARE(payoff(data, 8, 3, 7), 4321.5F);
        QCOMPARE(payoff(data, 8, 4, 7), 1.0F);  // empty slot: commodity "none"
        QCOMPARE(payoff(data, 11, 1, 7), 1.0F);
    }

    // Hour-clock readings near 2026 are multiples of 1/64 hour, so ages are built from those.
    void ageOfValues_data() {
        QTest::addColumn<double>("hoursOld");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<BandColour>("colour");
        QTest::newRow("just valued") << 0.0 << "."
                                     << "0" << BandColour::Blue;
        QTest::newRow("half an hour stays blue") << 32 / 64.0 << "."
                                                 << "0.5" << BandColour::Blue;
        QTest::newRow("cut, not rounded, and green") << 33 / 64.0 << "."
                                                     << "0.51" << BandColour::Green;
        QTest::newRow("2 stays green") << 2.0 << "."
                                       << "2" << BandColour::Green;
        QTest::newRow("just past 2 yellow") << 129 / 64.0 << "."
                                            << "2.01" << BandColour::Yellow;
        QTest::newRow("4 stays yellow") << 4.0 << "."
                                        << "4" << BandColour::Yellow;
        QTest::newRow("just past 4 red") << 257 / 64.0 << "."
                                         << "4.01" << BandColour::Red;
        QTest::newRow("the user's decimal comma") << 79 / 64.0 << ","
                                                  << "1,23" << BandColour::Green;
    }
    void ageOfValues() {
        QFETCH(double, hoursOld);
        QFETCH(QString, separator);
        QFETCH(QString, text);
        QFETCH(BandColour, colour);
        TestContext t;
        setNeverValued(t.data);
        const float now = readHourClock(t.clock);
        t.data.setStamp(4, static_cast<float>(now - hoursOld));
        QCOMPARE(static_cast<double>(t.data.stamp(4)), now - hoursOld);  // exact on purpose

        const AgeView age = ageOfValuesFor(t.data, t.clock, 4, separator.toStdString());
        QCOMPARE(QString::fromStdString(age.text), text);
        QCOMPARE(age.colour, colour);
        QCOMPARE(t.data.buffers.hourClockScratch, now);
    }

    void neverValuedPostIsVeryOldAndRed() {
        TestContext t;
        setNeverValued(t.data);
        const AgeView age = ageOfValuesFor(t.data, t.clock, 11, ".");
        QCOMPARE(age.age, static_cast<double>(readHourClock(t.clock)) - 10.0);
        QCOMPARE(age.colour, BandColour::Red);
    }
};

QTEST_GUILESS_MAIN(PayoffMeasuresTest)
#include "test_payoff_measures.moc"
