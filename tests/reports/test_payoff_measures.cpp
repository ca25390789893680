#include <QTest>
#include <limits>

#include "core/catalogue.h"
#include "reports/payoff_measures.h"
#include "support/report_rows.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

Q_DECLARE_METATYPE(ledgerly::BoxKind)
Q_DECLARE_METATYPE(ledgerly::BandColour)

namespace {

constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();

// Offers each measure with source = its position (1, 2, ...); returns the top rows as
// "value@source" and how many entered.
QString offerInTurn(TradeData& data, const QList<double>& measures, int* entered) {
    resetRanking(data);
    *entered = 0;
    for (int i = 0; i < measures.size(); ++i) {
        if (offerCandidate(data, measures[i], i + 1, 1, 1))
            ++*entered;
    }
    QStringList rows;
    for (int r = 1; r <= std::max<int>(static_cast<int>(measures.size()), 1); ++r) {
        const RankingRow& row = data.buffers.ranking[r];
        rows << QStringLiteral("%1@%2").arg(row.value).arg(row.sourceTp);
    }
    return rows.join(QLatin1Char(','));
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
            << QList<double>{10, 20, 30} << 3 << "30@3,20@2,10@1";
        QTest::newRow("tie keeps scan order")
            << QList<double>{500, 500, 700} << 3 << "700@3,500@1,500@2";
        QTest::newRow("unrounded 100.3 goes above a stored 100 from 100.4")
            << QList<double>{100.4, 100.3} << 2 << "100@2,100@1";
        QTest::newRow("100.6 stays below a stored 101 from 100.7")
            << QList<double>{100.7, 100.6} << 2 << "101@1,101@2";
        QTest::newRow("1.4 enters and shows 1") << QList<double>{1.4} << 1 << "1@1";
        QTest::newRow("2.5 stores 2 and 3.5 stores 4") << QList<double>{2.5, 3.5} << 2 << "4@2,2@1";
        QTest::newRow("exactly 1 never enters") << QList<double>{1.0, 1.0} << 0 << "1@0,1@0";
        QTest::newRow("not a number never enters")
            << QList<double>{std::numeric_limits<double>::quiet_NaN(), 5} << 1 << "5@2,1@0";
        QTest::newRow("too large values clamp and keep scan order")
            << QList<double>{3e9, 5e9, 1e9} << 3
            << QStringLiteral("%1@1,%1@2,1000000000@3").arg(kLargest);
    }
    void insertionRule() {
        QFETCH(QList<double>, measures);
        QFETCH(int, entered);
        QFETCH(QString, top);
        TradeData data;
        int actuallyEntered = 0;
        QCOMPARE(offerInTurn(data, measures, &actuallyEntered), top);
        QCOMPARE(actuallyEntered, entered);
    }

    void fullListDropsRowForty() {
        TradeData data;
        QList<double> measures;
        for (int i = 1; i <= 40; ++i)
            measures << 1000.0 - i;  // 999 .. 960
        int entered = 0;
        offerInTurn(data, measures, &entered);
        QCOMPARE(rowsReached(entered), 40);
        QVERIFY(!offerCandidate(data, 960, 77, 1, 1));  // not above the weakest row
        QCOMPARE(data.buffers.ranking[40].sourceTp, std::int16_t{40});

        QVERIFY(offerCandidate(data, 980.5, 9, 2, 3));  // into the middle, halves to even
        QCOMPARE(bufferRow(data, 20), (QList<int>{980, 9, 2, 3}));
        QCOMPARE(data.buffers.ranking[21].sourceTp, std::int16_t{20});  // moved down one
        QCOMPARE(data.buffers.ranking[40].value, 961);                  // the old row 40 is gone
        QCOMPARE(rowsReached(95), 40);
    }

    void convertTurnsEachRowOnce_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("commodity");
        // Posts whose first commodity number is itself a later slot number.
        QTest::newRow("Ale stays Ale, not Raisins") << 1 << 1 << 2;
        QTest::newRow("Aloe stays Aloe, not Quills") << 8 << 1 << 3;
        QTest::newRow("Armor stays Armor") << 19 << 1 << 5;
        QTest::newRow("empty slot becomes none") << 8 << 4 << 0;
        QTest::newRow("no post: row left alone") << 0 << 1 << 1;
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
        const struct {
            K kind;
            double first, second, third;
            C below, afterFirst, afterSecond, afterThird;
        } kinds[] = {
            {K::AgeOfValues, 0.5, 2, 4, C::Blue, C::Green, C::Yellow, C::Red},
            {K::RankedPayoff, 250000, 500000, 1000000, C::Red, C::Yellow, C::Green, C::Blue},
            {K::AllPayoffsValue, 200000, 500000, 1000000, C::Red, C::Yellow, C::Green, C::Blue},
            {K::Cpm, 300, 500, 700, C::Red, C::Yellow, C::Green, C::Blue},
        };
        const char* names[] = {"age", "ranked payoff", "all-payoffs value", "CPM"};
        for (int i = 0; i < 4; ++i) {
            const auto& k = kinds[i];
            const double step = k.kind == K::AgeOfValues ? 0.01 : 0.5;
            const auto row = [&](const char* what, double shown, C colour) {
                QTest::addRow("%s %s (%g)", names[i], what, shown) << k.kind << shown << colour;
            };
            row("at the first threshold keeps its start", k.first, k.below);
            row("just above the first", k.first + step, k.afterFirst);
            row("at the second", k.second, k.afterFirst);
            row("just above the second", k.second + step, k.afterSecond);
            row("at the third", k.third, k.afterSecond);
            row("just above the third", k.third + step, k.afterThird);
        }
    }
    void colourBands() {
        QFETCH(BoxKind, kind);
        QFETCH(double, shown);
        QFETCH(BandColour, colour);
        QCOMPARE(colourBand(shown, kind), colour);
    }

    void cpmOfOwnPostAndClamp_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("moves");
        QTest::addColumn<int>("cpm");
        QTest::newRow("own post 50000 is 0") << 50000.0F << kNoRouteMoves << 0;
        QTest::newRow("own post 150000 is 2") << 150000.0F << kNoRouteMoves << 2;
        QTest::newRow("too large clamps") << 3e12F << 2 << kLargest;
    }
    void cpmOfOwnPostAndClamp() {
        QFETCH(float, value);
        QFETCH(int, moves);
        QFETCH(int, cpm);
        QCOMPARE(cpmOf(value, moves), cpm);
    }

    // Hour-clock readings near 2026 are multiples of 1/64 hour, so ages are built from those.
    void ageOfValues_data() {
        QTest::addColumn<double>("hoursOld");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<BandColour>("colour");
        QTest::newRow("half an hour stays blue") << 32 / 64.0 << "."
                                                 << "0.5" << BandColour::Blue;
        QTest::newRow("cut, not rounded, and green") << 33 / 64.0 << "."
                                                     << "0.51" << BandColour::Green;
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
};

QTEST_GUILESS_MAIN(PayoffMeasuresTest)
#include "test_payoff_measures.moc"
