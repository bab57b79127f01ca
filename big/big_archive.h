#pragma once
// BIG archives, the games' resource containers.
//
//   0  "BIGF" (the games write "BIG4" too; only "BIG" is tested)
//   4  archive length, little-endian (not read)
//   8  entry count N, big-endian
//  12  first data offset - 1, big-endian (not read)
//  16  N records: data offset (4, big-endian), data size (4, big-endian), name bytes, a zero byte
//      then "L225" and four zero bytes (not read), then the entries' data back to back.
//
// Offsets and sizes are unsigned 32-bit, so an archive holds at most 4 GiB. Names are Windows-1252,
// with "\" (or "/" in some community tools) between folders. Reading loads the index only; data is
// copied file to file (by the kernel where it can, else in fixed-size chunks), so memory stays flat
// whatever the size of an entry.
#include "big/archive_progress.h"
#include "core/messages.h"

#include <QList>
#include <QString>
#include <QtGlobal>

namespace marvok {

struct ArchiveEntry {
    QString Name; // as stored, separators included
    quint32 Offset = 0;
    quint32 Size = 0;

    bool operator==(const ArchiveEntry&) const = default;
};

// The entries of an archive in file order; an entry's position is its number.
using ArchiveEntries = QList<ArchiveEntry>;

// The open archive, shared by the BIG page and the preview: its index and the file it was read from.
ArchiveEntries& ArchiveIndex();
QString& CurrentArchivePath();

enum class SaveItemKind { Kept, New };

// One entry of an archive to be written: kept from the open archive, or a new file from disk.
struct SaveItem {
    SaveItemKind Kind = SaveItemKind::New;
    qsizetype EntryNumber = -1; // kept: the entry in the index
    QString SourcePath;         // new: the file on disk
    QString Name;               // new: its name in the archive

    static SaveItem kept(qsizetype entryNumber) { return {SaveItemKind::Kept, entryNumber, {}, {}}; }
    static SaveItem fromFile(const QString& sourcePath, const QString& name) {
        return {SaveItemKind::New, -1, sourcePath, name};
    }
};

using SaveList = QList<SaveItem>;

// Why an operation failed, as the page reports it: message 2 with `details`, or a message of the
// table (Msg::CannotEncodeName, Msg::ArchiveTooLarge) with `value` in its "%1". `details` always
// says what went wrong, also for a caller without message boxes.
struct ArchiveFailure {
    int message = 2;
    QString value;
    FailureDetails details;
};

// The failure numbers in `ArchiveFailure::details`, as the original runtime numbered such errors.
namespace ArchiveFailureNumber {
constexpr qint32 TooLarge = 6;
constexpr qint32 OutOfMemory = 7;
constexpr qint32 BadName = 52;
constexpr qint32 FileNotFound = 53;
constexpr qint32 DeviceIO = 57;      // a read, write or copy that failed
constexpr qint32 PastEndOfFile = 62; // an index or entry data beyond the end of the file
constexpr qint32 BadEntryNumber = 63;
constexpr qint32 FileAccess = 75; // a file that exists but cannot be opened or created
} // namespace ArchiveFailureNumber

enum class IndexReadResult { Read, NotAnArchive, Failed };

// Replaces `index` by the index of the archive at `path`. A file that does not start with "BIG" is
// NotAnArchive; one that cannot be read, whose index runs past the end of the file or claims more
// than 16,777,216 entries, is Failed with `failure` set. In both cases `index` is left as it was.
IndexReadResult ReadArchiveIndex(const QString& path, ArchiveEntries& index,
                                 ArchiveFailure* failure = nullptr);
IndexReadResult ReadArchiveIndex(const QString& path, ArchiveFailure* failure = nullptr);

// The magic an archive is written with: "BIGF", which Generals and Zero Hour require, or "BIG4", which
// The Battle for Middle-earth writes.
enum class ArchiveMagic { BigF, Big4 };

// Writes a new archive at `path` from `list`; kept items come from `index` and their data from
// `keptFrom`, which may be `path` itself. The archive replaces `path` only once every item is
// written; on any failure `path` is unchanged, nothing is left behind and `failure` says why.
bool WriteArchive(const QString& path, const SaveList& list, const ArchiveEntries& index,
                  const QString& keptFrom, ArchiveProgress* progress, ArchiveFailure* failure = nullptr,
                  ArchiveMagic magic = ArchiveMagic::BigF);
// The same with the open archive.
bool WriteArchive(const QString& path, const SaveList& list, ArchiveProgress* progress = nullptr,
                  ArchiveFailure* failure = nullptr);

// Copies the data of entry `entryNumber` of `index` from `archivePath` to `targetPath`, replacing it
// only once complete. With `progress` it shows "Extraction" and leaves the window open for the
// caller to hide. An entry whose data lies outside the archive is refused before anything is written.
bool ExtractEntry(const ArchiveEntries& index, qsizetype entryNumber, const QString& archivePath,
                  const QString& targetPath, ArchiveProgress* progress, ArchiveFailure* failure = nullptr);
// The same with the open archive's index.
bool ExtractEntry(qsizetype entryNumber, const QString& archivePath, const QString& targetPath,
                  ArchiveProgress* progress = nullptr, ArchiveFailure* failure = nullptr);

// The file name an entry is extracted under: the part of its name after the last "\" or "/".
// Empty when that part is empty, "." or "..": such an entry is skipped.
QString extractionFileName(const QString& entryName);

// The path in `folder` that entry `entryName` is extracted to; empty when the entry must be
// skipped. Always directly inside `folder`.
QString extractionTargetPath(const QString& folder, const QString& entryName);

} // namespace marvok
