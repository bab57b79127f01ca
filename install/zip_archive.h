#pragma once
// ccZip: the one place that opens a ZIP archive. It remembers an archive's path and unpacks its
// entries into a folder, keeping the archive's folders or putting every file directly into the
// target. Archives come from anywhere, so unpacking never writes outside the target: names that are
// absolute, carry a drive letter or climb out with ".." are skipped, symbolic links are never made,
// nothing is written through a link already in the target, and each file is streamed in small chunks
// into a temporary file beside it that replaces the target only once the entry has been read whole
// and checked. Whatever was passed over is listed for the caller.
#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace marvok {

// What Decompress returns.
namespace ZipStatus {
constexpr qint32 Ok = 0;
constexpr qint32 NoTarget = 1;          // empty target folder: nothing done
constexpr qint32 EntriesSkipped = 2;    // the others were extracted; see skippedEntries()
constexpr qint32 ArchiveUnreadable = 3; // missing file, not a ZIP archive, unreadable directory
constexpr qint32 TargetUnusable = 4;    // the target folder cannot be created
constexpr qint32 NoEntryNamed = 5;      // a single entry was asked for and the archive has none of that name
} // namespace ZipStatus

enum class ZipSkipReason {
    UnsafeName,    // absolute, drive letter, climbs out of the target, or nothing left of it
    SymbolicLink,  // a link entry: never created
    ThroughLink,   // its place in the target is, or lies beneath, an existing link
    NoPassword,    // encrypted, and no password was given
    WrongPassword, // encrypted, and no password given read it whole (damage looks the same)
    Damaged,       // its data could not be read whole and correct
    WriteFailed,   // the file or its folder could not be written
};

struct ZipSkippedEntry {
    QString name; // as the archive names it
    ZipSkipReason reason = ZipSkipReason::Damaged;
    QString detail; // for logs; never shown as such
};

class ccZip {
public:
    // Asked each time an encrypted entry needs a password (within one Decompress the password that
    // extracted the previous entry is tried first, and kept no longer); nothing or an empty text
    // gives none. The program binds it to its input box with no title and an empty default.
    using PasswordQuestion = std::function<std::optional<QString>(const QString& prompt)>;

    static QString PasswordPrompt() { return QStringLiteral("Please Enter The Password!"); }

    // Starts work on the archive at `iName`. A path that names no file is accepted and yields nothing.
    void Init(const QString& iName);
    const QString& Name() const { return m_name; }

    // Extracts into `sTargetRoot` the entry named `iName`, or every entry when `iName` is empty.
    // `iHonorDirectories` 1 keeps each entry's folders below the target, 0 drops them. Existing files
    // are overwritten; a missing target folder is created; each file keeps the modification time the
    // archive gives it. Returns a ZipStatus.
    qint32 Decompress(const QString& sTargetRoot, const QString& iName, int iHonorDirectories);

    // Without a question, encrypted entries are skipped.
    void setPasswordQuestion(PasswordQuestion question) { m_passwordQuestion = std::move(question); }

    // What the last Decompress passed over, in archive order.
    const QList<ZipSkippedEntry>& skippedEntries() const { return m_skipped; }
    // Why the last Decompress could not start, for logs; empty when it could.
    const QString& lastError() const { return m_lastError; }

private:
    QString m_name;
    PasswordQuestion m_passwordQuestion;
    QList<ZipSkippedEntry> m_skipped;
    QString m_lastError;
};

} // namespace marvok
