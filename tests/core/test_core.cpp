// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <limits>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "core/catalogue.h"
#include "core/hour_clock.h"
#include "core/number_text.h"
#include "core/store_file.h"
#include "support/test_data.h"

using namespace ledgerly;
using namespace ledgerly::testing;
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

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// `count` numbers 1, 2, 3, ... each followed by `separator`.
std::string counting(const std::string& separator, int count = kStoreNumberCount) {
    std::string text;
    for (int n = 1; n <= count; ++n)
        text += std::to_string(n) + separator;
    return text;
}

}  // namespace

class CoreTest : public QObject {
    Q_OBJECT
private slots:
    // Each commodity is sold at one post; only Temple Shop (from slot 4) and Ur-Vile have gaps.
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
        QCOMPARE(goodsSlot(18, 3), 27);
        QCOMPARE(commodityName(42), std::string_view("Illutian"));  // after Iron, not alphabetical
    }

    // The start-up pass over every column, "none" included: "value stamp -> value stamp".
    void startupPassRaisesLowValuesAndStamps_data() {
        QTest::addColumn<QString>("pass");
        QTest::newRow("zero, stamp 10 stays") << "0 10 -> 1 10";
        QTest::newRow("negative, stamp 10.5 falls to 10") << "-3 10.5 -> 1 10";
        QTest::newRow("just below 1, stamp 11 stays") << "0.999 11 -> 1 11";
        QTest::newRow("NaN value and stamp") << "nan nan -> 1 10";
        QTest::newRow("1 stays, stamp below 10 rises") << "1 3 -> 1 10";
        QTest::newRow("1.5 and a real stamp stay") << "1.5 201453.5 -> 1.5 201453.5";
    }
    void startupPassRaisesLowValuesAndStamps() {
        QFETCH(QString, pass);
        TradeData data;
        data.setDefaults();
        data.setValue(19, 0, pass.section(u' ', 0, 0).toFloat());
        data.setStamp(19, pass.section(u' ', 1, 1).toFloat());
        data.raiseLowValues();
        QCOMPARE(QString::number(data.value(19, 0), 'g', 9) + u' ' +
                     QString::number(data.stamp(19), 'g', 9),
                 pass.section(" -> ", 1));
    }

    void hourClock_data() {
        QTest::addColumn<LocalDateTime>("time");
        QTest::addColumn<float>("reading");
        // Near 210000 hours a single steps by 1/64 hour, so seconds are rounded away.
        QTest::newRow("two roundings to single")
            << LocalDateTime{2026, 12, 6, 13, 45, 30} << 209653.765625F;
        QTest::newRow("ten seconds lost") << LocalDateTime{2026, 12, 6, 13, 45, 10} << 209653.75F;
        // Every year has 365 days: 29 February reads as 1 March.
        QTest::newRow("29 February is 1 March") << LocalDateTime{2024, 2, 29, 0, 0, 0} << 185400.0F;
        QTest::newRow("first day of 2025") << LocalDateTime{2025, 1, 1, 0, 0, 0} << 192744.0F;
        QTest::newRow("a month out of range reads as January")
            << LocalDateTime{2003, 13, 1} << 24.0F;
        // Readings worked out by hand from the day count ((Y - 2003) x 365 + D(M) + d) x 24.
        QTest::newRow("the origin, 1 January 2003") << LocalDateTime{2003, 1, 1} << 24.0F;
        QTest::newRow("1 January 2004") << LocalDateTime{2004, 1, 1} << 8784.0F;
        QTest::newRow("4 July 2100, 18:00") << LocalDateTime{2100, 7, 4, 18, 0, 0} << 854178.0F;
    }
    void hourClock() {
        QFETCH(LocalDateTime, time);
        QFETCH(float, reading);
        // As doubles: QCOMPARE allows floats near 200000 hours a slack of two hours.
        QCOMPARE(double(hourClockAt(time)), double(reading));
    }

    void monthsAndAges() {
        const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        for (int month = 1; month <= 12; ++month) {
            const LocalDateTime first{2005, month, 1};
            const LocalDateTime next =
                month < 12 ? LocalDateTime{2005, month + 1, 1} : LocalDateTime{2006, 1, 1};
            QCOMPARE(hourClockDayNumber(next) - hourClockDayNumber(first), lengths[month - 1]);
        }
        // Ages are cut, not rounded, to hundredths, and a stamp in the future reads below 0.
        QCOMPARE(ageOfValues(101.239F, 100.0F), 1.23);
        QCOMPARE(ageOfValues(100.0F, 100.001F), -0.01);
    }

    // How numbers read: "single" a trade value (seven digits, exponent form from ten million),
    // "store" a store line, "age" an age, "round" a whole figure; a trailing comma: decimal comma.
    void numberTexts_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, const char* kind, double value, const char* text) {
            QTest::newRow(name) << kind << value << text;
        };
        row("fraction keeps its zero", "single", 0.5, "0.5");
        row("just below ten million", "single", 9999999, "9999999");
        row("ten million in exponent form", "single", 10000000, "1E+07");
        row("exponent with seven digits", "single", 12345678, "1.234568E+07");
        row("negative zero is zero", "single", -0.0, "0");
        row("one has no point", "single", 1, "1");
        row("zeros of a whole number stay", "single", 1500, "1500");
        row("trailing zeros of a fraction go", "single", 100.25, "100.25");
        row("negative fraction keeps its zero", "single", -0.25, "-0.25");
        row("a hundred-thousandth without exponent", "single", 0.00001, "0.00001");
        row("a millionth in exponent form", "single", 0.000001, "1E-06");
        row("negative in exponent form", "single", -12345678, "-1.234568E+07");
        row("decimal comma", "single,", 1234.5, "1234,5");
        row("store: negative fraction loses its zero", "store", -0.25, "-.25 ");
        row("small age", "age", 7 * 0.01, "0.07");
        row("future age", "age", -1 * 0.01, "-0.01");
        row("negative zero age", "age", -0.0, "0");
        row("age with a decimal comma", "age,", 3.25, "3,25");
        row("0.5 rounds to 0", "round", 0.5, "0");
        row("-2.5 rounds to -2", "round", -2.5, "-2");
        row("hugely negative clamps", "round", -1e12, "-2147483648");
        row("hugely positive clamps", "round", 1e12, "2147483647");
        row("NaN is 0", "round", kNaN, "0");
    }
    void numberTexts() {
        QFETCH(QString, kind);
        QFETCH(double, value);
        QFETCH(QString, text);
        const char* separator = kind.endsWith(u',') ? "," : ".";
        std::string shown = std::to_string(roundHalfEven32(value));
        if (kind.startsWith("single"))
            shown = singleText(static_cast<float>(value), separator);
        else if (kind == "store")
            shown = storeNumberField(static_cast<float>(value));
        else if (kind.startsWith("age"))
            shown = ageText(value, separator);
        QCOMPARE(QString::fromStdString(shown), text);
    }

    // Line (tp - 1) x 89 + c holds values(tp, c); each block ends with its stamp.
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
        QCOMPARE(storeText(data), joined(lines));
    }

    // Any separator and the number forms people type are taken (the first value is shown);
    // anything else is refused with the line at fault, and the table is left as it was.
    void readerTakesWhatPeopleWrite_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char* name, const std::string& text, const char* outcome) {
            QTest::newRow(name) << QByteArray::fromStdString(text) << outcome;
        };
        const auto firstAs = [](const std::string& token) {
            return token + counting("\r\n").substr(1);
        };
        row("CR LF", counting("\r\n"), "1");
        row("bare LF", counting("\n"), "1");
        row("commas", counting(","), "1");
        row("tabs and blanks", counting(" \t "), "1");
        row("comma with blanks", counting(" , "), "1");
        row("byte-order mark", "\xEF\xBB\xBF" + counting("\r\n"), "1");
        row("no leading zero", firstAs(" .5 "), "0.5");
        row("exponent", firstAs("1.5E+07"), "1.5e+07");
        row("lower-case exponent", firstAs("2e3"), "2000");
        row("D exponent", firstAs("2D3"), "2000");
        row("plus sign", firstAs("+7"), "7");
        row("negative", firstAs("-3"), "-3");
        row("trailing point", firstAs("5."), "5");
        row("too small reads as zero", firstAs("1e-50"), "0");
        row("whatever follows the last number is ignored", counting("\r\n") + "abc\r\n", "1");
        row("empty", "", "the file ends after 0 numbers; it needs 1691");
        row("one short", counting("\r\n", 1690), "the file ends after 1690 numbers; it needs 1691");
        row("word on line 412", counting("\r\n", 411) + "abc\r\n" + counting("\r\n"),
            "line 412: 'abc' is not a number");
        row("two points", firstAs("1.2.3"), "line 1: '1.2.3' is not a number");
        row("bare exponent", firstAs("1E"), "line 1: '1E' is not a number");
        row("NaN text", firstAs("nan"), "line 1: 'nan' is not a number");
        row("binary bytes", std::string("7\r\n\x01\xff\x00z", 7), "line 2: '???z' is not a number");
        row("too large for single precision", firstAs("1e39"), "line 1: '1e39' is out of range");
    }
    void readerTakesWhatPeopleWrite() {
        QFETCH(QByteArray, text);
        QFETCH(QString, outcome);
        TradeData data;
        data.setDefaults();
        data.setValue(6, 6, 66.0F);
        const auto problem = readStoreText(text.toStdString(), data);
        QCOMPARE(problem ? QString::fromStdString(*problem) : QString::number(data.value(1, 1)),
                 outcome);
        if (problem)
            QCOMPARE(data.value(6, 6), 66.0F);
        else
            QCOMPARE((QList{data.value(1, 88), data.stamp(1), data.value(2, 1), data.stamp(19)}),
                     (QList<float>{88, 89, 90, 1691}));
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
        const auto row = [](const char* name, const QByteArray& bytes, bool blocked, bool refused,
                            float value) {
            QTest::newRow(name) << bytes << blocked << refused << value;
        };
        row("first start", QByteArray(), false, false, 1.0F);
        row("folder cannot be made", QByteArray(), true, true, 1.0F);
        row("readable", QByteArray::fromStdString(joined(saved)), false, false, 4321.5F);
        row("not a number", "abc\r\n", false, true, 1.0F);
        QByteArray largest = QByteArray::fromStdString(joined(saved));
        largest.append(int(kStoreSizeLimit) - largest.size(), ' ');
        row("as large as a store may be", largest, false, false, 4321.5F);
        row("absurdly large", QByteArray(int(kStoreSizeLimit) + 1, ' '), false, true, 1.0F);
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
            QCOMPARE(bytesOf(path),
                     bytes.isNull() ? joined(firstStartLines()) : bytes.toStdString());
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
        QCOMPARE(bytesOf(path), "old contents");
        QVERIFY(!fs::exists(temporary));
#endif
        fs::create_directory(temporary);  // the rename's source cannot be written
        QVERIFY(saveStore(path, data));
        QCOMPARE(bytesOf(path), "old contents");

        fs::remove(temporary);
        QVERIFY(!saveStore(path, data));
        QCOMPARE(bytesOf(path), joined(firstStartLines()));
        QVERIFY(!fs::exists(temporary));
    }
};

QTEST_APPLESS_MAIN(CoreTest)
#include "test_core.moc"
