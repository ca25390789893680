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
    // The writer puts each number in its place in seven significant digits; reading the text
    // back gives the values as written.
    void writerPutsValuesInStoreOrder() {
        TradeData original;
        original.setDefaults();
        original.setValue(1, 1, 0.5F);
        original.setValue(2, 88, 15000000.0F);
        original.setValue(7, 44, 1234567.5F);
        original.setValue(9, 88, 98765432.0F);
        original.setStamp(19, 201453.53125F);
        const std::string text = storeText(original);
        QVERIFY(text.starts_with(" .5 \r\n 1 \r\n"));
        // Block 2 starts at line 90; commodity 88 of post 2 is line 89 + 88 = 177.
        std::istringstream lines(text);
        std::string line;
        for (int n = 1; n <= 177; ++n)
            std::getline(lines, line);
        QCOMPARE(line, std::string(" 1.5E+07 \r"));
        QVERIFY(text.ends_with(" 201453.5 \r\n"));

        TradeData loaded;
        QVERIFY(!readStoreText(text, loaded));
        QCOMPARE(loaded.value(1, 1), 0.5F);
        QCOMPARE(loaded.value(7, 44), 1234568.0F);
        QCOMPARE(loaded.value(9, 88), 98765430.0F);
        QCOMPARE(loaded.stamp(19), 201453.5F);
    }

    // The reader takes any separator and the number forms people type; anything else is refused
    // with the line at fault, and the table is then left as it was.
    void readerTakesWhatPeopleWrite_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<float>("first");  // value(1, 1) when the text is taken
        QTest::addColumn<QString>("reason");
        const auto counting = [](const std::string& separator) {
            return QByteArray::fromStdString(countingStore(separator));
        };
        // The counting store with its first number written as `token`.
        const auto firstAs = [](const char* token) {
            const std::string rest = countingStore("\r\n");
            return QByteArray(token) + QByteArray::fromStdString(rest.substr(rest.find('\r')));
        };
        QTest::newRow("CR LF") << counting("\r\n") << 1.0F << "";
        QTest::newRow("bare LF") << counting("\n") << 1.0F << "";
        QTest::newRow("commas") << counting(",") << 1.0F << "";
        QTest::newRow("tabs and blanks") << counting(" \t ") << 1.0F << "";
        QTest::newRow("comma with blanks") << counting(" , ") << 1.0F << "";
        QTest::newRow("saved with a byte-order mark")
            << "\xEF\xBB\xBF" + counting("\r\n") << 1.0F << "";
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
        QTest::newRow("one short") << QByteArray::fromStdString(countingStore("\r\n", 1690)) << 0.0F
                                   << "the file ends after 1690 numbers; it needs 1691";
        QTest::newRow("word on line 412")
            << QByteArray::fromStdString(countingStore("\r\n", 411) + "abc\r\n" +
                                         countingStore("\r\n", 1279))
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
        QFETCH(QString, reason);
        TradeData data;
        data.setDefaults();
        data.setValue(6, 6, 66.0F);
        const auto problem = readStoreText(text.toStdString(), data);
        QCOMPARE(QString::fromStdString(problem.value_or("")), reason);
        if (problem) {
            QCOMPARE(data.value(6, 6), 66.0F);  // untouched
            QCOMPARE(data.value(1, 1), 1.0F);
            return;
        }
        QCOMPARE(data.value(1, 1), first);
        QCOMPARE(data.stamp(1), 89.0F);
        QCOMPARE(data.value(2, 1), 90.0F);
        QCOMPARE(data.stamp(19), 1691.0F);
    }

    // A missing store is written with the defaults, folders and all; one that exists is only
    // ever read; one that cannot be used leaves the defaults in memory. Either way the start-up
    // pass raises what is below 1 or stamp 10.
    void startupLoad_data() {
        QTest::addColumn<QByteArray>("bytes");  // null: no store yet
        QTest::addColumn<bool>("blocked");      // a file stands where the store's folder goes
        QTest::addColumn<bool>("refused");
        QTest::addColumn<float>("value");
        TradeData saved;
        saved.setDefaults();
        saved.setValue(2, 3, 0.0F);
        saved.setValue(2, 4, 4321.5F);
        saved.setStamp(2, 10.5F);
        QTest::newRow("first start") << QByteArray() << false << false << 1.0F;
        QTest::newRow("folder cannot be made") << QByteArray() << true << true << 1.0F;
        QTest::newRow("readable") << QByteArray::fromStdString(storeText(saved)) << false << false
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
        TemporaryStore store;
        fs::path path = store.path.parent_path() / "nested" / "tradevalues.txt";
        if (blocked)
            writeAll(path.parent_path(), "x");
        if (!bytes.isNull())
            writeAll(path = store.path, bytes.toStdString());
        TradeData data;
        const StartupLoad load = loadStoreAtStartup(path, data);
        QCOMPARE(bool(load.problem), refused);
        QCOMPARE(load.createdFile, bytes.isNull());
        QCOMPARE(data.value(2, 3), 1.0F);
        QCOMPARE(data.value(2, 4), value);
        QCOMPARE(data.stamp(2), 10.0F);
        if (!blocked)
            QVERIFY(readAll(path) == (bytes.isNull() ? defaultStoreBytes() : bytes.toStdString()));
        QVERIFY(!fs::exists(fs::path(path) += ".tmp"));
    }

    // A save that fails part-way, as on a full disk, or before the rename keeps the old file
    // whole and leaves no temporary file behind; only a whole save replaces it.
    void saveReplacesTheFileOnlyWhenWhollyWritten() {
        TemporaryStore store;
        writeAll(store.path, "old contents");
        TradeData data;
        data.setDefaults();
        data.setValue(19, 88, 2.5F);
#ifndef _WIN32
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
#endif
        fs::create_directory(store.temporaryFile());  // the rename's source cannot be written
        QVERIFY(saveStore(store.path, data));
        QCOMPARE(readAll(store.path), std::string("old contents"));

        fs::remove(store.temporaryFile());
        QVERIFY(!saveStore(store.path, data));
        QVERIFY(readAll(store.path) == storeText(data));
        QVERIFY(!fs::exists(store.temporaryFile()));
    }
};

QTEST_APPLESS_MAIN(StoreFileTest)
#include "test_store_file.moc"
