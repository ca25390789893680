// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Ledgerly's benchmarks. Prints one table: each figure is the median of repeated runs, and
// where a baseline makes sense it is measured in the same run and given as a ratio.
//   ledgerly_bench            full run
//   ledgerly_bench --quick    a few repetitions, only to prove that every benchmark works
//   ledgerly_bench --only=valuing   one group: startup, computation, windows, valuing or history
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "bench/bench_cases.h"

namespace ledgerly::bench {
namespace {

struct Figure {
    QString what;
    double value;
    QString unit;
    QString aim;
    bool met;
};

std::vector<Figure> figures;
// A quick run takes too few samples on a machine that has just been building to say anything
// about an aim; it only shows that each benchmark runs.
bool judged = true;

void printFigure(const QString& what, double value, const QString& unit, const QString& aim,
                 bool met) {
    figures.push_back({what, value, unit, aim, met});
    std::printf("  %-64s %10.3f %-4s aim %-8s %s\n", qPrintable(what), value, qPrintable(unit),
                qPrintable(aim),
                !judged ? "(quick)"
                : met   ? "ok"
                        : "MISSED");
    std::fflush(stdout);
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Microseconds per call, median over `runs` batches of `batch` calls.
double microsecondsPerCall(int runs, int batch, const std::function<void()>& call) {
    std::vector<double> samples;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < batch; ++i)
            call();
        samples.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0 / batch);
    }
    return median(samples);
}

struct ProcessRun {
    double milliseconds = 0;
    long peakKiB = 0;
};

ProcessRun runProbe(const QString& probe, const QStringList& arguments, const QString& home) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    if (!env.contains(QStringLiteral("DISPLAY"))) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(probe, arguments);
    process.waitForFinished(60000);
    ProcessRun run;
    run.milliseconds = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const QByteArray out = process.readAllStandardOutput();
    const auto at = out.indexOf("peak_rss_kib ");
    if (at >= 0)
        run.peakKiB = out.mid(at + 13).trimmed().split('\n').first().toLong();
    return run;
}

void startupAndMemory(const QString& probe, int runs) {
    QTemporaryDir home;
    runProbe(probe, {}, home.path());  // first start creates the store; later starts read it
    std::vector<double> bare, ledgerly;
    for (int r = 0; r < runs; ++r) {
        bare.push_back(runProbe(probe, {QStringLiteral("--bare")}, home.path()).milliseconds);
        ledgerly.push_back(runProbe(probe, {}, home.path()).milliseconds);
    }
    const double ratio = median(ledgerly) / median(bare);
    printFigure(QStringLiteral("start-up to main window (ms)"), median(ledgerly), "ms", "-", true);
    printFigure(QStringLiteral("start-up, bare Qt window (ms)"), median(bare), "ms", "-", true);
    printFigure(QStringLiteral("start-up ratio vs bare Qt window"), ratio, "x", "<= 1.3",
                ratio <= 1.3);

    const long bareKiB = runProbe(probe, {QStringLiteral("--bare")}, home.path()).peakKiB;
    const long allKiB = runProbe(probe, {QStringLiteral("--open-all")}, home.path()).peakKiB;
    printFigure(QStringLiteral("peak memory, every window open (MiB)"), allKiB / 1024.0, "MiB", "-",
                true);
    printFigure(QStringLiteral("peak memory, bare Qt window (MiB)"), bareKiB / 1024.0, "MiB", "-",
                true);
    const double memoryRatio = bareKiB > 0 ? static_cast<double>(allKiB) / bareKiB : 0;
    printFigure(QStringLiteral("peak memory ratio vs bare Qt window"), memoryRatio, "x", "report",
                true);
}

}  // namespace
}  // namespace ledgerly::bench

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // The offscreen platform warns about every window it cannot size for a desktop; the table
    // is easier to read without that.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (!message.contains(QStringLiteral("propagateSizeHints")) && type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    using namespace ledgerly::bench;
    const bool quick = QCoreApplication::arguments().contains(QStringLiteral("--quick"));
    judged = !quick;
    const int runs = quick ? 3 : 21;
    const QString probe =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("startup_probe"));

    std::printf("Ledgerly benchmarks (%s; medians of %d runs)\n", quick ? "quick" : "full", runs);
    // "--only=GROUP" runs one group: startup, computation, windows, valuing or history.
    QString only;
    for (const QString& argument : QCoreApplication::arguments()) {
        if (argument.startsWith(QStringLiteral("--only=")))
            only = argument.mid(7);
    }
    const auto wanted = [&](const char* group) { return only.isEmpty() || only == group; };
    if (wanted("startup"))
        startupAndMemory(probe, quick ? 3 : 15);
    if (wanted("computation"))
        runComputationBenchmarks(runs, printFigure, microsecondsPerCall);
    if (wanted("windows"))
        runWindowBenchmarks(runs, printFigure);
    if (wanted("valuing"))
        runValuingBenchmarks(quick ? 3 : 11, printFigure);
    if (wanted("history"))
        runHistoryBenchmarks(quick ? 3 : 11, printFigure);

    const auto missed =
        std::count_if(figures.begin(), figures.end(), [](const Figure& f) { return !f.met; });
    if (judged) {
        std::printf("%zu figures, %ld missed their aim\n", figures.size(),
                    static_cast<long>(missed));
    } else {
        std::printf("%zu figures taken in quick mode; run without --quick to judge them\n",
                    figures.size());
    }
    return 0;
}
