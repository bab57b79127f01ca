// Benchmarks of marvok-cli, run as a process as a script runs it.
//
//   bench_cli [--benchmark_...]   `big list` of an archive of 100,000 entries, its output read whole
//
// Packing and extraction are timed against tar by compare_with_tar.sh beside this file.
#include "bench/support/index_archive.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int kEntries = 100000;

// An archive of kEntries small entries, made once per run.
const QString& listedArchive() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("index.big"));
        marvok::bench::writeIndexArchive(file, kEntries);
        return file;
    }();
    return path;
}

void BM_BigListOf100000Entries(benchmark::State& state) {
    const QString archive = listedArchive();
    qint64 lines = 0;
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(MARVOK_CLI), {QStringLiteral("big"), QStringLiteral("list"), archive});
        QByteArray out;
        while (process.waitForReadyRead(-1))
            out += process.readAllStandardOutput();
        process.waitForFinished(-1);
        out += process.readAllStandardOutput();
        if (process.exitCode() != 0)
            state.SkipWithError("marvok-cli big list failed");
        lines = out.count('\n');
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_BigListOf100000Entries)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
