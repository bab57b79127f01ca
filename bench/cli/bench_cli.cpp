// Benchmarks of marvok-cli, run as a process as a script runs it.
//
//   bench_cli [--benchmark_...]   `big list` of an archive of 100,000 entries, its output read whole
//
// Packing and extraction are timed against tar by compare_with_tar.sh beside this file.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int kEntries = 100000;

// A name of about 40 characters, as in the games' own archives.
QByteArray entryName(int k) {
    return "Data\\INI\\Object\\Infantry\\Soldier" + QByteArray::number(100000 + k) + ".ini";
}

void appendBigEndian(QByteArray& out, quint32 value) {
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

// An archive of kEntries small entries, made once per run.
const QString& listedArchive() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("index.big"));
        quint32 firstData = 24;
        for (int k = 0; k < kEntries; ++k)
            firstData += quint32(entryName(k).size()) + 9;
        QByteArray index;
        QByteArray data;
        for (int k = 0; k < kEntries; ++k) {
            const QByteArray content = QByteArray::number(k);
            appendBigEndian(index, firstData + quint32(data.size()));
            appendBigEndian(index, quint32(content.size()));
            index += entryName(k) + '\0';
            data += content;
        }
        QByteArray head("BIGF    ");
        appendBigEndian(head, kEntries);
        appendBigEndian(head, firstData - 1);
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(head + index + QByteArray("L225\0\0\0\0", 8) + data) < 0)
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
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
