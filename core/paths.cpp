#include "core/paths.h"

#include "core/safe_write.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace marvok {

namespace {

// Present in every program folder; tells a folder holding the delivered files.
const QString kDeliveredMarker = QStringLiteral("soptions.ini");

// A file tree copied as described at seedProgramFolder.
bool copyMissingEntries(const QString& from, const QString& to, QString* error) {
    if (!QDir().mkpath(to)) {
        if (error)
            *error = u"cannot create " + to;
        return false;
    }
    bool complete = true;
    for (const QString& name : listFolder(from, QStringLiteral("*"), EntryKind::FilesAndFolders, true)) {
        const QString source = joinPath(from, name);
        const QString existing = findEntryIgnoringCase(to, name);
        if (QFileInfo(source).isDir()) {
            complete =
                copyMissingEntries(source, joinPath(to, existing.isEmpty() ? name : existing), error) &&
                complete;
            continue;
        }
        if (!existing.isEmpty())
            continue;
        QFile file(source);
        QString why = u"cannot read " + source;
        if (!file.open(QIODevice::ReadOnly) ||
            !writeFileAtomically(joinPath(to, name), file.readAll(), &why)) {
            if (error)
                *error = why;
            complete = false;
        }
    }
    return complete;
}

} // namespace

QString programFolder() {
    const QString home = qEnvironmentVariable("MARVOK_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(home);
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(joinPath(executableFolder, kDeliveredMarker)))
        return executableFolder;
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    // As the XDG rules say, a relative value is ignored.
    if (data.isEmpty() || QDir::isRelativePath(data))
        data = QDir::homePath() + u"/.local/share";
    return joinPath(QDir::cleanPath(data), QStringLiteral("marvok"));
}

QString installedDefaultsFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/../share/marvok");
}

bool seedProgramFolder(QString* error) {
    const QString defaults = installedDefaultsFolder();
    const QString folder = programFolder();
    if (!QFileInfo(defaults).isDir() || QFileInfo(folder) == QFileInfo(defaults))
        return true;
    return copyMissingEntries(defaults, folder, error);
}

QString joinPath(const QString& folder, const QString& relative) {
    QString tail = relative;
    tail.replace(u'\\', u'/');
    if (folder.isEmpty())
        return tail;
    qsizetype skip = 0;
    while (skip < tail.size() && tail[skip] == u'/')
        ++skip;
    QString head = folder;
    while (head.size() > 1 && head.endsWith(u'/'))
        head.chop(1);
    if (head == u"/")
        return head + tail.mid(skip);
    return head + u'/' + tail.mid(skip);
}

QString withTrailingSeparator(const QString& folder) {
    if (folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

bool lessIgnoringCase(const QString& a, const QString& b) {
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}

bool isHiddenName(const QString& name) {
    return name.startsWith(u'.');
}

QStringList listFolder(const QString& folder, const QString& patterns, EntryKind kind, bool includeHidden) {
    QList<QRegularExpression> matchers;
    for (QString pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        // As on Windows, "*.*" also matches names without a dot.
        if (pattern == u"*.*")
            pattern = u'*';
        matchers.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                           QRegularExpression::CaseInsensitiveOption));
    }
    QDir::Filters filters = QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
    if (static_cast<int>(kind) & static_cast<int>(EntryKind::Files))
        filters |= QDir::Files;
    if (static_cast<int>(kind) & static_cast<int>(EntryKind::Folders))
        filters |= QDir::Dirs;
    QStringList names;
    for (const QString& name : QDir(folder).entryList(filters, QDir::Unsorted)) {
        if (!includeHidden && isHiddenName(name))
            continue;
        const bool matches = std::any_of(matchers.begin(), matchers.end(), [&](const QRegularExpression& m) {
            return m.match(name).hasMatch();
        });
        if (matches)
            names.append(name);
    }
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

QString findEntryIgnoringCase(const QString& folder, const QString& name) {
    if (name.isEmpty())
        return {};
    if (QFileInfo::exists(joinPath(folder, name)))
        return name;
    QString found;
    for (const QString& candidate :
         QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0 &&
            (found.isEmpty() || lessIgnoringCase(candidate, found)))
            found = candidate;
    }
    return found;
}

namespace {

// Walks the parts of `relative` below `folder`; `complete` tells whether every part exists.
QString walkIgnoringCase(const QString& folder, const QString& relative, bool* complete) {
    QString normalized = relative;
    normalized.replace(u'\\', u'/');
    const bool trailing = normalized.endsWith(u'/');
    QString current = folder;
    bool exists = true;
    for (const QString& part : normalized.split(u'/', Qt::SkipEmptyParts)) {
        QString onDisk;
        if (exists && part != u"." && part != u"..")
            onDisk = findEntryIgnoringCase(current, part);
        if (onDisk.isEmpty()) {
            exists = exists && (part == u"." || part == u"..") && QFileInfo::exists(joinPath(current, part));
            onDisk = part;
        }
        current = joinPath(current, onDisk);
    }
    if (complete)
        *complete = exists;
    return trailing ? withTrailingSeparator(current) : current;
}

} // namespace

QString resolvePathIgnoringCase(const QString& folder, const QString& relative) {
    return walkIgnoringCase(folder, relative, nullptr);
}

QString existingPathIgnoringCase(const QString& folder, const QString& relative) {
    bool complete = false;
    const QString path = walkIgnoringCase(folder, relative, &complete);
    return complete ? path : QString();
}

} // namespace marvok
