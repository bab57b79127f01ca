// Benchmarks of the BIG format.
//
//   bench_big [--benchmark_...]           reading and writing indexes of 100,000 entries
//   bench_big make FOLDER COUNT MIN MAX   COUNT files of MIN to MAX bytes, for the comparison script
//   bench_big write ARCHIVE FOLDER [LIST] an archive of the files of FOLDER, as new items: those
//                                         named in LIST (NUL-separated, as cat gets them) or all
//   bench_big rewrite ARCHIVE TARGET      open ARCHIVE and save all its entries as TARGET
//   bench_big extract ARCHIVE FOLDER      every entry of ARCHIVE into FOLDER
//
// The file modes print the time spent and the peak resident memory (VmHWM) before and after, so
// compare_with_cat.sh can set them against cat writing the same bytes.
#include "bench/support/index_archive.h"
#include "big/big_archive.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>

using namespace marvok;

namespace {

constexpr int kIndexEntries = 100000;

// An archive of kIndexEntries small entries, made once per run.
const QString& indexArchive() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("index.big"));
        bench::writeIndexArchive(file, kIndexEntries);
        return file;
    }();
    return path;
}

void BM_ReadArchiveIndex(benchmark::State& state) {
    ArchiveEntries index;
    ReadArchiveIndex(indexArchive(), index); // into the page cache
    for (auto _ : state) {
        ArchiveEntries read;
        if (ReadArchiveIndex(indexArchive(), read) != IndexReadResult::Read || read.size() != kIndexEntries)
            state.SkipWithError("the index was not read");
        benchmark::DoNotOptimize(read.data());
    }
    state.counters["entries"] = kIndexEntries;
}
BENCHMARK(BM_ReadArchiveIndex)->Unit(benchmark::kMillisecond);

void BM_WriteArchiveKeepingEveryEntry(benchmark::State& state) {
    ArchiveEntries index;
    ReadArchiveIndex(indexArchive(), index);
    SaveList list;
    for (qsizetype k = 0; k < index.size(); ++k)
        list << SaveItem::kept(k);
    QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("saved.big"));
    for (auto _ : state) {
        if (!WriteArchive(target, list, index, indexArchive(), nullptr))
            state.SkipWithError("the archive was not written");
    }
    state.counters["entries"] = kIndexEntries;
}
BENCHMARK(BM_WriteArchiveKeepingEveryEntry)->Unit(benchmark::kMillisecond);

qint64 peakResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

int fail(const QString& what, const ArchiveFailure& failure = {}) {
    std::fprintf(stderr, "bench_big: %s %s\n", qPrintable(what), qPrintable(failure.details.description));
    return 1;
}

int report(const char* mode, const QElapsedTimer& timer, qint64 peakBefore, qsizetype entries) {
    std::printf("%s entries=%lld ms=%lld vmhwm_before_kb=%lld vmhwm_after_kb=%lld\n", mode, qint64(entries),
                timer.elapsed(), peakBefore, peakResidentKiB());
    return 0;
}

int makeFiles(const QString& folder, int count, qint64 least, qint64 most) {
    QDir().mkpath(folder);
    QRandomGenerator random(2024);
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < block.size(); i += 4) {
        const quint32 value = random.generate();
        std::memcpy(block.data() + i, &value, 4);
    }
    const int width = QString::number(count).size();
    for (int k = 0; k < count; ++k) {
        QFile file(folder + QStringLiteral("/f%1.bin").arg(k, width, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            return fail(file.fileName());
        qint64 left = least + qint64(random.bounded(quint64(most - least + 1)));
        while (left > 0) {
            const qint64 part = std::min<qint64>(left, block.size() - k % 4096);
            if (file.write(block.constData() + k % 4096, part) != part)
                return fail(file.fileName());
            left -= part;
        }
    }
    return 0;
}

QStringList namesIn(const QString& folder, const QString& listFile) {
    if (listFile.isEmpty())
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    QFile list(listFile);
    if (!list.open(QIODevice::ReadOnly))
        return {};
    QStringList names;
    for (const QByteArray& name : list.readAll().split('\0')) {
        if (!name.isEmpty())
            names << QFile::decodeName(name);
    }
    return names;
}

int writeFolder(const QString& archive, const QString& folder, const QString& listFile) {
    const qint64 peakBefore = peakResidentKiB();
    QElapsedTimer timer;
    timer.start();
    SaveList list;
    for (const QString& name : namesIn(folder, listFile))
        list << SaveItem::fromFile(folder + u'/' + name, u"Data\\" + name);
    ArchiveFailure failure;
    if (!WriteArchive(archive, list, {}, {}, nullptr, &failure))
        return fail(archive, failure);
    return report("write", timer, peakBefore, list.size());
}

int rewrite(const QString& archive, const QString& target) {
    QElapsedTimer timer;
    timer.start();
    ArchiveEntries index;
    ArchiveFailure failure;
    if (ReadArchiveIndex(archive, index, &failure) != IndexReadResult::Read)
        return fail(archive, failure);
    const qint64 peakBefore = peakResidentKiB();
    SaveList list;
    for (qsizetype k = 0; k < index.size(); ++k)
        list << SaveItem::kept(k);
    if (!WriteArchive(target, list, index, archive, nullptr, &failure))
        return fail(target, failure);
    return report("rewrite", timer, peakBefore, index.size());
}

int extractAll(const QString& archive, const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    ArchiveEntries index;
    ArchiveFailure failure;
    if (ReadArchiveIndex(archive, index, &failure) != IndexReadResult::Read)
        return fail(archive, failure);
    const qint64 peakBefore = peakResidentKiB();
    QDir().mkpath(folder);
    for (qsizetype k = 0; k < index.size(); ++k) {
        const QString target = extractionTargetPath(folder, index[k].Name);
        if (!target.isEmpty() && !ExtractEntry(index, k, archive, target, nullptr, &failure))
            return fail(target, failure);
    }
    return report("extract", timer, peakBefore, index.size());
}

} // namespace

int main(int argc, char** argv) {
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto arg = [&](int i) { return QString::fromLocal8Bit(argv[i]); };
    if (mode == u"make" && argc == 6)
        return makeFiles(arg(2), arg(3).toInt(), arg(4).toLongLong(), arg(5).toLongLong());
    if (mode == u"write" && (argc == 4 || argc == 5))
        return writeFolder(arg(2), arg(3), argc == 5 ? arg(4) : QString());
    if (mode == u"rewrite" && argc == 4)
        return rewrite(arg(2), arg(3));
    if (mode == u"extract" && argc == 4)
        return extractAll(arg(2), arg(3));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
