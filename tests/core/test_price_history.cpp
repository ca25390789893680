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

#include "core/price_history.h"

using namespace ledgerly;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(PriceSnapshot)

namespace {

UtcSeconds at(qint64 seconds) {
    return UtcSeconds{std::chrono::seconds{seconds}};
}

std::string repeated(const std::string& text, std::size_t times) {
    std::string out;
    while (times-- > 0)
        out += text;
    return out;
}

// The header as a spreadsheet shows it, the commodities named from the catalogue.
std::string header(const std::string& quote = "") {
    std::string line = quote + "time_utc" + quote;
    for (const char* name : {"post", "town", "source"})
        line += "," + quote + name + quote;
    for (int c = 1; c <= kCommodityCount; ++c)
        line += "," + quote + std::string(commodityName(c)) + quote;
    return line + "\r\n";
}

// A data row: `fixed` (time, post, town, source), then `count` prices.
std::string row(const std::string& fixed, const std::string& price = "7",
                std::size_t count = kCommodityCount) {
    return fixed + repeated("," + price, count) + "\r\n";
}

const std::string kFixed = "2026-12-07T02:30:15Z,13,Trellor,valued";
const std::string kRow = row(kFixed);

PriceSnapshot snapshot(int tp = 5, const std::string& source = "valued") {
    PriceSnapshot s;
    s.time = at(1796610615);  // 2026-12-07T02:30:15Z
    s.tp = tp;
    s.source = source;
    s.prices.fill(1.0F);
    return s;
}

std::string bytesOf(const fs::path& path) {
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

void writeAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

class PriceHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void utcTimes_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("seconds");  // -1: not a time the file may hold
        QTest::newRow("the epoch") << QByteArray("1970-01-01T00:00:00Z") << 0LL;
        QTest::newRow("leap day's last second")
            << QByteArray("2024-02-29T23:59:59Z") << 1709251199LL;
        QTest::newRow("the last second there is")
            << QByteArray("9999-12-31T23:59:59Z") << 253402300799LL;
        QTest::newRow("29 February of a common year") << QByteArray("2026-02-29T00:00:00Z") << -1LL;
        QTest::newRow("month 13") << QByteArray("2026-13-01T00:00:00Z") << -1LL;
        QTest::newRow("hour 24") << QByteArray("2026-12-07T24:00:00Z") << -1LL;
        QTest::newRow("second 60") << QByteArray("2026-12-07T02:30:60Z") << -1LL;
        QTest::newRow("local time with an offset") << QByteArray("2026-12-07T02:30:15+01") << -1LL;
        QTest::newRow("lower-case zone") << QByteArray("2026-12-07T02:30:15z") << -1LL;
        QTest::newRow("year 10000") << QByteArray("10000-01-01T00:00:00Z") << -1LL;
    }
    void utcTimes() {
        QFETCH(QByteArray, text);
        QFETCH(qint64, seconds);
        const auto parsed = parseIsoUtc(text.toStdString());
        QCOMPARE(parsed ? parsed->time_since_epoch().count() : -1, seconds);
        if (seconds >= 0)
            QCOMPARE(QByteArray::fromStdString(isoUtcText(at(seconds))), text);
    }

    // Written to a new file beside the store and read back: the header, then the row exactly as
    // a spreadsheet reads it, the source quoted where it has to be.
    void writtenRowsReadBack_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("field");  // as the file holds it
        const QByteArray limit(200, 'x');
        const QByteArray nearly(199, 'x');
        QTest::newRow("a valuing run") << QByteArray("valued") << QByteArray("valued");
        QTest::newRow("comma and quotes are quoted")
            << QByteArray("shared: Bo, the \"Fox\"")
            << QByteArray("\"shared: Bo, the \"\"Fox\"\"\"");
        QTest::newRow("blanks at the ends are quoted")
            << QByteArray(" imported: a.csv ") << QByteArray("\" imported: a.csv \"");
        QTest::newRow("a line break becomes blanks")
            << QByteArray("shared:\r\nBo") << QByteArray("shared:  Bo");
        QTest::newRow("cut at 200 bytes") << limit + "yz" << limit;
        QTest::newRow("never half a character") << nearly + "\xC3\xA9" << nearly;  // é
    }
    void writtenRowsReadBack() {
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, field);
        QTemporaryDir folder;
        const fs::path store = fs::path(folder.path().toStdString()) / "tradevalues.txt";
        const fs::path path = priceHistoryPath(store);
        QCOMPARE(path.string(), (store.parent_path() / "price-history.csv").string());

        PriceSnapshot written = snapshot(13, source.toStdString());
        written.prices[1] = 1520.0F;
        written.prices[2] = 0.5F;
        written.prices[42] = 123456.7F;
        written.prices[88] = 15000000.0F;
        QVERIFY(!appendPriceSnapshot(path, written));
        const std::string prices =
            ",1520,0.5" + repeated(",1", 39) + ",123456.7" + repeated(",1", 45) + ",1.5E+07\r\n";
        QCOMPARE(bytesOf(path),
                 header() + "2026-12-07T02:30:15Z,13,Trellor," + field.toStdString() + prices);

        const PriceHistory history = readPriceHistoryFile(path);
        QCOMPARE(history.snapshots.size(), std::size_t{1});
        const PriceSnapshot& read = history.snapshots.front();
        QVERIFY(read.time == written.time);
        QCOMPARE(read.tp, 13);
        QCOMPARE(QByteArray::fromStdString(read.source), field.startsWith('"') ? source : field);
        for (std::size_t c = 1; c <= kCommodityCount; ++c)
            QCOMPARE(double(read.prices[c]), double(written.prices[c]));
    }

    // A damaged row between two whole ones costs itself and nothing else.
    void damagedRowIsSkipped_data() {
        QTest::addColumn<QByteArray>("damaged");
        const auto add = [](const char* name, const std::string& line) {
            QTest::newRow(name) << QByteArray::fromStdString(line);
        };
        const std::string fixed = "2026-12-07T02:30:15Z,13,Trellor,";
        add("a price missing", row(kFixed, "7", 87));
        add("a price too many", row(kFixed, "7", 89));
        add("a word for a price", row(kFixed + ",abc", "7", 87));
        add("NaN for a price", row(kFixed, "nan"));
        add("hex for a price", row(kFixed, "0x10"));
        add("too large for single precision", row(kFixed, "1e39"));
        add("an empty price", row(kFixed + ",", "7", 87));
        add("29 February of a common year", row("2026-02-29T00:00:00Z,13,Trellor,valued"));
        add("post 20", row("2026-12-07T02:30:15Z,20,Trellor,valued"));
        add("post 0", row("2026-12-07T02:30:15Z,0,Trellor,valued"));
        add("another post's town", row("2026-12-07T02:30:15Z,13,Gdangus,valued"));
        add("an unclosed quote", row(fixed + "\"valued"));
        add("a quote inside an unquoted field", row(fixed + "val\"ued"));
        add("text after a closing quote", row(fixed + "\"v\"x"));
        add("a control character in a source", row(fixed + "\"v\x01\""));
        add("a source past 200 bytes", row(fixed + repeated("x", 201)));
    }
    void damagedRowIsSkipped() {
        QFETCH(QByteArray, damaged);
        const PriceHistory history =
            readPriceHistoryText(header() + kRow + damaged.toStdString() + kRow);
        QCOMPARE(history.snapshots.size(), std::size_t{2});
        QCOMPARE(history.skippedRows, 1);
        QVERIFY2(history.firstSkip.starts_with("line 3"), history.firstSkip.c_str());
    }

    // What a whole file gives: snapshots, skipped rows (a torn last one among them), or a
    // refusal, when it is not a Ledgerly history, naming where it differs.
    void wholeFiles_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("snapshots");
        QTest::addColumn<int>("skipped");  // -1: refused
        QTest::addColumn<bool>("torn");
        QTest::addColumn<QString>("note");  // in the first skip's reason, or in the refusal
        const auto add = [](const char* name, const std::string& text, int snapshots, int skipped,
                            bool torn = false, const char* note = "") {
            QTest::newRow(name) << QByteArray::fromStdString(text) << snapshots << skipped << torn
                                << QString(note);
        };
        const std::string h = header();
        const std::string lf = "\n";
        add("LF line ends and a byte-order mark",
            "\xEF\xBB\xBF" + h.substr(0, h.size() - 2) + lf + kRow.substr(0, kRow.size() - 2) + lf,
            1, 0);
        add("blank lines are no rows", h + "\r\n" + kRow + lf, 1, 0);
        add("spreadsheet forms of prices", h + row(kFixed, "-.5e+1"), 1, 0);
        add("a source of 200 bytes, ten of them quotes",
            h + row("2026-12-07T02:30:15Z,13,Trellor,\"" + repeated("x", 190) +
                    repeated("\"\"", 10) + "\""),
            1, 0);
        add("everything quoted",
            header("\"") + row("\"2026-12-07T02:30:15Z\",\"13\",\"Trellor\","
                               "\"valued\"",
                               "\"7\""),
            1, 0);
        add("torn last row", h + kRow + kRow.substr(0, 100), 1, 1, true, "line 3");
        add("last row without its line end", h + kRow + kRow.substr(0, kRow.size() - 2), 1, 1, true,
            "line 3");
        add("an empty file", "", 0, 0);
        add("the header alone", h, 0, 0);
        add("part of the header", h.substr(0, 30), 0, 1, true, "line 1");
        add("someone else's spreadsheet", "name,price\r\napples,3\r\n", 0, -1, false, "'name'");
        add("commodities sorted by name",
            header().replace(h.find("Iron,Illutian"), 13, "Illutian,Iron") + kRow, 0, -1, false,
            "column 45");
        add("the header a column short", h.substr(0, h.rfind(',')) + "\r\n" + kRow, 0, -1, false,
            "91");
        add("a header past its last column", h.substr(0, h.size() - 2) + ",x\r\n" + kRow, 0, -1);
    }
    void wholeFiles() {
        QFETCH(QByteArray, text);
        QFETCH(int, snapshots);
        QFETCH(int, skipped);
        QFETCH(bool, torn);
        QFETCH(QString, note);
        const PriceHistory history = readPriceHistoryText(text.toStdString());
        QCOMPARE(int(history.snapshots.size()), snapshots);
        QCOMPARE(history.problem ? -1 : history.skippedRows, skipped);
        QCOMPARE(history.tornLastRow, torn);
        const std::string reason = history.problem ? *history.problem : history.firstSkip;
        QVERIFY2(QString::fromStdString(reason).contains(note), reason.c_str());
    }

    // Whatever was there stays as it was, and the new row can always be read back whole, even
    // after a crash cut the last row short.
    void appendKeepsWhatIsThere_data() {
        QTest::addColumn<QByteArray>("before");  // null: no file yet
        QTest::addColumn<int>("snapshots");      // after the append; -1: refused
        QTest::addColumn<int>("skipped");
        const QByteArray h = QByteArray::fromStdString(header());
        const QByteArray r = QByteArray::fromStdString(kRow);
        QTest::newRow("no file yet") << QByteArray() << 1 << 0;
        QTest::newRow("an empty file") << QByteArray("") << 1 << 0;
        QTest::newRow("a history") << h + r << 2 << 0;
        QTest::newRow("a byte-order mark and a re-quoted header")
            << "\xEF\xBB\xBF" + QByteArray::fromStdString(header("\"")) + r << 2 << 0;
        QTest::newRow("a row torn inside its last price") << h + r + r.left(r.size() - 3) << 2 << 1;
        QTest::newRow("a row torn between CR and LF") << h + r + r.chopped(1) << 2 << 1;
        QTest::newRow("a row torn inside a quoted source")
            << h + r + "2026-12-07T02:30:15Z,13,Trellor,\"v" << 2 << 1;
        QTest::newRow("a header a crash cut short") << h.left(40) << 1 << 0;
        QTest::newRow("someone else's spreadsheet")
            << QByteArray("name,price\r\napples,3\r\n") << -1 << 0;
        QTest::newRow("someone else's text") << QByteArray("time_utc is not a header") << -1 << 0;
    }
    void appendKeepsWhatIsThere() {
        QFETCH(QByteArray, before);
        QFETCH(int, snapshots);
        QFETCH(int, skipped);
        QTemporaryDir folder;
        const fs::path path = fs::path(folder.path().toStdString()) / "price-history.csv";
        if (!before.isNull())
            writeAll(path, before.toStdString());
        const auto problem = appendPriceSnapshot(path, snapshot(7, "shared: Bo, \"F\""));
        QCOMPARE(bool(problem), snapshots < 0);
        const std::string after = bytesOf(path);
        QVERIFY(after.starts_with(before.toStdString()));
        const PriceHistory history = readPriceHistoryText(after);
        QCOMPARE(problem ? -1 : int(history.snapshots.size()), snapshots);
        if (problem) {
            QCOMPARE(after, before.toStdString());
            return;
        }
        QCOMPARE(history.skippedRows, skipped);
        QVERIFY(!history.tornLastRow);
        QCOMPARE(history.snapshots.back().source, std::string("shared: Bo, \"F\""));
    }

    // A failed append says so and leaves the file as it was, even when the disk fills half-way
    // through the row; once there is room again the next append gets in whole.
    void failedAppendLeavesTheFileWhole_data() {
        QTest::addColumn<QString>("target");  // the history, or another path to write to
        QTest::addColumn<qint64>("room");     // bytes the disk takes; -1: as many as needed
        QTest::addColumn<PriceSnapshot>("added");
        PriceSnapshot noNumber = snapshot();
        noNumber.prices[88] = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("disk full half-way through the row") << "history" << 40LL << snapshot();
        QTest::newRow("disk full before the row") << "history" << 0LL << snapshot();
        QTest::newRow("a device that is always full") << "/dev/full" << -1LL << snapshot();
        QTest::newRow("a folder in the way") << "folder" << -1LL << snapshot();
        QTest::newRow("a price that is no number") << "history" << -1LL << noNumber;
        QTest::newRow("no such post") << "history" << -1LL << snapshot(20);
    }
    void failedAppendLeavesTheFileWhole() {
        QFETCH(QString, target);
        QFETCH(qint64, room);
        QFETCH(PriceSnapshot, added);
        QTemporaryDir folder;
        const fs::path root = folder.path().toStdString();
        const fs::path history = root / "price-history.csv";
        const std::string before = header() + kRow;
        writeAll(history, before);
        fs::create_directory(root / "folder");
        const fs::path path = target == "history" ? history : root / target.toStdString();
        if (target.startsWith('/') && !fs::exists(path))
            QSKIP("no such device here");
#ifndef _WIN32
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = before.size() + static_cast<rlim_t>(room);
        QVERIFY(room < 0 || setrlimit(RLIMIT_FSIZE, &small) == 0);
        const auto problem = appendPriceSnapshot(path, added);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);
#else
        if (room >= 0)
            QSKIP("no file size limit to stand in for a full disk here");
        const auto problem = appendPriceSnapshot(path, added);
#endif
        QVERIFY(problem && !problem->empty());
        QCOMPARE(bytesOf(history), before);
        QVERIFY(!appendPriceSnapshot(history, snapshot()));
        const PriceHistory read = readPriceHistoryFile(history);
        QCOMPARE(read.snapshots.size(), std::size_t{2});
        QCOMPARE(read.skippedRows, 0);
    }

    // The reader keeps what it reads within bounds, whoever wrote the file.
    void hugeFilesAreRefused() {
        QTemporaryDir folder;
        const fs::path path = fs::path(folder.path().toStdString()) / "price-history.csv";
        writeAll(path, header());
        fs::resize_file(path, kHistorySizeLimit + 1);  // sparse: costs no disk
        const PriceHistory tooLarge = readPriceHistoryFile(path);
        QVERIFY(tooLarge.problem && tooLarge.snapshots.empty());

        const std::string shortest = row("2026-12-07T02:30:15Z,1,Caldmoor,", "1");
        const std::string full = header() + repeated(shortest, kHistorySnapshotLimit);
        QCOMPARE(readPriceHistoryText(full).snapshots.size(), kHistorySnapshotLimit);
        const PriceHistory tooMany = readPriceHistoryText(full + shortest);
        QVERIFY(tooMany.problem && tooMany.snapshots.empty());
    }
};

QTEST_APPLESS_MAIN(PriceHistoryTest)
#include "test_price_history.moc"
