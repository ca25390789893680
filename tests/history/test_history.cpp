// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAbstractItemModel>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QTableView>
#include <QTest>
#include <fstream>

#include "core/price_history.h"
#include "rules/history/price_series.h"
#include "rules/history/run_comparison.h"
#include "rules/history/run_record.h"
#include "support/test_platform.h"
#include "windows/history/price_history_window.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

constexpr int kChosen = 88;  // the commodity looked at, the last; the others hold decoys

constexpr auto at = [](qint64 seconds) { return UtcSeconds{std::chrono::seconds{seconds}}; };

PriceSnapshot snapshot(int tp, qint64 seconds, float price) {
    PriceSnapshot s;
    s.time = at(seconds);
    s.tp = tp;
    s.prices.fill(999.0F);
    s.prices[kChosen] = price;
    return s;
}

}  // namespace

class HistoryTest : public QObject {
    Q_OBJECT
private slots:
    // Snapshots as the file lists them -> the table's rows, newest first, as post@time and
    // the change from the same post's previous snapshot.
    void seriesAndRows_data() {
        QTest::addColumn<QList<int>>("posts");
        QTest::addColumn<QList<int>>("times");
        QTest::addColumn<QList<float>>("prices");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("imports out of time order; equal times in post order")
            << QList{13, 5, 5, 5} << QList{100, 300, 100, 200} << QList<float>{7, 20, 10, 15}
            << QStringList{"5@300 +5", "5@200 +5", "5@100 ", "13@100 "};
        QTest::newRow("a fall and no change; one time keeps file order")
            << QList{2, 2, 2, 3, 3} << QList{1, 2, 3, 5, 5} << QList<float>{10, 4.5, 4.5, 1, 2}
            << QStringList{"3@5 ", "3@5 +1", "2@3 0", "2@2 -5.5", "2@1 "};
    }
    void seriesAndRows() {
        QFETCH(QList<int>, posts);
        QFETCH(QList<int>, times);
        QFETCH(QList<float>, prices);
        QFETCH(QStringList, rows);
        PriceHistory history;
        for (qsizetype i = 0; i < posts.size(); ++i)
            history.snapshots.push_back(snapshot(posts[i], times[i], prices[i]));
        QStringList shown;
        for (const SnapshotRow& row : snapshotRows(commoditySeries(history, kChosen))) {
            shown.append(QStringLiteral("%1@%2 %3")
                             .arg(row.tp)
                             .arg(row.time.time_since_epoch().count())
                             .arg(QString::fromStdString(changeText(row.change))));
        }
        QCOMPARE(shown, rows);
    }

    // The pointer resting on a post's line names the nearest snapshot, the later of two equally
    // near; the axes hold every point of every post with some room around them.
    void pointerAndAxes_data() {
        QTest::addColumn<qint64>("pointer");
        QTest::addColumn<qint64>("nearest");
        QTest::newRow("before the first") << 50LL << 100LL;
        QTest::newRow("nearer the earlier") << 149LL << 100LL;
        QTest::newRow("halfway, the later") << 150LL << 200LL;
        QTest::newRow("after the last") << 900LL << 400LL;
    }
    void pointerAndAxes() {
        QFETCH(qint64, pointer);
        QFETCH(qint64, nearest);
        const PostSeries post{5, {{at(100), 10}, {at(200), 20}, {at(400), 30}}};
        QCOMPARE(nearestPoint(post, at(pointer)).time, at(nearest));

        const auto both = chartRange({post, {7, {{at(250), 50}}}});
        QVERIFY(both && both->first == at(100) && both->last == at(400));
        QCOMPARE((std::pair{both->lowest, both->highest}), (std::pair{8.0, 52.0}));
        const auto one = chartRange({{7, {{at(pointer), 0.5F}}}});
        QVERIFY(one && one->first == at(pointer - 3600) && one->last == at(pointer + 3600));
        QCOMPARE((std::pair{one->lowest, one->highest}), (std::pair{0.0, 1.5}));
        QVERIFY(!chartRange({}));
    }

    // The line that ends a run: every price against the post's previous snapshot.
    void runComparison_data() {
        QTest::addColumn<QList<int>>("changed");  // commodities whose price moved ...
        QTest::addColumn<QList<float>>("by");     // ... by this much
        QTest::addColumn<qint64>("elapsed");      // seconds since the previous snapshot
        QTest::addColumn<QStringList>("parts");   // what the line says
        QTest::addColumn<QString>("absent");      // what it must not say
        QTest::newRow("ties name the first commodity")
            << QList{2, 12, 73, 40} << QList<float>{120, 120, -300, -5} << 26 * 3600LL
            << QStringList{"26 hours ago", "2 rose, 2 fell, 84 stayed", "rise Ale +120",
                           "fall Silk -300"}
            << "Beer";
        QTest::newRow("only a rise, days ago")
            << QList{88} << QList<float>{0.5F} << 3 * 86400LL + 7200
            << QStringList{"3 days ago", "1 rose, 0 fell, 87 stayed", "rise Wands +0.5"} << "fall";
        QTest::newRow("an hour is an hour")
            << QList{1} << QList<float>{-1} << 3600LL << QStringList{"1 hour ago"} << "minute";
        QTest::newRow("two days are days")
            << QList{1} << QList<float>{-1} << 48 * 3600LL << QStringList{"2 days ago"} << "hours";
        QTest::newRow("a minute ago, only a fall")
            << QList{1} << QList<float>{-1} << 60LL
            << QStringList{"1 minute ago", "0 rose, 1 fell", "Adamantite -1"} << "rise";
    }
    void runComparison() {
        QFETCH(QList<int>, changed);
        QFETCH(QList<float>, by);
        QFETCH(qint64, elapsed);
        QFETCH(QStringList, parts);
        QFETCH(QString, absent);
        PriceSnapshot previous = snapshot(4, 1000, 100);
        previous.prices.fill(100.0F);
        PriceSnapshot run = previous;
        run.time = at(1000 + elapsed);
        for (qsizetype i = 0; i < changed.size(); ++i)
            run.prices[static_cast<std::size_t>(changed[i])] += by[i];
        // The previous snapshot is the post's latest before the run, wherever the file lists
        // it; of two at the same time the later in the file. The others here hold 999.
        PriceHistory history;
        history.snapshots = {snapshot(4, 1000, 1), snapshot(4, 0, 1), previous,
                             snapshot(6, 1000 + elapsed - 1, 1), snapshot(4, 1000 + elapsed, 1)};
        QVERIFY(!previousSnapshot(history, 7, run.time));
        const QString line = QString::fromStdString(
            runComparisonLine(previousSnapshot(history, 4, run.time).value_or(run), run));
        for (const QString& part : parts)
            QVERIFY2(line.contains(part), qPrintable(line));
        QVERIFY2(!line.contains(absent), qPrintable(line));
    }

    // Each completed run adds its row; the second is compared with the first, never with
    // itself; a file that is not a history is left as it is and the run is said not kept.
    void runsAreRecorded() {
        QTemporaryDir dir;
        const std::filesystem::path path = dir.filePath("h.csv").toStdString();
        TradeData data;
        data.setDefaults();
        data.setValue(4, 2, 150.0F);
        RunRecord first = recordValuingRun(data, 4, at(3600), path);
        QVERIFY(!first.failure && !first.comparison);
        data.setValue(4, 2, 120.0F);
        const RunRecord second = recordValuingRun(data, 4, at(7200), path);
        QVERIFY(!second.failure && second.comparison);
        QVERIFY2(second.comparison->find("1 fell") != std::string::npos,
                 second.comparison->c_str());
        const PriceHistory kept = readPriceHistoryFile(path);
        QCOMPARE(kept.snapshots.size(), 2U);
        QCOMPARE(kept.snapshots[1].prices[2], 120.0F);
        QCOMPARE(kept.snapshots[1].source, std::string("valued"));

        std::ofstream(path, std::ios::trunc) << "name,score\r\n";
        first = recordValuingRun(data, 4, at(9000), path);
        QVERIFY(first.failure && !first.comparison);
        QCOMPARE(fileBytes(QString::fromStdString(path.string())), "name,score\r\n");
    }

    // The window draws one line per post and lists the snapshots, newest first with its
    // change; a damaged row is skipped and counted.
    void windowShowsTheHistory() {
        TestContext test;
        std::ofstream file(priceHistoryPath(test.storePath().toStdString()), std::ios::binary);
        file << priceHistoryHeader();
        for (const PriceSnapshot& s : {snapshot(13, 1796610615, 1500), snapshot(5, 1796614215, 80),
                                       snapshot(13, 1796617815, 1234.5F)}) {
            file << priceHistoryRow(s);
        }
        file << "2026-12-07T02:30:15Z,13,Trellor,valued,1\r\n" << std::flush;
        PriceHistoryWindow window(test.context);
        const QChart* chart = window.findChild<QChartView*>()->chart();
        QVERIFY(chart->series().isEmpty());  // until a commodity is chosen
        window.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(kChosen - 1);

        QStringList towns;
        for (const QAbstractSeries* series : chart->series())
            towns.append(series->name());
        QCOMPARE(towns, (QStringList{"Mystara", "Trellor"}));
        const QAbstractItemModel* rows = window.findChild<QTableView*>()->model();
        QCOMPARE(rows->rowCount(), 3);
        QStringList newest;
        for (int column = 1; column < rows->columnCount(); ++column)
            newest.append(rows->index(0, column).data().toString());
        QCOMPARE(newest, (QStringList{"Trellor", "1234.5", "-265.5"}));
        const QString said = window.findChild<QLabel*>(QStringLiteral("Label2"))->text();
        QVERIFY2(said.contains(QStringLiteral("line 5")), qPrintable(said));
    }
};

QTEST_MAIN(HistoryTest)
#include "test_history.moc"
