#include "install/zip_archive.h"

#include "core/paths.h"
#include "core/safe_write.h"
#include "core/text_codec.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringList>
#include <memory>
#include <sys/stat.h>
#include <zip.h>

namespace marvok {

namespace {

constexpr qint64 ChunkSize = 64 * 1024;
// A user may mistype a few times; past that the entry is passed over rather than asking forever.
constexpr int PasswordQuestionsPerEntry = 3;

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct EntryCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using EntryFile = std::unique_ptr<zip_file_t, EntryCloser>;

QString errorText(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

bool isSymbolicLink(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0)
        return false;
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

// The password as the archive's maker most likely typed it: the 8-bit code page first, as the games'
// Windows tools do, then UTF-8, which newer tools use for AES.
QList<QByteArray> passwordEncodings(const QString& password) {
    QList<QByteArray> encodings;
    if (const std::optional<QByteArray> windows = encodeWindows1252(password))
        encodings.append(*windows);
    const QByteArray utf8 = password.toUtf8();
    if (!encodings.contains(utf8))
        encodings.append(utf8);
    return encodings;
}

bool isDriveLetterName(const QString& name) {
    return name.size() >= 2 && name[1] == u':' && name[0].isLetter() && name[0].unicode() < 128;
}

// The place of entry `entryName` relative to the target: "\" and "/" both separate, "." and empty
// parts go, ".." steps back. Nothing when the name is absolute, starts with a drive letter, climbs
// above the target, or leaves no name; with `keepFolders` false only the last part is kept.
std::optional<QString> safeRelativeEntryPath(const QString& entryName, bool keepFolders) {
    QString name = entryName;
    name.replace(u'\\', u'/');
    if (name.startsWith(u'/') || isDriveLetterName(name))
        return std::nullopt;
    QStringList parts;
    for (const QString& part : name.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u".")
            continue;
        if (part == u"..") {
            if (parts.isEmpty())
                return std::nullopt;
            parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    if (parts.isEmpty())
        return std::nullopt;
    return keepFolders ? parts.join(u'/') : parts.last();
}

// The names in the folders of the target, by their case-folded spelling, each folder listed once: a
// look-up per entry would list a folder of n files n times.
class FolderNames {
public:
    // The spelling of `name` in `folder` as findEntryIgnoringCase gives it, else `name` itself, which
    // is the folder's spelling of it from then on.
    QString spelling(const QString& folder, const QString& name) {
        auto listed = m_names.find(folder);
        if (listed == m_names.end()) {
            QHash<QString, QString> names;
            for (const QString& entry : QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                               QDir::Hidden | QDir::System)) {
                QString& kept = names[entry.toCaseFolded()];
                if (kept.isEmpty() || lessIgnoringCase(entry, kept))
                    kept = entry;
            }
            listed = m_names.insert(folder, std::move(names));
        }
        if (QFileInfo::exists(joinPath(folder, name)))
            return name;
        QString& kept = (*listed)[name.toCaseFolded()];
        if (kept.isEmpty())
            kept = name;
        return kept;
    }

private:
    QHash<QString, QHash<QString, QString>> m_names;
};

// The path below `root` for `relative`, using the spelling of existing parts that differ only in
// case; nothing when an existing part is a link, which could lead outside the root.
std::optional<QString> placeBelow(const QString& root, const QString& relative, FolderNames& names) {
    QString current = root;
    for (const QString& part : relative.split(u'/')) {
        current = joinPath(current, names.spelling(current, part));
        if (QFileInfo(current).isSymLink())
            return std::nullopt;
    }
    return current;
}

class Extraction {
public:
    Extraction(zip_t* archive, const ccZip::PasswordQuestion& question, QList<ZipSkippedEntry>& skipped)
        : m_archive(archive)
        , m_question(question)
        , m_skipped(skipped)
        , m_buffer(ChunkSize, Qt::Uninitialized) {}

    void extract(zip_uint64_t index, const QString& name, const QString& root, bool keepFolders);

private:
    enum class Outcome { Written, PasswordRejected, Skipped };

    void extractEncrypted(zip_uint64_t index, const QString& name, const zip_stat_t& stat,
                          const QString& path);
    Outcome attempt(zip_uint64_t index, const QString& name, const zip_stat_t& stat, const QString& path,
                    const QByteArray* password);
    void skip(const QString& name, ZipSkipReason reason, const QString& detail) {
        m_skipped.append({name, reason, detail});
    }

    zip_t* m_archive;
    const ccZip::PasswordQuestion& m_question;
    QList<ZipSkippedEntry>& m_skipped;
    QByteArray m_buffer;
    // The last password that extracted an entry is tried first on the next one, so an archive under
    // one password asks once.
    QByteArray m_lastGoodPassword;
    FolderNames m_folderNames;
};

void Extraction::extract(zip_uint64_t index, const QString& name, const QString& root, bool keepFolders) {
    QString normalized = name;
    normalized.replace(u'\\', u'/');
    const bool isFolder = normalized.endsWith(u'/');
    const std::optional<QString> relative = safeRelativeEntryPath(name, keepFolders);
    if (!relative) {
        skip(name, ZipSkipReason::UnsafeName, QStringLiteral("the name leads outside the target folder"));
        return;
    }
    if (isFolder && !keepFolders)
        return;
    if (isSymbolicLink(m_archive, index)) {
        skip(name, ZipSkipReason::SymbolicLink, QStringLiteral("symbolic links are not created"));
        return;
    }
    const std::optional<QString> path = placeBelow(root, *relative, m_folderNames);
    if (!path) {
        skip(name, ZipSkipReason::ThroughLink, QStringLiteral("its place in the target is a link"));
        return;
    }
    if (isFolder) {
        if (!QDir().mkpath(*path))
            skip(name, ZipSkipReason::WriteFailed, QStringLiteral("cannot create the folder ") + *path);
        return;
    }

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive, index, 0, &stat) != 0) {
        skip(name, ZipSkipReason::Damaged, errorText(zip_get_error(m_archive)));
        return;
    }
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        extractEncrypted(index, name, stat, *path);
    else
        attempt(index, name, stat, *path, nullptr);
}

void Extraction::extractEncrypted(zip_uint64_t index, const QString& name, const zip_stat_t& stat,
                                  const QString& path) {
    if (!m_lastGoodPassword.isEmpty()) {
        const Outcome outcome = attempt(index, name, stat, path, &m_lastGoodPassword);
        if (outcome != Outcome::PasswordRejected)
            return;
    }
    bool answered = false;
    for (int question = 0; question < PasswordQuestionsPerEntry; ++question) {
        const std::optional<QString> answer = m_question ? m_question(ccZip::PasswordPrompt()) : std::nullopt;
        if (!answer || answer->isEmpty()) {
            skip(name, answered ? ZipSkipReason::WrongPassword : ZipSkipReason::NoPassword,
                 QStringLiteral("no password was given"));
            return;
        }
        answered = true;
        for (const QByteArray& password : passwordEncodings(*answer)) {
            const Outcome outcome = attempt(index, name, stat, path, &password);
            if (outcome == Outcome::Written)
                m_lastGoodPassword = password;
            if (outcome != Outcome::PasswordRejected)
                return;
        }
    }
    skip(name, ZipSkipReason::WrongPassword, QStringLiteral("no password given extracted it"));
}

// One try at writing the entry to `path`. With a password, damage found while reading counts as a
// rejected password: the archive's check of a password is one or two bytes, so a wrong password can
// pass it and only show as garbage later.
Extraction::Outcome Extraction::attempt(zip_uint64_t index, const QString& name, const zip_stat_t& stat,
                                        const QString& path, const QByteArray* password) {
    EntryFile entry(password ? zip_fopen_index_encrypted(m_archive, index, 0, password->constData())
                             : zip_fopen_index(m_archive, index, 0));
    if (!entry) {
        zip_error_t* error = zip_get_error(m_archive);
        const int code = zip_error_code_zip(error);
        const bool rejected = password && (code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_NOPASSWD);
        if (!rejected)
            skip(name, ZipSkipReason::Damaged, errorText(error));
        zip_error_clear(m_archive);
        return rejected ? Outcome::PasswordRejected : Outcome::Skipped;
    }
    auto damaged = [&](QSaveFile& file, const QString& detail) {
        file.cancelWriting();
        if (password)
            return Outcome::PasswordRejected;
        skip(name, ZipSkipReason::Damaged, detail);
        return Outcome::Skipped;
    };

    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder)) {
        skip(name, ZipSkipReason::WriteFailed, QStringLiteral("cannot create the folder ") + folder);
        return Outcome::Skipped;
    }
    // Unbuffered: with a buffer, a disk that fills up while commit() flushes the last bytes goes
    // unnoticed and a cut file replaces the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        skip(name, ZipSkipReason::WriteFailed, file.errorString());
        return Outcome::Skipped;
    }
    const bool sizeKnown = stat.valid & ZIP_STAT_SIZE;
    zip_uint64_t total = 0;
    for (;;) {
        const zip_int64_t read =
            zip_fread(entry.get(), m_buffer.data(), static_cast<zip_uint64_t>(m_buffer.size()));
        if (read < 0)
            return damaged(file, errorText(zip_file_get_error(entry.get())));
        if (read == 0)
            break;
        total += static_cast<zip_uint64_t>(read);
        // More data than the entry claims is damage (or a bomb); stop before it fills the disk.
        if (sizeKnown && total > stat.size)
            return damaged(file, QStringLiteral("more data than the entry's size"));
        if (!writeFully(file, m_buffer.constData(), read)) {
            skip(name, ZipSkipReason::WriteFailed, file.errorString());
            file.cancelWriting();
            return Outcome::Skipped;
        }
    }
    if (sizeKnown && total < stat.size)
        return damaged(file, QStringLiteral("less data than the entry's size"));
    if (!file.commit()) {
        skip(name, ZipSkipReason::WriteFailed, file.errorString());
        return Outcome::Skipped;
    }
    // The file keeps the date the archive gives it, as unzip tools do: the replay list shows it.
    if (stat.valid & ZIP_STAT_MTIME) {
        QFile written(path);
        if (written.open(QIODevice::ReadOnly))
            written.setFileTime(QDateTime::fromSecsSinceEpoch(stat.mtime), QFileDevice::FileModificationTime);
    }
    return Outcome::Written;
}

} // namespace

void ccZip::Init(const QString& iName) {
    m_name = iName;
    m_skipped.clear();
    m_lastError.clear();
}

qint32 ccZip::Decompress(const QString& sTargetRoot, const QString& iName, int iHonorDirectories) {
    m_skipped.clear();
    m_lastError.clear();
    if (sTargetRoot.isEmpty())
        return ZipStatus::NoTarget;
    if (!QDir().mkpath(sTargetRoot)) {
        m_lastError = QStringLiteral("cannot create the folder ") + sTargetRoot;
        return ZipStatus::TargetUnusable;
    }
    // libzip takes an empty file for a new, empty archive; here it is simply not an archive.
    if (const QFileInfo archiveFile(m_name); archiveFile.isFile() && archiveFile.size() == 0) {
        m_lastError = QStringLiteral("not a ZIP archive: ") + m_name;
        return ZipStatus::ArchiveUnreadable;
    }
    int openError = 0;
    Archive archive(zip_open(QFile::encodeName(m_name).constData(), ZIP_RDONLY, &openError));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, openError);
        m_lastError = errorText(&error) + QStringLiteral(": ") + m_name;
        zip_error_fini(&error);
        return ZipStatus::ArchiveUnreadable;
    }

    QString wanted = iName;
    wanted.replace(u'\\', u'/');
    const bool keepFolders = iHonorDirectories != 0;
    Extraction extraction(archive.get(), m_passwordQuestion, m_skipped);
    bool found = false;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const char* rawName = zip_get_name(archive.get(), index, ZIP_FL_ENC_GUESS);
        if (!rawName) {
            m_skipped.append({QStringLiteral("#%1").arg(i), ZipSkipReason::Damaged,
                              errorText(zip_get_error(archive.get()))});
            continue;
        }
        const QString name = QString::fromUtf8(rawName);
        if (!wanted.isEmpty() && QString(name).replace(u'\\', u'/') != wanted)
            continue;
        found = true;
        extraction.extract(index, name, sTargetRoot, keepFolders);
    }
    if (!wanted.isEmpty() && !found)
        return ZipStatus::NoEntryNamed;
    return m_skipped.isEmpty() ? ZipStatus::Ok : ZipStatus::EntriesSkipped;
}

} // namespace marvok
