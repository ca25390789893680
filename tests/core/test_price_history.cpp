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

#include "core/price_history.h"
#include "support/test_data.h"

using namespace ledgerly;
using namespace ledgerly::testing;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(PriceSnapshot)

namespace {

constexpr auto at = [](qint64 seconds) { return UtcSeconds{std::chrono::seconds{seconds}}; };

std::string repeated(const std::string& text, std::size_t times) {
    std::string out;
    while (times-- > 0)
        out += text;
    return out;
}

// The header as a spreadsheet shows it, the commodities named from the catalogue.
std::string header() {
    std::string line = "time_utc,post,town,source";
    for (int c = 1; c <= kCommodityCount; ++c)
        line += "," + std::string(commodityName(c));
    return line + "\r\n";
}

// A data row: `fixed` (time, post, town, source), then `count` prices.
std::string row(const std::string& fixed, const std::string& price = "7",
                std::size_t count = kCommodityCount) {
    return fixed + repeated("," + price, count) + "\r\n";
}

const std::string kFixed = "2026-09-29T19:59:59Z,13,Trellor,valued";
const std::string kRow = row(kFixed);

PriceSnapshot snapshot(int tp = 5, const std::string& source = "valued") {
    PriceSnapshot s;
    s.time = at(1796610615);  // 2026-12-07T02:30:15Z
    s.tp = tp;
    s.source = source;
    s.prices.fill(1.0F);
    return s;
}

}  // namespace

class PriceHistoryTest : public QObject {
    Q_OBJECT
private slots:
    // Written to a new file beside the store and read back: the header, then the row exactly as
    // a spreadsheet reads it, the source quoted where it has to be.
    void writtenRowsReadBack_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("field");  // as the file holds it
        const QByteArray limit(200, 'x');
        const QByteArray nearly(198, 'x');
        QTest::newRow("a valuing run") << QByteArray("valued") << QByteArray("valued");
        QTest::newRow("comma and quotes are quoted")
            << QByteArray("shared: Bo, the \"Fox\"")
            << QByteArray("\"shared: Bo, the \"\"Fox\"\"\"");
        QTest::newRow("blanks at the ends are quoted")
            << QByteArray(" imported: a.csv ") << QByteArray("\" imported: a.csv \"");
        QTest::newRow("a blank at one end is quoted")
            << QByteArray("imported: a.csv ") << QByteArray("\"imported: a.csv \"");
        QTest::newRow("a line break becomes blanks")
            << QByteArray("shared:\r\nBo") << QByteArray("shared:  Bo");
        QTest::newRow("cut at 200 bytes") << limit + "yz" << limit;
        QTest::newRow("never half a character") << nearly + "\xE2\x82\xAC" << nearly;  // €
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
        for (std::size_t c = 1; c <= kCommodityCount; ++c)
            QCOMPARE(double(history.snapshots[0].prices[c]), double(written.prices[c]));
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
        add("too large for single precision", row(kFixed, "1e39"));
        add("29 February of a common year", row("2026-02-29T00:00:00Z,13,Trellor,valued"));
        add("a blank for a digit of the time", row("2026-12-07T02:30:1 Z,13,Trellor,valued"));
        add("an empty price", row(kFixed + ",", "7", 87));
        add("post 20", row("2026-12-07T02:30:15Z,20,Trellor,valued"));
        add("an unclosed quote", row(fixed + "\"valued"));
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
        add("a source of 200 bytes, ten of them quotes",
            h + row("2026-12-07T02:30:15Z,13,Trellor,\"" + repeated("x", 190) +
                    repeated("\"\"", 10) + "\""),
            1, 0);
        add("torn last row", h + kRow + kRow.substr(0, 100), 1, 1, true, "line 3");
        add("last row without its line end", h + kRow + kRow.substr(0, kRow.size() - 2), 1, 1, true,
            "line 3");
        add("a post number out of range", h + row("2026-12-07T02:30:15Z,20,Trellor,valued"), 0, 1,
            false, "'20' is not a post number");
        add("another post's town", h + row("2026-12-07T02:30:15Z,13,Gdangus,valued"), 0, 1, false,
            "'Gdangus' is not post 13");
        add("an empty file", "", 0, 0);
        add("part of the header", h.substr(0, 30), 0, 1, true, "line 1");
        add("the header without its line end", h.substr(0, h.size() - 2), 0, 0);
        add("someone else's spreadsheet", "name,price\r\napples,3\r\n", 0, -1, false, "'name'");
        add("commodities sorted by name",
            header().replace(h.find("Iron,Illutian"), 13, "Illutian,Iron") + kRow, 0, -1, false,
            "column 45");
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

    // An append that fails, even half-way through the row on a full disk, leaves the file as it
    // was; one that succeeds reads back whole, even after a crash cut the last row short.
    void appendKeepsWhatIsThere_data() {
        QTest::addColumn<QByteArray>("before");  // null: no file yet
        QTest::addColumn<qint64>("room");        // bytes the disk takes beyond it; -1: enough
        QTest::addColumn<PriceSnapshot>("added");
        QTest::addColumn<int>("snapshots");  // after the append; -1: refused
        QTest::addColumn<int>("skipped");
        const QByteArray h = QByteArray::fromStdString(header());
        const QByteArray r = QByteArray::fromStdString(kRow);
        const PriceSnapshot shared = snapshot(7, "shared: Bo, \"F\"");
        PriceSnapshot noNumber = shared;
        noNumber.prices[88] = std::numeric_limits<float>::quiet_NaN();
        const auto add = [](const char* name, const QByteArray& before, qint64 room,
                            const PriceSnapshot& added, int snapshots, int skipped = 0) {
            QTest::newRow(name) << before << room << added << snapshots << skipped;
        };
        add("no file yet", QByteArray(), -1, shared, 1);
        add("a history", h + r, -1, shared, 2);
        add("a row torn inside its last price", h + r + r.left(r.size() - 3), -1, shared, 2, 1);
        add("a row torn inside a quoted source", h + r + "2026-12-07T02:30:15Z,13,Trellor,\"v", -1,
            shared, 2, 1);
        add("a header a crash cut short", h.left(40), -1, shared, 1);
        add("someone else's spreadsheet", "name,price\r\napples,3\r\n", -1, shared, -1);
        add("disk full half-way through the row", h + r, 40, shared, -1);
        add("a price that is no number", h + r, -1, noNumber, -1);
        add("no such post", h + r, -1, snapshot(20), -1);
    }
    void appendKeepsWhatIsThere() {
        QFETCH(QByteArray, before);
        QFETCH(qint64, room);
        QFETCH(PriceSnapshot, added);
        QFETCH(int, snapshots);
        QFETCH(int, skipped);
        QTemporaryDir folder;
        const fs::path path = fs::path(folder.path().toStdString()) / "price-history.csv";
        if (!before.isNull())
            writeAll(path, before.toStdString());
#ifndef _WIN32
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = static_cast<rlim_t>(before.size() + room);
        QVERIFY(room < 0 || setrlimit(RLIMIT_FSIZE, &small) == 0);
        const auto problem = appendPriceSnapshot(path, added);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);
#else
        if (room >= 0)
            QSKIP("no file size limit to stand in for a full disk here");
        const auto problem = appendPriceSnapshot(path, added);
#endif
        QCOMPARE(bool(problem), snapshots < 0);
        const std::string after = bytesOf(path);
        if (problem) {
            QVERIFY(!problem->empty());
            QCOMPARE(after, before.toStdString());
            return;
        }
        QVERIFY(after.starts_with(before.toStdString()));
        const PriceHistory history = readPriceHistoryText(after);
        QCOMPARE(int(history.snapshots.size()), snapshots);
        QCOMPARE(history.skippedRows, skipped);
        QVERIFY(!history.tornLastRow);
        QCOMPARE(history.snapshots.back().source, added.source);
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
