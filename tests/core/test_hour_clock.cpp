#include <QTest>

#include "core/hour_clock.h"

using namespace ledgerly;

Q_DECLARE_METATYPE(LocalDateTime)

class HourClockTest : public QObject {
    Q_OBJECT
private slots:
    void readings_data() {
        QTest::addColumn<LocalDateTime>("time");
        QTest::addColumn<float>("expected");
        QTest::newRow("origin reads 24") << LocalDateTime{2003, 1, 1, 0, 0, 0} << 24.0F;
        QTest::newRow("half past noon") << LocalDateTime{2003, 1, 1, 12, 30, 0} << 36.5F;
        // Near 210000 hours a single steps by 1/64 hour, so seconds are rounded away.
        QTest::newRow("two roundings to single")
            << LocalDateTime{2026, 12, 6, 13, 45, 30} << 209653.765625F;
        QTest::newRow("ten seconds lost") << LocalDateTime{2026, 12, 6, 13, 45, 10} << 209653.75F;
        // Every year has 365 days: 29 February reads as 1 March, and years follow on.
        QTest::newRow("29 February is 1 March") << LocalDateTime{2024, 2, 29, 0, 0, 0} << 185400.0F;
        QTest::newRow("1 March 2024") << LocalDateTime{2024, 3, 1, 0, 0, 0} << 185400.0F;
        QTest::newRow("last day of 2024") << LocalDateTime{2024, 12, 31, 0, 0, 0} << 192720.0F;
        QTest::newRow("first day of 2025") << LocalDateTime{2025, 1, 1, 0, 0, 0} << 192744.0F;
    }
    void readings() {
        QFETCH(LocalDateTime, time);
        QFETCH(float, expected);
        QCOMPARE(hourClockAt(time), expected);
    }

    void ageIsCutToHundredths_data() {
        QTest::addColumn<float>("reading");
        QTest::addColumn<float>("stamp");
        QTest::addColumn<double>("age");
        QTest::newRow("exact") << 103.25F << 100.0F << 3.25;
        QTest::newRow("cut, not rounded") << 101.2390F << 100.0F << 1.23;
        QTest::newRow("never valued") << 24.0F << 10.0F << 14.0;
        QTest::newRow("future stamp rounds down") << 100.0F << 100.001F << -0.01;
    }
    void ageIsCutToHundredths() {
        QFETCH(float, reading);
        QFETCH(float, stamp);
        QFETCH(double, age);
        QVERIFY2(qAbs(ageOfValues(reading, stamp) - age) < 1e-9,
                 qPrintable(QString::number(ageOfValues(reading, stamp), 'g', 17)));
    }
};

QTEST_APPLESS_MAIN(HourClockTest)
#include "test_hour_clock.moc"
