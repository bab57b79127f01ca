#include "install/package_install.h"

#include "big/general_operations.h"
#include "core/paths.h"
#include "core/safe_write.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <algorithm>
#include <optional>

namespace marvok {
namespace {

bool isPlainFile(const QString& path) {
    const QFileInfo info(path);
    return !info.isSymLink() && info.isFile();
}

bool isPlainFolder(const QString& path) {
    const QFileInfo info(path);
    return !info.isSymLink() && info.isDir();
}

QStringList plainFiles(const QString& folder, const QString& patterns, bool includeHidden) {
    QStringList files;
    for (const QString& name : listFolder(folder, patterns, EntryKind::Files, includeHidden)) {
        if (isPlainFile(joinPath(folder, name)))
            files.append(name);
    }
    return files;
}

// Read-only folders would keep their content from being deleted.
void removeFolder(const QString& folder) {
    if (QFileInfo(folder).isSymLink()) {
        QFile::remove(folder);
        return;
    }
    QDirIterator walk(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                      QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QString path = walk.next();
        if (!walk.fileInfo().isSymLink())
            QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadUser | QFile::WriteUser |
                                            QFile::ExeUser);
    }
    QDir(folder).removeRecursively();
}

QList<PackageEntry> findMaps(const QString& unpackedFolder) {
    QList<PackageEntry> maps;
    QSet<QString> names;
    // Level by level, so that of two maps of the same name the one nearest the top is kept.
    QStringList level{unpackedFolder};
    while (!level.isEmpty()) {
        QStringList next;
        for (const QString& folder : level) {
            for (const QString& name : listFolder(folder, QStringLiteral("*"), EntryKind::Folders)) {
                const QString path = joinPath(folder, name);
                if (!isPlainFolder(path))
                    continue;
                next.append(path);
                const QString mapFile = findEntryIgnoringCase(path, name + QStringLiteral(".map"));
                const QString mapPath = joinPath(path, mapFile);
                if (mapFile.isEmpty() || !FileExists(mapPath) || !isPlainFile(mapPath))
                    continue;
                if (names.contains(name.toLower()))
                    continue;
                names.insert(name.toLower());
                maps.append({name, path});
            }
        }
        level = next;
    }
    std::sort(maps.begin(), maps.end(),
              [](const PackageEntry& a, const PackageEntry& b) { return lessIgnoringCase(a.name, b.name); });
    return maps;
}

QString withDetail(const QString& reason, const QString& detail) {
    return detail.isEmpty() ? reason : reason + QStringLiteral(" (") + detail + u')';
}

// Copies `from` over `to` through a temporary file beside `to`; the copy keeps the source's
// modification time, which the replay list shows as the replay's date.
std::optional<InstallFailure> copyReplacing(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return InstallFailure{
            from, withDetail(QStringLiteral("impossible de lire le fichier"), source.errorString())};
    QSaveFile target(to);
    const auto writeFailure = [&] {
        return InstallFailure{
            to, withDetail(QStringLiteral("impossible d'écrire le fichier"), target.errorString())};
    };
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeFailure();
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 read = source.read(chunk.data(), chunk.size());
        if (read < 0) {
            target.cancelWriting();
            return InstallFailure{
                from, withDetail(QStringLiteral("impossible de lire le fichier"), source.errorString())};
        }
        if (read == 0)
            break;
        if (!writeFully(target, chunk.constData(), read)) {
            const InstallFailure failure = writeFailure();
            target.cancelWriting();
            return failure;
        }
    }
    if (!target.commit())
        return writeFailure();
    const QDateTime modified = QFileInfo(source).lastModified();
    QFile copied(to);
    if (modified.isValid() && copied.open(QIODevice::ReadOnly))
        copied.setFileTime(modified, QFileDevice::FileModificationTime);
    return std::nullopt;
}

} // namespace

bool keepsFolders(PackageKind kind) {
    return kind != PackageKind::Replays;
}

UnpackResult unpackPackage(const QString& archive, PackageKind kind, const QString& temporaryFolder,
                           const ccZip::PasswordQuestion& question) {
    UnpackResult result;
    removeFolder(temporaryFolder);
    if (QFileInfo::exists(temporaryFolder) || QFileInfo(temporaryFolder).isSymLink() ||
        !QDir().mkpath(temporaryFolder))
        return result;
    result.folderReady = true;
    ccZip zip;
    zip.setPasswordQuestion(question);
    zip.Init(archive);
    zip.Decompress(withTrailingSeparator(temporaryFolder), QString(), keepsFolders(kind) ? 1 : 0);
    result.skipped = zip.skippedEntries();
    return result;
}

QList<PackageEntry> findPackageEntries(PackageKind kind, const QString& unpackedFolder) {
    if (kind == PackageKind::Maps)
        return findMaps(unpackedFolder);
    const QString pattern = kind == PackageKind::Replays ? QStringLiteral("*.rep") : QStringLiteral("*.big");
    QList<PackageEntry> entries;
    for (const QString& name : plainFiles(unpackedFolder, pattern, false))
        entries.append({name, joinPath(unpackedFolder, name)});
    return entries;
}

QList<InstallFailure> installPackageEntries(PackageKind kind, const QList<PackageEntry>& entries,
                                            const QString& targetFolder) {
    QList<InstallFailure> failures;
    if (entries.isEmpty())
        return failures;
    if (!QDir().mkpath(targetFolder)) {
        failures.append({targetFolder, QStringLiteral("impossible de créer le dossier")});
        return failures;
    }
    const auto copy = [&failures](const QString& from, const QString& to) {
        if (const std::optional<InstallFailure> failure = copyReplacing(from, to))
            failures.append(*failure);
    };
    for (const PackageEntry& entry : entries) {
        const QString target = resolvePathIgnoringCase(targetFolder, entry.name);
        if (kind != PackageKind::Maps) {
            copy(entry.source, target);
            continue;
        }
        if (!QDir().mkpath(target) || !QFileInfo(target).isDir()) {
            failures.append({target, QStringLiteral("impossible de créer le dossier")});
            continue;
        }
        for (const QString& file : plainFiles(entry.source, QStringLiteral("*"), true))
            copy(joinPath(entry.source, file), resolvePathIgnoringCase(target, file));
    }
    return failures;
}

QString describeFailures(const QList<InstallFailure>& failures) {
    QStringList lines;
    for (const InstallFailure& failure : failures)
        lines.append(QDir::toNativeSeparators(failure.path) + QStringLiteral(" : ") + failure.reason);
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace marvok
