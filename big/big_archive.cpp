#include "big/big_archive.h"

#include "big/replacing_file.h"
#include "core/paths.h"
#include "core/text_codec.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <unistd.h>
#endif

namespace marvok {
namespace {

namespace FailureNumber = ArchiveFailureNumber;

const QString kReadSource = QStringLiteral("mBIG.ReadArchiveIndex");
const QString kWriteSource = QStringLiteral("mBIG.WriteArchive");
const QString kExtractSource = QStringLiteral("mBIG.ExtractEntry");

constexpr quint64 kMaxArchiveLength = std::numeric_limits<quint32>::max();
constexpr qsizetype kHeaderLength = 16;
constexpr qsizetype kCountEnd = 12;
constexpr qsizetype kRecordFixedLength = 8;
constexpr qsizetype kTrailerLength = 8;
// Far beyond any archive of the games (tens of thousands of entries): bounds the index in memory.
constexpr quint32 kMaxIndexEntries = 1u << 24;
// Index blocks, and data chunks where the kernel cannot copy by itself: the size cat uses.
constexpr qsizetype kChunkLength = 128 * 1024;

class NoProgress : public ArchiveProgress {
public:
    void show(const QString&, const QString&) override {}
    void text(const QString&) override {}
    void change(int) override {}
    void hide() override {}
};

ArchiveProgress& progressOrNone(ArchiveProgress* progress) {
    static NoProgress none;
    return progress ? *progress : none;
}

bool fail(ArchiveFailure* failure, qint32 number, const QString& description, const QString& source) {
    if (failure)
        *failure = {2, {}, {number, description, source}};
    return false;
}

bool failOpening(ArchiveFailure* failure, const QFileDevice& file, const QString& path,
                 const QString& source) {
    if (!QFileInfo::exists(path))
        return fail(failure, FailureNumber::FileNotFound, u"Fichier introuvable : " + path, source);
    return fail(failure, FailureNumber::FileAccess,
                u"Impossible d'ouvrir " + path + u" : " + file.errorString(), source);
}

quint32 readBigEndian(const char* bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | quint32(b[3]);
}

void appendBigEndian(QByteArray& bytes, quint32 value) {
    const char encoded[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    bytes.append(encoded, 4);
}

QByteArray littleEndian(quint32 value) {
    const char encoded[4] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    return QByteArray(encoded, 4);
}

// Reads the index region in large blocks; records and names may straddle two blocks.
class BlockReader {
public:
    explicit BlockReader(QFile& file)
        : m_file(file) {}

    bool failed() const { return m_failed; }

    // The next `count` bytes, or nullptr when the file ends first.
    const char* take(qsizetype count) {
        while (m_end - m_begin < count) {
            if (!readMore())
                return nullptr;
        }
        const char* bytes = m_buffer.constData() + m_begin;
        m_begin += count;
        return bytes;
    }

    // The bytes up to the next zero byte, which is consumed too, or up to the end of the file. The
    // view is valid until the next call.
    QByteArrayView takeName() {
        qsizetype searched = 0;
        for (;;) {
            const char* start = m_buffer.constData() + m_begin;
            const auto* zero =
                static_cast<const char*>(std::memchr(start + searched, 0, m_end - m_begin - searched));
            if (zero) {
                const qsizetype length = zero - start;
                m_begin += length + 1;
                return {start, length};
            }
            searched = m_end - m_begin;
            if (!readMore()) {
                const char* rest = m_buffer.constData() + m_begin;
                m_begin = m_end;
                return {rest, searched};
            }
        }
    }

private:
    bool readMore() {
        if (m_atEnd)
            return false;
        const qsizetype unread = m_end - m_begin;
        if (m_begin > 0) {
            std::memmove(m_buffer.data(), m_buffer.constData() + m_begin, unread);
            m_begin = 0;
            m_end = unread;
        }
        if (m_buffer.size() < m_end + kChunkLength)
            m_buffer.resize(m_end + kChunkLength);
        const qint64 got = m_file.read(m_buffer.data() + m_end, kChunkLength);
        if (got <= 0) {
            m_atEnd = true;
            m_failed = got < 0;
            return false;
        }
        m_end += got;
        return true;
    }

    QFile& m_file;
    QByteArray m_buffer;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
    bool m_atEnd = false;
    bool m_failed = false;
};

enum class CopyResult { Done, EndOfSource, Failed };

#ifdef Q_OS_LINUX
// Lets the kernel copy from page cache to page cache, as cat does, without a pass through our memory.
// Returns false when the files do not allow it (another file system, for one), to copy by hand.
bool copyInKernel(QFile& from, quint64 fromOffset, QFile& to, quint64 toOffset, quint64 length,
                  quint64& copied, CopyResult& result, QString& reason) {
    while (copied < length) {
        auto in = loff_t(fromOffset + copied);
        auto out = loff_t(toOffset + copied);
        const ssize_t done = ::copy_file_range(from.handle(), &in, to.handle(), &out,
                                               std::size_t(std::min<quint64>(length - copied, 1 << 30)), 0);
        if (done > 0) {
            copied += quint64(done);
        } else if (done == 0) {
            result = CopyResult::EndOfSource;
            return true;
        } else if (errno != EINTR) {
            if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
                errno == EBADF || errno == EPERM || errno == ETXTBSY)
                return false;
            result = CopyResult::Failed;
            reason = qt_error_string(errno);
            return true;
        }
    }
    result = CopyResult::Done;
    return true;
}
#endif

// Copies `length` bytes at `fromOffset` of `from` to `toOffset` of `to`; `buffer` serves when the
// kernel cannot copy by itself.
CopyResult copyRange(QFile& from, quint64 fromOffset, QFile& to, quint64 toOffset, quint64 length,
                     QByteArray& buffer, QString& reason) {
    quint64 copied = 0;
#ifdef Q_OS_LINUX
    CopyResult result = CopyResult::Done;
    if (copyInKernel(from, fromOffset, to, toOffset, length, copied, result, reason))
        return result;
#endif
    if (copied == length)
        return CopyResult::Done;
    if (!from.seek(qint64(fromOffset + copied)) || !to.seek(qint64(toOffset + copied))) {
        reason = from.error() != QFileDevice::NoError ? from.errorString() : to.errorString();
        return CopyResult::Failed;
    }
    if (buffer.isEmpty())
        buffer.resize(kChunkLength);
    while (copied < length) {
        const qint64 got = from.read(buffer.data(), qint64(std::min<quint64>(length - copied, kChunkLength)));
        if (got == 0)
            return CopyResult::EndOfSource;
        if (got < 0 || to.write(buffer.constData(), got) != got) {
            reason = got < 0 ? from.errorString() : to.errorString();
            return CopyResult::Failed;
        }
        copied += quint64(got);
    }
    return CopyResult::Done;
}

// An item of the save list with everything the writer needs before it creates the target.
struct PreparedItem {
    const SaveItem* item = nullptr;
    QByteArray name;
    quint32 size = 0;
    quint32 keptOffset = 0;
};

class ArchiveWriter {
public:
    ArchiveWriter(const QString& path, const SaveList& list, const ArchiveEntries& index,
                  const QString& keptFrom, ArchiveMagic magic, ArchiveProgress& progress,
                  ArchiveFailure* failure)
        : m_path(path)
        , m_list(list)
        , m_index(index)
        , m_keptFrom(keptFrom)
        , m_magic(magic)
        , m_progress(progress)
        , m_failure(failure)
        , m_kept(keptFrom) {}

    bool run() { return prepare() && checkKeptData() && write(); }

private:
    bool failWrite(qint32 number, const QString& description) {
        return fail(m_failure, number, description, kWriteSource);
    }

    bool refuseName(const QString& name) {
        if (m_failure) {
            *m_failure = {Msg::CannotEncodeName,
                          name,
                          {FailureNumber::BadName,
                           u"Le nom « " + name + u" » ne peut pas être écrit en Windows-1252", kWriteSource}};
        }
        return false;
    }

    bool refuseLength(quint64 length) {
        if (m_failure) {
            *m_failure = {Msg::ArchiveTooLarge,
                          {},
                          {FailureNumber::TooLarge,
                           u"L'archive ferait " + QString::number(length) +
                               u" octets, plus que les 4 294 967 295 d'un fichier BIG",
                           kWriteSource}};
        }
        return false;
    }

    // Names, sizes and the total length, all known before anything is written.
    bool prepare() {
        m_items.reserve(m_list.size());
        quint64 firstData = kHeaderLength + kTrailerLength;
        quint64 dataLength = 0;
        for (const SaveItem& item : m_list) {
            PreparedItem prepared{&item, {}, 0, 0};
            if (item.Kind == SaveItemKind::Kept) {
                if (item.EntryNumber < 0 || item.EntryNumber >= m_index.size())
                    return failWrite(FailureNumber::BadEntryNumber,
                                     u"L'entrée " + QString::number(item.EntryNumber) +
                                         u" n'existe pas dans l'archive ouverte");
                const ArchiveEntry& entry = m_index[item.EntryNumber];
                const auto name = encodeWindows1252(entry.Name);
                if (!name || name->contains('\0'))
                    return refuseName(entry.Name);
                prepared.name = *name;
                prepared.size = entry.Size;
                prepared.keptOffset = entry.Offset;
                m_hasKept = true;
            } else {
                const auto name = encodeWindows1252(item.Name);
                if (!name || name->contains('\0'))
                    return refuseName(item.Name);
                const QFileInfo source(item.SourcePath);
                if (!source.isFile())
                    return failWrite(FailureNumber::FileNotFound,
                                     u"Fichier introuvable : " + item.SourcePath);
                if (quint64(source.size()) > kMaxArchiveLength)
                    return refuseLength(firstData + dataLength + quint64(source.size()));
                prepared.name = *name;
                prepared.size = quint32(source.size());
            }
            firstData += kRecordFixedLength + quint64(prepared.name.size()) + 1;
            dataLength += prepared.size;
            m_items.push_back(std::move(prepared));
        }
        if (firstData + dataLength > kMaxArchiveLength)
            return refuseLength(firstData + dataLength);
        m_firstData = quint32(firstData);
        m_length = quint32(firstData + dataLength);
        return true;
    }

    bool checkKeptData() {
        if (!m_hasKept)
            return true;
        if (!m_kept.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return failOpening(m_failure, m_kept, m_keptFrom, kWriteSource);
        const quint64 keptLength = quint64(m_kept.size());
        for (const PreparedItem& prepared : m_items) {
            if (prepared.item->Kind == SaveItemKind::Kept &&
                quint64(prepared.keptOffset) + prepared.size > keptLength)
                return failWrite(FailureNumber::PastEndOfFile, u"Les données de l'entrée " +
                                                                   decodeWindows1252(prepared.name) +
                                                                   u" sont hors du fichier " + m_keptFrom);
        }
        return true;
    }

    QByteArray headerAndIndex() const {
        QByteArray bytes;
        bytes.reserve(m_firstData);
        bytes.append(m_magic == ArchiveMagic::Big4 ? "BIG4    " : "BIGF    ", 8);
        appendBigEndian(bytes, quint32(m_items.size()));
        appendBigEndian(bytes, m_firstData - 1);
        quint32 offset = m_firstData;
        for (const PreparedItem& prepared : m_items) {
            appendBigEndian(bytes, offset);
            appendBigEndian(bytes, prepared.size);
            bytes.append(prepared.name);
            bytes.append('\0');
            offset += prepared.size;
        }
        bytes.append("L225\0\0\0\0", kTrailerLength);
        return bytes;
    }

    bool write() {
        ReplacingFile target(m_path);
        if (!target.open())
            return failWrite(FailureNumber::FileAccess,
                             u"Impossible de créer " + m_path + u" : " + target.errorString());
        const QByteArray head = headerAndIndex();
        if (target.file().write(head) != head.size())
            return failTarget(target.file().errorString());
        m_progress.change(20);
        m_progress.text(QStringLiteral("Ecriture des fichiers"));

        QByteArray buffer;
        quint64 written = quint64(head.size());
        const qint64 count = qint64(m_items.size());
        for (qint64 k = 0; k < count;) {
            const qint64 end = keptRunEnd(k);
            if (end > k) {
                const quint64 length =
                    quint64(m_items[end - 1].keptOffset) + m_items[end - 1].size - m_items[k].keptOffset;
                if (!copyFrom(m_kept, m_keptFrom, m_items[k].keptOffset, length, target.file(), written,
                              buffer))
                    return false;
                written += length;
                for (; k < end; ++k) {
                    m_progress.change(50);
                    m_progress.change(int(50 + 10 * (k + 1) / count));
                }
                continue;
            }
            if (!copyNewItem(m_items[k], target.file(), written, buffer))
                return false;
            written += m_items[k].size;
            m_progress.change(int(50 + 10 * (k + 1) / count));
            ++k;
        }
        m_kept.close();

        if (written != m_length || target.file().size() != qint64(m_length))
            return failTarget(QStringLiteral("longueur inattendue"));
        if (!target.file().seek(4) || target.file().write(littleEndian(m_length)) != 4)
            return failTarget(target.file().errorString());
        if (!target.commit())
            return failTarget(target.errorString());
        return true;
    }

    bool failTarget(const QString& reason) {
        return failWrite(FailureNumber::DeviceIO, u"Erreur d'écriture dans " + m_path + u" : " + reason);
    }

    // The end of the run of kept items from `first` whose data follow each other in the open
    // archive, as they do when an archive is saved again: such a run is copied in one go. `first`
    // itself when it is a new item.
    qint64 keptRunEnd(qint64 first) const {
        qint64 end = first;
        while (end < qint64(m_items.size()) && m_items[end].item->Kind == SaveItemKind::Kept &&
               (end == first || quint64(m_items[end].keptOffset) ==
                                    quint64(m_items[end - 1].keptOffset) + m_items[end - 1].size))
            ++end;
        return end;
    }

    bool copyNewItem(const PreparedItem& prepared, QFile& target, quint64 at, QByteArray& buffer) {
        const QString& path = prepared.item->SourcePath;
        QFile source(path);
        if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return failOpening(m_failure, source, path, kWriteSource);
        if (quint64(source.size()) != prepared.size)
            return failWrite(FailureNumber::DeviceIO,
                             u"Le fichier " + path + u" a changé pendant l'écriture");
        return copyFrom(source, path, 0, prepared.size, target, at, buffer);
    }

    bool copyFrom(QFile& source, const QString& sourcePath, quint64 offset, quint64 size, QFile& target,
                  quint64 at, QByteArray& buffer) {
        QString reason;
        switch (copyRange(source, offset, target, at, size, buffer, reason)) {
        case CopyResult::Done:
            return true;
        case CopyResult::EndOfSource:
            return failWrite(FailureNumber::PastEndOfFile, u"Fin inattendue du fichier " + sourcePath);
        case CopyResult::Failed:
            return failWrite(FailureNumber::DeviceIO,
                             u"Erreur de copie de " + sourcePath + u" vers " + m_path + u" : " + reason);
        }
        return false;
    }

    const QString& m_path;
    const SaveList& m_list;
    const ArchiveEntries& m_index;
    const QString& m_keptFrom;
    const ArchiveMagic m_magic;
    ArchiveProgress& m_progress;
    ArchiveFailure* m_failure;
    QFile m_kept;
    std::vector<PreparedItem> m_items;
    bool m_hasKept = false;
    quint32 m_firstData = 0;
    quint32 m_length = 0;
};

} // namespace

ArchiveEntries& ArchiveIndex() {
    static ArchiveEntries index;
    return index;
}

QString& CurrentArchivePath() {
    static QString path;
    return path;
}

IndexReadResult ReadArchiveIndex(const QString& path, ArchiveEntries& index, ArchiveFailure* failure) {
    const auto failed = [&](qint32 number, const QString& description) {
        fail(failure, number, description, kReadSource);
        return IndexReadResult::Failed;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        failOpening(failure, file, path, kReadSource);
        return IndexReadResult::Failed;
    }
    const qint64 fileLength = file.size();
    char header[kHeaderLength];
    const qint64 got = file.read(header, kHeaderLength);
    if (got < 0)
        return failed(FailureNumber::DeviceIO,
                      u"Erreur de lecture dans " + path + u" : " + file.errorString());
    if (got < 3 || std::memcmp(header, "BIG", 3) != 0)
        return IndexReadResult::NotAnArchive;
    if (got < kCountEnd)
        return failed(FailureNumber::PastEndOfFile, u"L'en-tête de " + path + u" est incomplet");

    const quint32 count = readBigEndian(header + 8);
    // Every record takes at least 9 bytes, the last one at least 8 (its name may end with the file),
    // so a count the file cannot hold is refused before anything is allocated.
    const quint64 leastIndexLength =
        count == 0 ? 0 : (quint64(count) - 1) * (kRecordFixedLength + 1) + kRecordFixedLength;
    const quint64 indexRoom = quint64(std::max<qint64>(0, fileLength - kHeaderLength));
    const auto pastEnd = [&](quint64 record) {
        return failed(FailureNumber::PastEndOfFile,
                      u"L'index de " + path + u" annonce " + QString::number(count) +
                          u" entrées mais s'arrête à la fin du fichier avant l'entrée " +
                          QString::number(record));
    };
    if (leastIndexLength > indexRoom)
        return pastEnd(indexRoom / (kRecordFixedLength + 1));
    // A sparse file can hold any count; an index in memory cannot.
    if (count > kMaxIndexEntries)
        return failed(FailureNumber::TooLarge, u"L'index de " + path + u" annonce " + QString::number(count) +
                                                   u" entrées, plus que les " +
                                                   QString::number(kMaxIndexEntries) +
                                                   u" qu'une archive peut avoir");

    ArchiveEntries entries;
    try {
        entries.reserve(count);
        BlockReader reader(file);
        for (quint32 k = 0; k < count; ++k) {
            const char* fixed = reader.take(kRecordFixedLength);
            if (!fixed) {
                if (reader.failed())
                    break;
                return pastEnd(k);
            }
            const quint32 offset = readBigEndian(fixed);
            const quint32 size = readBigEndian(fixed + 4);
            entries.append({decodeWindows1252(reader.takeName()), offset, size});
        }
        if (reader.failed())
            return failed(FailureNumber::DeviceIO,
                          u"Erreur de lecture dans " + path + u" : " + file.errorString());
    } catch (const std::bad_alloc&) {
        return failed(FailureNumber::OutOfMemory, u"L'index de " + QString::number(count) + u" entrées de " +
                                                      path + u" ne tient pas en mémoire");
    }
    index = std::move(entries);
    return IndexReadResult::Read;
}

IndexReadResult ReadArchiveIndex(const QString& path, ArchiveFailure* failure) {
    return ReadArchiveIndex(path, ArchiveIndex(), failure);
}

bool WriteArchive(const QString& path, const SaveList& list, const ArchiveEntries& index,
                  const QString& keptFrom, ArchiveProgress* progress, ArchiveFailure* failure,
                  ArchiveMagic magic) {
    ArchiveProgress& shown = progressOrNone(progress);
    shown.show(u"Création de " + path, QStringLiteral("Ecriture du header"));
    const bool written = ArchiveWriter(path, list, index, keptFrom, magic, shown, failure).run();
    shown.hide();
    return written;
}

bool WriteArchive(const QString& path, const SaveList& list, ArchiveProgress* progress,
                  ArchiveFailure* failure) {
    return WriteArchive(path, list, ArchiveIndex(), CurrentArchivePath(), progress, failure);
}

bool ExtractEntry(const ArchiveEntries& index, qsizetype entryNumber, const QString& archivePath,
                  const QString& targetPath, ArchiveProgress* progress, ArchiveFailure* failure) {
    ArchiveProgress& shown = progressOrNone(progress);
    shown.show(QStringLiteral("Extraction"), targetPath);
    if (entryNumber < 0 || entryNumber >= index.size())
        return fail(failure, FailureNumber::BadEntryNumber,
                    u"L'entrée " + QString::number(entryNumber) + u" n'existe pas dans l'archive",
                    kExtractSource);
    const ArchiveEntry& entry = index[entryNumber];
    QFile archive(archivePath);
    if (!archive.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return failOpening(failure, archive, archivePath, kExtractSource);
    if (quint64(entry.Offset) + entry.Size > quint64(archive.size()))
        return fail(failure, FailureNumber::PastEndOfFile,
                    u"Les données de l'entrée " + entry.Name + u" sont hors du fichier " + archivePath,
                    kExtractSource);

    ReplacingFile target(targetPath);
    if (!target.open())
        return fail(failure, FailureNumber::FileAccess,
                    u"Impossible de créer " + targetPath + u" : " + target.errorString(), kExtractSource);
    QByteArray buffer;
    QString reason;
    switch (copyRange(archive, entry.Offset, target.file(), 0, entry.Size, buffer, reason)) {
    case CopyResult::Done:
        break;
    case CopyResult::EndOfSource:
        return fail(failure, FailureNumber::PastEndOfFile, u"Fin inattendue du fichier " + archivePath,
                    kExtractSource);
    case CopyResult::Failed:
        return fail(failure, FailureNumber::DeviceIO,
                    u"Erreur de copie de " + archivePath + u" vers " + targetPath + u" : " + reason,
                    kExtractSource);
    }
    shown.change(50);
    if (!target.commit())
        return fail(failure, FailureNumber::DeviceIO,
                    u"Erreur d'écriture dans " + targetPath + u" : " + target.errorString(), kExtractSource);
    return true;
}

bool ExtractEntry(qsizetype entryNumber, const QString& archivePath, const QString& targetPath,
                  ArchiveProgress* progress, ArchiveFailure* failure) {
    return ExtractEntry(ArchiveIndex(), entryNumber, archivePath, targetPath, progress, failure);
}

QString extractionFileName(const QString& entryName) {
    const qsizetype lastSeparator = std::max(entryName.lastIndexOf(u'\\'), entryName.lastIndexOf(u'/'));
    const QString name = entryName.mid(lastSeparator + 1);
    if (name.isEmpty() || name == u"." || name == u"..")
        return {};
    return name;
}

QString extractionTargetPath(const QString& folder, const QString& entryName) {
    const QString name = extractionFileName(entryName);
    return name.isEmpty() ? QString() : joinPath(folder, name);
}

} // namespace marvok
