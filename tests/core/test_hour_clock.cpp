#include <QTest>

#include "core/hour_clock.h"

using namespace ledgerly;

class HourClockTest : public QObject {
    Q_OBJECT
private slots:
    void readings_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<int>("second");
        QTest::addColumn<float>("expected");
        QTest::newRow("origin reads 24") << 2003 << 1 << 1 << 0 << 0 << 0 << 24.0F;
        QTest::newRow("half past noon") << 2003 << 1 << 1 << 12 << 30 << 0 << 36.5F;
        QTest::newRow("1 March 2003") << 2003 << 3 << 1 << 0 << 0 << 0 << float(60 * 24);
        // 2026-12-06 13:45:30: day number 334 + 6 + 23 * 365 = 8735, rounded to single.
        QTest::newRow("two roundings to single")
            << 2026 << 12 << 6 << 13 << 45 << 30 << 209653.765625F;
    }
    void readings() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(int, second);
        QFETCH(float, expected);
        QCOMPARE(hourClockAt({year, month, day, hour, minute, second}), expected);
    }

    void singlePrecisionLosesTheSecondsOfRecentYears() {
        // Around 2026 the clock is near 210000 hours, where a single step is 1/64 hour.
        const float a = hourClockAt({2026, 12, 6, 13, 45, 0});
        const float b = hourClockAt({2026, 12, 6, 13, 45, 10});
        QCOMPARE(a, b);
        QCOMPARE(a, 209653.75F);
    }

    void leapDaysDoNotExist() {
        const LocalDateTime feb29{2024, 2, 29, 0, 0, 0};
        const LocalDateTime mar1{2024, 3, 1, 0, 0, 0};
        QCOMPARE(hourClockDayNumber(feb29), hourClockDayNumber(mar1));
        QCOMPARE(hourClockAt(feb29), hourClockAt(mar1));
    }

    void yearEndsAreConsecutiveDays_data() {
        QTest::addColumn<int>("year");
        QTest::newRow("2003 to 2004") << 2003;
        QTest::newRow("leap year 2024 to 2025") << 2024;
        QTest::newRow("2026 to 2027") << 2026;
    }
    void yearEndsAreConsecutiveDays() {
        QFETCH(int, year);
        const int lastDay = hourClockDayNumber({year, 12, 31, 0, 0, 0});
        const int firstDay = hourClockDayNumber({year + 1, 1, 1, 0, 0, 0});
        QCOMPARE(lastDay, 365 + (year - 2003) * 365);
        QCOMPARE(firstDay, 1 + (year - 2002) * 365);
        QCOMPARE(firstDay, lastDay + 1);
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
