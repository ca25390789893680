#include <QTest>
#include <limits>

#include "core/number_text.h"

using namespace ledgerly;

class NumberTextTest : public QObject {
    Q_OBJECT
private slots:
    // How a single is shown, and how the store writes it: no leading zero, a blank for the sign
    // and one after.
    void singleTexts_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("whole number") << 523400.0F << "523400"
                                      << " 523400 ";
        QTest::newRow("a half keeps its point") << 1234.5F << "1234.5"
                                                << " 1234.5 ";
        QTest::newRow("rounded to seven digits") << 1234567.5F << "1234568"
                                                 << " 1234568 ";
        QTest::newRow("fraction") << 0.5F << "0.5"
                                  << " .5 ";
        QTest::newRow("stamp loses its eighth digit") << 201453.53125F << "201453.5"
                                                      << " 201453.5 ";
        QTest::newRow("just below ten million") << 9999999.0F << "9999999"
                                                << " 9999999 ";
        QTest::newRow("ten million in exponent form") << 10000000.0F << "1E+07"
                                                      << " 1E+07 ";
        QTest::newRow("exponent with seven digits") << 12345678.0F << "1.234568E+07"
                                                    << " 1.234568E+07 ";
        QTest::newRow("negative") << -3.0F << "-3"
                                  << "-3 ";
        QTest::newRow("negative zero is zero") << -0.0F << "0"
                                               << " 0 ";
        QTest::newRow("float's largest") << std::numeric_limits<float>::max() << "3.402823E+38"
                                         << " 3.402823E+38 ";
    }
    void singleTexts() {
        QFETCH(float, value);
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(QString::fromStdString(singleText(value)), text);
        QCOMPARE(QString::fromStdString(storeNumberField(value)), field);
    }

    void localeSeparatorAndLeadingZero() {
        QCOMPARE(singleText(1234.5F, ","), std::string("1234,5"));
        QCOMPARE(singleText(0.25F, ".", false), std::string(".25"));
        QCOMPARE(singleText(-0.25F, ".", false), std::string("-.25"));
        QCOMPARE(ageText(3.25, ","), std::string("3,25"));
    }

    void shownSingleIsWhatTheTextSays() {
        QCOMPARE(shownSingle(200000.5F), 200000.5);
        QCOMPARE(shownSingle(1000000.4F), 1000000.0);
        QCOMPARE(shownSingle(12345678.0F), 12345680.0);
    }

    void ages_data() {
        QTest::addColumn<double>("age");
        QTest::addColumn<QString>("text");
        QTest::newRow("hundredths") << 325 * 0.01 << "3.25";
        QTest::newRow("small fraction") << 7 * 0.01 << "0.07";
        QTest::newRow("whole") << 1200 * 0.01 << "12";
        QTest::newRow("future") << -1 * 0.01 << "-0.01";
        QTest::newRow("large") << 20143150 * 0.01 << "201431.5";
    }
    void ages() {
        QFETCH(double, age);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(ageText(age)), text);
    }

    void roundingHalvesToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        QTest::newRow("0.5 to 0") << 0.5 << 0;
        QTest::newRow("1.5 to 2") << 1.5 << 2;
        QTest::newRow("2.5 to 2") << 2.5 << 2;
        QTest::newRow("151.5 to 152") << 151.5 << 152;
        QTest::newRow("-2.5 to -2") << -2.5 << -2;
        QTest::newRow("2147483647.5 clamps") << 2147483647.5 << std::numeric_limits<int>::max();
        QTest::newRow("hugely negative clamps") << -1e12 << std::numeric_limits<int>::min();
        QTest::newRow("NaN is 0") << std::numeric_limits<double>::quiet_NaN() << 0;
    }
    void roundingHalvesToEven() {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(roundHalfEven32(value), rounded);
    }
};

QTEST_APPLESS_MAIN(NumberTextTest)
#include "test_number_text.moc"
