#include <QTest>
#include <csignal>
#include <sstream>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "core/store_file.h"
#include "support/core_store_files.h"

using namespace ledgerly;
using namespace ledgerly::testing;
namespace fs = std::filesystem;

class StoreFileTest : public QObject {
    Q_OBJECT
private slots:
    void writerPutsValuesInStoreOrder() {
        TradeData data;
        data.setDefaults();
        data.setValue(1, 1, 0.5F);
        data.setValue(2, 88, 15000000.0F);
        data.setStamp(19, 201453.53125F);
        const std::string text = storeText(data);
        QVERIFY(text.starts_with(" .5 \r\n 1 \r\n"));
        // Block 2 starts at line 90; commodity 88 of post 2 is line 89 + 88 = 177.
        std::istringstream lines(text);
        std::string line;
        for (int n = 1; n <= 177; ++n)
            std::getline(lines, line);
        QCOMPARE(line, std::string(" 1.5E+07 \r"));
        QVERIFY(text.ends_with(" 201453.5 \r\n"));
    }

    void roundTripKeepsSevenSignificantDigits() {
        TradeData original;
        original.setDefaults();
        original.setValue(7, 44, 1234567.5F);   // comes back as 1234568
        original.setValue(9, 88, 98765432.0F);  // exponent form, 9.876543E+07
        original.setValue(12, 1, 0.25F);
        original.setStamp(5, 201453.53125F);
        TradeData loaded;
        QVERIFY(!readStoreText(storeText(original), loaded));
        QCOMPARE(loaded.value(7, 44), 1234568.0F);
        QCOMPARE(loaded.value(9, 88), 98765430.0F);
        QCOMPARE(loaded.value(12, 1), 0.25F);
        QCOMPARE(loaded.stamp(5), 201453.5F);
    }

    void readerIsLenient_data() {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<bool>("byteOrderMark");
        QTest::newRow("CR LF") << "\r\n" << false;
        QTest::newRow("bare LF") << "\n" << false;
        QTest::newRow("commas") << "," << false;
        QTest::newRow("tabs and blanks") << " \t " << false;
        QTest::newRow("comma with blanks") << " , " << false;
        QTest::newRow("saved with a byte-order mark") << "\r\n" << true;
    }
    void readerIsLenient() {
        QFETCH(QString, separator);
        QFETCH(bool, byteOrderMark);
        TradeData data;
        const std::string mark = byteOrderMark ? "\xEF\xBB\xBF" : "";
        QVERIFY(!readStoreText(mark + countingStore(separator.toStdString()), data));
        QCOMPARE(data.value(1, 1), 1.0F);
        QCOMPARE(data.stamp(1), 89.0F);
        QCOMPARE(data.value(2, 1), 90.0F);
        QCOMPARE(data.stamp(19), 1691.0F);
    }

    void numberForms_data() {
        QTest::addColumn<QString>("token");
        QTest::addColumn<float>("value");
        QTest::newRow("no leading zero") << ".5" << 0.5F;
        QTest::newRow("exponent") << "1.5E+07" << 15000000.0F;
        QTest::newRow("lower-case exponent") << "2e3" << 2000.0F;
        QTest::newRow("D exponent") << "2D3" << 2000.0F;
        QTest::newRow("plus sign") << "+7" << 7.0F;
        QTest::newRow("negative") << "-3" << -3.0F;
        QTest::newRow("trailing point") << "5." << 5.0F;
        QTest::newRow("too small reads as zero") << "1e-50" << 0.0F;
    }
    void numberForms() {
        QFETCH(QString, token);
        QFETCH(float, value);
        TradeData data;
        std::string text = " " + token.toStdString() + " \r\n" + countingStore("\r\n", 1690);
        QVERIFY(!readStoreText(text, data));
        QCOMPARE(data.value(1, 1), value);
    }

    void malformedStoresAreRefusedWithAReason_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << "the file ends after 0 numbers; it needs 1691";
        QTest::newRow("one short") << QByteArray::fromStdString(countingStore("\r\n", 1690))
                                   << "the file ends after 1690 numbers; it needs 1691";
        QTest::newRow("word on line 412")
            << QByteArray::fromStdString(countingStore("\r\n", 411) + "abc\r\n" +
                                         countingStore("\r\n", 1279))
            << "line 412: 'abc' is not a number";
        QTest::newRow("two points") << QByteArray("1.2.3\r\n") << "line 1: '1.2.3' is not a number";
        QTest::newRow("bare exponent") << QByteArray("1E\r\n") << "line 1: '1E' is not a number";
        QTest::newRow("NaN text") << QByteArray("nan\r\n") << "line 1: 'nan' is not a number";
        QTest::newRow("binary bytes")
            << QByteArray("7\r\n\x01\xff\x00z", 7) << "line 2: '???z' is not a number";
        QTest::newRow("too large for single precision")
            << QByteArray("1e39\r\n") << "line 1: '1e39' is out of range";
    }
    void malformedStoresAreRefusedWithAReason() {
        QFETCH(QByteArray, text);
        QFETCH(QString, reason);
        TradeData data;
        data.setDefaults();
        data.setValue(6, 6, 66.0F);
        const auto problem = readStoreText(text.toStdString(), data);
        QVERIFY(problem);
        QCOMPARE(QString::fromStdString(*problem), reason);
        QCOMPARE(data.value(6, 6), 66.0F);  // untouched
        QCOMPARE(data.value(1, 1), 1.0F);
    }

    void firstStartCreatesTheFileWithDefaults() {
        QTemporaryDir dir;
        const fs::path path = fs::path(dir.path().toStdString()) / "nested" / "tradevalues.txt";
        TradeData data;
        const StartupLoad load = loadStoreAtStartup(path, data);
        QVERIFY(load.createdFile);
        QVERIFY(!load.problem);
        QVERIFY(readAll(path) == defaultStoreBytes());
        QVERIFY(!fs::exists(fs::path(path) += ".tmp"));
        QCOMPARE(data.value(19, 0), 1.0F);  // raised too
        QCOMPARE(data.stamp(19), 10.0F);
    }

    // A store that exists is only ever read at start-up; one that cannot be used leaves the
    // defaults in memory. Either way the start-up pass raises what is below 1 or stamp 10.
    void laterStartsReadAndNeverWrite_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<float>("value");
        TradeData saved;
        saved.setDefaults();
        saved.setValue(2, 3, 0.0F);
        saved.setValue(2, 4, 4321.5F);
        saved.setStamp(2, 10.5F);
        QTest::newRow("readable") << QByteArray::fromStdString(storeText(saved)) << false
                                  << 4321.5F;
        QTest::newRow("not a number") << QByteArray("abc\r\n") << true << 1.0F;
        QTest::newRow("absurdly large")
            << QByteArray(int(kStoreSizeLimit) + 1, ' ') << true << 1.0F;
    }
    void laterStartsReadAndNeverWrite() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, refused);
        QFETCH(float, value);
        TemporaryStore store;
        writeAll(store.path, bytes.toStdString());
        TradeData data;
        const StartupLoad load = loadStoreAtStartup(store.path, data);
        QCOMPARE(bool(load.problem), refused);
        QVERIFY(!load.createdFile);
        QCOMPARE(data.value(2, 3), 1.0F);
        QCOMPARE(data.value(2, 4), value);
        QCOMPARE(data.stamp(2), 10.0F);
        QVERIFY(readAll(store.path) == bytes.toStdString());
    }

    void storeThatCannotBeCreatedIsReported() {
        TemporaryStore store;
        writeAll(store.path, "x");  // a file where the store's folder should be
        TradeData data;
        const StartupLoad load = loadStoreAtStartup(store.path / "tradevalues.txt", data);
        QVERIFY(load.createdFile);
        QVERIFY(load.problem);
        QCOMPARE(data.value(5, 5), 1.0F);
        QCOMPARE(data.stamp(5), 10.0F);
    }

    void saveReplacesTheFileOnlyWhenWhollyWritten() {
        TemporaryStore store;
        writeAll(store.path, "old contents");
        TradeData data;
        data.setDefaults();
        data.setValue(19, 88, 2.5F);
        // A directory where the temporary file should go makes the save fail before the rename.
        fs::create_directory(store.temporaryFile());
        QVERIFY(saveStore(store.path, data));
        QCOMPARE(readAll(store.path), std::string("old contents"));

        fs::remove(store.temporaryFile());
        QVERIFY(!saveStore(store.path, data));
        QVERIFY(readAll(store.path) == storeText(data));
        QVERIFY(!fs::exists(store.temporaryFile()));
    }

#ifndef _WIN32
    void fullDiskNeverLeavesAHalfFile() {
        TemporaryStore store;
        writeAll(store.path, "old contents");
        TradeData data;
        data.setDefaults();
        // The file-size limit makes writes fail part-way, as a full disk would.
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 4096;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const auto problem = saveStore(store.path, data);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(problem);
        QCOMPARE(readAll(store.path), std::string("old contents"));
        QVERIFY(!fs::exists(store.temporaryFile()));
    }
#endif
};

QTEST_APPLESS_MAIN(StoreFileTest)
#include "test_store_file.moc"
