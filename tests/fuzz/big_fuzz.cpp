#include "big/big_archive.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace marvok::fuzz {
namespace {

// Enough entries to reach every kind of record; extracting thousands would only slow the fuzzer.
constexpr qsizetype MaxEntriesExtracted = 64;

bool liesInside(const ArchiveEntry& entry, qsizetype fileLength) {
    return quint64(entry.Offset) + entry.Size <= quint64(fileLength);
}

} // namespace

void bigArchive(QByteArrayView input) {
    const QString folder = freshScratchFolder();
    const QString archive = folder + u"/input.big";
    writeInput(archive, input);

    ArchiveEntries index{{QStringLiteral("kept"), 1, 2}};
    const ArchiveEntries before = index;
    ArchiveFailure failure;
    const IndexReadResult read = ReadArchiveIndex(archive, index, &failure);
    if (read != IndexReadResult::Read) {
        require(index == before, "a refused index leaves the old index as it was");
        require(read == IndexReadResult::NotAnArchive || !failure.details.description.isEmpty(),
                "a failed read says why");
        return;
    }
    // Every record takes at least 8 bytes after the 16 of the header.
    require(index.size() <= std::max<qsizetype>(0, input.size() - 16) / 8, "no more entries than records");

    const QString out = folder + u"/out";
    QDir().mkpath(out);
    const qsizetype extracted = std::min(index.size(), MaxEntriesExtracted);
    for (qsizetype k = 0; k < extracted; ++k) {
        const ArchiveEntry& entry = index[k];
        const QString target = extractionTargetPath(out, entry.Name);
        if (target.isEmpty())
            continue;
        require(QFileInfo(target).absolutePath() == QFileInfo(out).absoluteFilePath(),
                "an entry is extracted directly into the target folder");
        failure = {};
        const bool done = ExtractEntry(index, k, archive, target, nullptr, &failure);
        if (!liesInside(entry, input.size())) {
            require(!done && failure.details.number == ArchiveFailureNumber::PastEndOfFile,
                    "an entry outside the file is refused");
            continue;
        }
        // A name the file system refuses (too long) is the one other way to fail.
        require(done || failure.details.number == ArchiveFailureNumber::FileAccess,
                "an entry inside the file is extracted");
        if (done)
            require(fileBytes(target) == input.sliced(entry.Offset, entry.Size),
                    "the extracted file holds the entry's bytes");
    }
    for (const QString& path : treeBelow(folder))
        require(path == u"input.big" || path == u"out" || (path.startsWith(u"out/") && path.count(u'/') == 1),
                "extraction writes nothing but files in the target folder");

    // Saving the archive again, as the BIG page does, gives the same entries.
    if (index.size() > MaxEntriesExtracted ||
        !std::all_of(index.begin(), index.end(),
                     [&](const ArchiveEntry& e) { return liesInside(e, input.size()); }))
        return;
    SaveList list;
    for (qsizetype k = 0; k < index.size(); ++k)
        list.append(SaveItem::kept(k));
    const QString rewritten = folder + u"/rewritten.big";
    failure = {};
    require(WriteArchive(rewritten, list, index, archive, nullptr, &failure),
            "a read archive can be saved again");
    ArchiveEntries reread;
    require(ReadArchiveIndex(rewritten, reread) == IndexReadResult::Read && reread.size() == index.size(),
            "the saved archive reads back");
    for (qsizetype k = 0; k < index.size(); ++k) {
        require(reread[k].Name == index[k].Name && reread[k].Size == index[k].Size,
                "the saved archive keeps names and sizes");
    }
    const QByteArray saved = fileBytes(rewritten);
    for (qsizetype k = 0; k < index.size(); ++k) {
        require(QByteArrayView(saved).sliced(reread[k].Offset, reread[k].Size) ==
                    input.sliced(index[k].Offset, index[k].Size),
                "the saved archive keeps every entry's data");
    }
}

} // namespace marvok::fuzz
