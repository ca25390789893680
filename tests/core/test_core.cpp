#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "core/catalogue.h"
#include "core/hour_clock.h"
#include "core/number_text.h"
#include "core/store_file.h"

using namespace ledgerly;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(LocalDateTime)

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// The store's lines as a first start writes them: " 1 " for every value, " 10 " for each stamp.
std::vector<std::string> firstStartLines() {
    std::vector<std::string> lines(kStoreNumberCount, " 1 ");
    for (int tp = 1; tp <= kTradingPostCount; ++tp)
        lines[static_cast<std::size_t>(tp * 89 - 1)] = " 10 ";
    return lines;
}

std::string joined(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

// `count` numbers 1, 2, 3, ... each followed by `separator`.
std::string counting(const std::string& separator, int count = kStoreNumberCount) {
    std::string text;
    for (int n = 1; n <= count; ++n)
        text += std::to_string(n) + separator;
    return text;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

class CoreTest : public QObject {
    Q_OBJECT
private slots:
    // Every commodity is sold at exactly one post; only Temple Shop (from slot 4) and Ur-Vile
    // have empty slots. Routes run both ways alike, except the one-way million moves from
    // Ur-Vile to Minotaur; posts without a route are 100000 moves apart.
    void catalogue() {
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
        QCOMPARE(sold, kCommodityCount);
        QCOMPARE(sellerOf(0), 0);
        for (int a = 1; a <= kTradingPostCount; ++a) {
            for (int b = 1; b <= kTradingPostCount; ++b) {
                if (a == 11 && b == 19)
                    QCOMPARE(moves(a, b), 1000000);
                else if (a == b || a == 11 || a == 19 || b == 11 || b == 19)
                    QCOMPARE(moves(a, b), kNoRouteMoves);
                else
                    QVERIFY(moves(a, b) > 0 && moves(a, b) == moves(b, a));
            }
        }
        QCOMPARE(moves(12, 13), 475);
        // The game's catalogue order is not alphabetical everywhere.
        const std::pair<int, std::string_view> names[] = {{0, "none"},      {1, "Adamantite"},
                                                          {31, "Fish"},     {42, "Illutian"},
                                                          {87, "Waybread"}, {88, "Wands"}};
        for (const auto& [c, name] : names)
            QCOMPARE(commodityName(c), name);
        QCOMPARE(goodsSlot(18, 3), 27);
        QCOMPARE(tradingPost(18).listLabel, std::string_view("Hidden City(Old Wizard's Cart)"));
        QCOMPARE(tradingPost(11).shopName, std::string_view("Ur-vile Feeding Hall"));
    }

    // The start-up pass over every post and column, "none" included.
    void startupPassRaisesLowValuesAndStamps_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("raisedValue");
        QTest::addColumn<float>("stamp");
        QTest::addColumn<float>("raisedStamp");
        QTest::newRow("zero, stamp 10 stays") << 0.0F << 1.0F << 10.0F << 10.0F;
        QTest::newRow("negative, stamp 10.5 falls to 10") << -3.0F << 1.0F << 10.5F << 10.0F;
        QTest::newRow("just below 1, stamp 11 stays") << 0.999F << 1.0F << 11.0F << 11.0F;
        QTest::newRow("NaN value and stamp") << kNaN << 1.0F << kNaN << 10.0F;
        QTest::newRow("1 stays, stamp below 10 rises") << 1.0F << 1.0F << 3.0F << 10.0F;
        QTest::newRow("1.5 and a real stamp stay") << 1.5F << 1.5F << 201453.5F << 201453.5F;
    }
    void startupPassRaisesLowValuesAndStamps() {
        QFETCH(float, value);
        QFETCH(float, raisedValue);
        QFETCH(float, stamp);
        QFETCH(float, raisedStamp);
        TradeData data;
        data.setDefaults();
        data.setValue(19, 0, value);
        data.setStamp(19, stamp);
        data.raiseLowValues();
        QCOMPARE(data.value(19, 0), raisedValue);
        QCOMPARE(data.stamp(19), raisedStamp);
    }

    void hourClock_data() {
        QTest::addColumn<LocalDateTime>("time");
        QTest::addColumn<float>("reading");
        QTest::newRow("origin reads 24") << LocalDateTime{2003, 1, 1, 0, 0, 0} << 24.0F;
        QTest::newRow("half past noon") << LocalDateTime{2003, 1, 1, 12, 30, 0} << 36.5F;
        // Near 210000 hours a single steps by 1/64 hour, so seconds are rounded away.
        QTest::newRow("two roundings to single")
            << LocalDateTime{2026, 12, 6, 13, 45, 30} << 209653.765625F;
        QTest::newRow("ten seconds lost") << LocalDateTime{2026, 12, 6, 13, 45, 10} << 209653.75F;
        // Every year has 365 days: 29 February reads as 1 March.
        QTest::newRow("29 February is 1 March") << LocalDateTime{2024, 2, 29, 0, 0, 0} << 185400.0F;
        QTest::newRow("1 March 2024") << LocalDateTime{2024, 3, 1, 0, 0, 0} << 185400.0F;
        QTest::newRow("first day of 2025") << LocalDateTime{2025, 1, 1, 0, 0, 0} << 192744.0F;
    }
    void hourClock() {
        QFETCH(LocalDateTime, time);
        QFETCH(float, reading);
        QCOMPARE(hourClockAt(time), reading);
    }

    void monthsHaveTheirCalendarLengths() {
        const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        for (int month = 1; month <= 12; ++month) {
            const LocalDateTime first{2005, month, 1};
            const LocalDateTime next =
                month < 12 ? LocalDateTime{2005, month + 1, 1} : LocalDateTime{2006, 1, 1};
            QCOMPARE(hourClockDayNumber(next) - hourClockDayNumber(first), lengths[month - 1]);
        }
    }

    void ageIsCutToHundredths_data() {
        QTest::addColumn<float>("reading");
        QTest::addColumn<float>("stamp");
        QTest::addColumn<double>("age");
        QTest::newRow("exact") << 103.25F << 100.0F << 3.25;
        QTest::newRow("cut, not rounded") << 101.2390F << 100.0F << 1.23;
        QTest::newRow("future stamp rounds down") << 100.0F << 100.001F << -0.01;
    }
    void ageIsCutToHundredths() {
        QFETCH(float, reading);
        QFETCH(float, stamp);
        QFETCH(double, age);
        QVERIFY(qAbs(ageOfValues(reading, stamp) - age) < 1e-9);
    }

    // Seven significant digits, exponent form from ten million on.
    void singleTexts_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole number") << 523400.0F << "523400";
        QTest::newRow("a half keeps its point") << 1234.5F << "1234.5";
        QTest::newRow("rounded to seven digits") << 1234567.5F << "1234568";
        QTest::newRow("fraction keeps its zero") << 0.5F << "0.5";
        QTest::newRow("stamp loses its eighth digit") << 201453.53125F << "201453.5";
        QTest::newRow("just below ten million") << 9999999.0F << "9999999";
        QTest::newRow("ten million in exponent form") << 10000000.0F << "1E+07";
        QTest::newRow("exponent with seven digits") << 12345678.0F << "1.234568E+07";
        QTest::newRow("negative zero is zero") << -0.0F << "0";
        QTest::newRow("float's largest") << std::numeric_limits<float>::max() << "3.402823E+38";
    }
    void singleTexts() {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(singleText(value)), text);
    }

    void agesAndSeparators() {
        QCOMPARE(ageText(325 * 0.01), "3.25");
        QCOMPARE(ageText(7 * 0.01), "0.07");
        QCOMPARE(ageText(1200 * 0.01), "12");
        QCOMPARE(ageText(-1 * 0.01), "-0.01");
        QCOMPARE(ageText(20143150 * 0.01), "201431.5");
        QCOMPARE(ageText(3.25, ","), "3,25");
        QCOMPARE(singleText(1234.5F, ","), "1234,5");
        QCOMPARE(singleText(-0.25F, ".", false), "-.25");
    }

    void roundingHalvesToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        QTest::newRow("0.5 to 0") << 0.5 << 0;
        QTest::newRow("1.5 to 2") << 1.5 << 2;
        QTest::newRow("2.5 to 2") << 2.5 << 2;
        QTest::newRow("-2.5 to -2") << -2.5 << -2;
        QTest::newRow("2147483647.5 clamps") << 2147483647.5 << std::numeric_limits<int>::max();
        QTest::newRow("hugely negative clamps") << -1e12 << std::numeric_limits<int>::min();
        QTest::newRow("NaN is 0") << double(kNaN) << 0;
    }
    void roundingHalvesToEven() {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(roundHalfEven32(value), rounded);
    }

    // Line (tp - 1) x 89 + c holds values(tp, c); each block ends with its stamp. Reading the
    // text back gives the values as written, to seven digits.
    void writerPutsEachNumberOnItsLine() {
        TradeData data;
        data.setDefaults();
        std::vector<std::string> lines = firstStartLines();
        const auto set = [&](int tp, int line, float v, const char* text) {  // 89: the stamp
            line < 89 ? data.setValue(tp, line, v) : data.setStamp(tp, v);
            lines[static_cast<std::size_t>((tp - 1) * 89 + line - 1)] = text;
        };
        set(1, 1, 0.5F, " .5 ");
        set(2, 88, 15000000.0F, " 1.5E+07 ");
        set(3, 5, -3.0F, "-3 ");
        set(7, 44, 1234567.5F, " 1234568 ");
        set(9, 88, 98765432.0F, " 9.876543E+07 ");
        set(19, 89, 201453.53125F, " 201453.5 ");
        const std::string text = storeText(data);
        QCOMPARE(text, joined(lines));

        TradeData loaded;
        QVERIFY(!readStoreText(text, loaded));
        QCOMPARE(loaded.value(1, 1), 0.5F);
        QCOMPARE(loaded.value(3, 5), -3.0F);
        QCOMPARE(loaded.value(9, 88), 98765430.0F);
        QCOMPARE(loaded.stamp(19), 201453.5F);
    }

    // Any separator and the number forms people type are taken; anything else is refused with
    // the line at fault, and the table is then left as it was.
    void readerTakesWhatPeopleWrite_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<float>("first");  // value(1, 1) when the text is taken
        QTest::addColumn<QString>("problem");
        const auto all = [](const std::string& separator) {
            return QByteArray::fromStdString(counting(separator));
        };
        const auto firstAs = [](const char* token) {
            return QByteArray(token) + QByteArray::fromStdString(counting("\r\n").substr(1));
        };
        QTest::newRow("CR LF") << all("\r\n") << 1.0F << "";
        QTest::newRow("bare LF") << all("\n") << 1.0F << "";
        QTest::newRow("commas") << all(",") << 1.0F << "";
        QTest::newRow("tabs and blanks") << all(" \t ") << 1.0F << "";
        QTest::newRow("comma with blanks") << all(" , ") << 1.0F << "";
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + all("\r\n") << 1.0F << "";
        QTest::newRow("no leading zero") << firstAs(" .5 ") << 0.5F << "";
        QTest::newRow("exponent") << firstAs("1.5E+07") << 15000000.0F << "";
        QTest::newRow("lower-case exponent") << firstAs("2e3") << 2000.0F << "";
        QTest::newRow("D exponent") << firstAs("2D3") << 2000.0F << "";
        QTest::newRow("plus sign") << firstAs("+7") << 7.0F << "";
        QTest::newRow("negative") << firstAs("-3") << -3.0F << "";
        QTest::newRow("trailing point") << firstAs("5.") << 5.0F << "";
        QTest::newRow("too small reads as zero") << firstAs("1e-50") << 0.0F << "";
        QTest::newRow("empty") << QByteArray() << 0.0F
                               << "the file ends after 0 numbers; it needs 1691";
        QTest::newRow("one short") << QByteArray::fromStdString(counting("\r\n", 1690)) << 0.0F
                                   << "the file ends after 1690 numbers; it needs 1691";
        QTest::newRow("word on line 412")
            << QByteArray::fromStdString(counting("\r\n", 411) + "abc\r\n" + counting("\r\n"))
            << 0.0F << "line 412: 'abc' is not a number";
        QTest::newRow("two points")
            << firstAs("1.2.3") << 0.0F << "line 1: '1.2.3' is not a number";
        QTest::newRow("bare exponent") << firstAs("1E") << 0.0F << "line 1: '1E' is not a number";
        QTest::newRow("NaN text") << firstAs("nan") << 0.0F << "line 1: 'nan' is not a number";
        QTest::newRow("binary bytes")
            << QByteArray("7\r\n\x01\xff\x00z", 7) << 0.0F << "line 2: '???z' is not a number";
        QTest::newRow("too large for single precision")
            << firstAs("1e39") << 0.0F << "line 1: '1e39' is out of range";
    }
    void readerTakesWhatPeopleWrite() {
        QFETCH(QByteArray, text);
        QFETCH(float, first);
        QFETCH(QString, problem);
        TradeData data;
        data.setDefaults();
        data.setValue(6, 6, 66.0F);
        QCOMPARE(QString::fromStdString(readStoreText(text.toStdString(), data).value_or("")),
                 problem);
        if (!problem.isEmpty()) {
            QCOMPARE(data.value(6, 6), 66.0F);
            return;
        }
        QCOMPARE(data.value(1, 1), first);
        QCOMPARE(data.value(1, 88), 88.0F);
        QCOMPARE(data.stamp(1), 89.0F);
        QCOMPARE(data.value(2, 1), 90.0F);
        QCOMPARE(data.stamp(19), 1691.0F);
    }

    // A missing store is written with the defaults, folders and all; one that exists is only
    // read; one that cannot be used leaves the defaults in memory. Then the start-up pass.
    void startupLoad_data() {
        QTest::addColumn<QByteArray>("bytes");  // null: no store yet
        QTest::addColumn<bool>("blocked");      // a file stands where the store's folder goes
        QTest::addColumn<bool>("refused");
        QTest::addColumn<float>("value");
        std::vector<std::string> saved = firstStartLines();
        saved[89 + 2] = " 0 ";
        saved[89 + 3] = " 4321.5 ";
        saved[89 + 88] = " 10.5 ";
        QTest::newRow("first start") << QByteArray() << false << false << 1.0F;
        QTest::newRow("folder cannot be made") << QByteArray() << true << true << 1.0F;
        QTest::newRow("readable") << QByteArray::fromStdString(joined(saved)) << false << false
                                  << 4321.5F;
        QTest::newRow("not a number") << QByteArray("abc\r\n") << false << true << 1.0F;
        QTest::newRow("absurdly large")
            << QByteArray(int(kStoreSizeLimit) + 1, ' ') << false << true << 1.0F;
    }
    void startupLoad() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, blocked);
        QFETCH(bool, refused);
        QFETCH(float, value);
        QTemporaryDir folder;
        const fs::path root = folder.path().toStdString();
        fs::path path = root / "nested" / "tradevalues.txt";
        if (blocked)
            writeAll(path.parent_path(), "x");
        if (!bytes.isNull())
            writeAll(path = root / "tradevalues.txt", bytes.toStdString());
        TradeData data;
        const StartupLoad load = loadStoreAtStartup(path, data);
        QCOMPARE(bool(load.problem), refused);
        QCOMPARE(load.createdFile, bytes.isNull());
        QCOMPARE(data.value(2, 3), 1.0F);
        QCOMPARE(data.value(2, 4), value);
        QCOMPARE(data.stamp(2), 10.0F);
        if (!blocked)
            QVERIFY(readAll(path) ==
                    (bytes.isNull() ? joined(firstStartLines()) : bytes.toStdString()));
        QVERIFY(!fs::exists(fs::path(path) += ".tmp"));
    }

    // A save that fails part-way, as on a full disk, or at the rename keeps the old file whole
    // and leaves no temporary file behind; only a whole save replaces it.
    void saveReplacesTheFileOnlyWhenWhollyWritten() {
        QTemporaryDir folder;
        const fs::path path = fs::path(folder.path().toStdString()) / "tradevalues.txt";
        const fs::path temporary = fs::path(path) += ".tmp";
        writeAll(path, "old contents");
        TradeData data;
        data.setDefaults();
#ifndef _WIN32
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 4096;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const auto problem = saveStore(path, data);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(problem);
        QCOMPARE(readAll(path), "old contents");
        QVERIFY(!fs::exists(temporary));
#endif
        fs::create_directory(temporary);  // the rename's source cannot be written
        QVERIFY(saveStore(path, data));
        QCOMPARE(readAll(path), "old contents");

        fs::remove(temporary);
        QVERIFY(!saveStore(path, data));
        QVERIFY(readAll(path) == joined(firstStartLines()));
        QVERIFY(!fs::exists(temporary));
    }
};

QTEST_APPLESS_MAIN(CoreTest)
#include "test_core.moc"
