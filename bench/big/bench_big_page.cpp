// Benchmarks of the BIG page and its preview, on Qt's offscreen platform.
//
//   bench_big_page [--benchmark_...]
//
// Opening: an archive of 100,000 entries with names of about 40 characters read and shown as a tree
// (in 500 folders, as a game's archives are, and all in one folder). Preview: a click on a
// 1024 x 1024 Targa entry, from the extraction to the thumbnail.
#include "big/big_archive.h"
#include "big/big_demo.h"
#include "big/big_editor_page.h"
#include "big/form6.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace marvok;

namespace {

constexpr int kEntries = 100000;

QTemporaryDir& scratch() {
    static QTemporaryDir folder;
    return folder;
}

QByteArray bigEndian(quint32 v) {
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return QByteArray(b, 4);
}

// An archive of (name, data) pairs in the games' layout.
QString writeArchive(const QString& fileName, const QList<std::pair<QByteArray, QByteArray>>& entries) {
    quint32 firstData = 24;
    for (const auto& [name, data] : entries)
        firstData += quint32(name.size()) + 9;
    QByteArray index;
    QByteArray payload;
    for (const auto& [name, data] : entries) {
        index +=
            bigEndian(firstData + quint32(payload.size())) + bigEndian(quint32(data.size())) + name + '\0';
        payload += data;
    }
    const QString path = scratch().filePath(fileName);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write("BIGF    " + bigEndian(quint32(entries.size())) + bigEndian(firstData - 1) + index +
                  QByteArray("L225\0\0\0\0", 8) + payload) < 0)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return path;
}

const QString& largeArchive(bool oneFolder) {
    static const QString spread = [] {
        QList<std::pair<QByteArray, QByteArray>> entries;
        for (int k = 0; k < kEntries; ++k)
            entries.append({"Data\\INI\\Object\\Set" + QByteArray::number(100 + k / 1000) + "\\Group" +
                                QByteArray::number(k / 200 % 5) + "\\Unit" + QByteArray::number(100000 + k) +
                                ".ini",
                            QByteArray::number(k)});
        return writeArchive(QStringLiteral("spread.big"), entries);
    }();
    static const QString flat = [] {
        QList<std::pair<QByteArray, QByteArray>> entries;
        for (int k = 0; k < kEntries; ++k)
            entries.append(
                {"Data\\INI\\Object\\Infantry\\Soldier" + QByteArray::number(100000 + k) + ".ini", "x"});
        return writeArchive(QStringLiteral("flat.big"), entries);
    }();
    return oneFolder ? flat : spread;
}

void BM_OpenArchiveOnThePage(benchmark::State& state) {
    const QString& path = largeArchive(state.range(0) == 1);
    QWidget panel;
    panel.resize(660, 470);
    BigEditorPage page(&panel);
    panel.show();
    page.openArchive(path); // into the page cache
    for (auto _ : state) {
        page.openArchive(path);
        // The tree as it is painted.
        page.archiveTree()->viewport()->repaint();
    }
    if (page.archiveTree()->topLevelItemCount() != 1)
        state.SkipWithError("the archive was not shown");
    state.counters["entries"] = kEntries;
}
BENCHMARK(BM_OpenArchiveOnThePage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PreviewOfALargeTarga(benchmark::State& state) {
    const QString path = writeArchive(QStringLiteral("picture.big"),
                                      {{"Art\\Textures\\Large.tga", demoTgaPicture(1024, 1024)}});
    if (ReadArchiveIndex(path) != IndexReadResult::Read)
        state.SkipWithError("the archive was not read");
    CurrentArchivePath() = path;
    QWidget main;
    main.resize(660, 470);
    Form6 preview(&main);
    preview.show();
    const PreviewNode node{PreviewNode::Entry, QStringLiteral("Large.tga"), 0, {}};
    for (auto _ : state) {
        preview.ShowPreview(node);
        preview.repaint();
    }
    if (preview.findChild<QWidget*>(QStringLiteral("Image2"))->width() != Form6::ThumbnailBox)
        state.SkipWithError("no thumbnail was shown");
}
BENCHMARK(BM_PreviewOfALargeTarga)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The page reads the user's documents folder from a settings store: an empty one of its own.
    qputenv("MARVOK_REGISTRY", (scratch().path() + QStringLiteral("/registry.reg")).toLocal8Bit());
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
