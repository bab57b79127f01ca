#include "launch/installed_maps.h"

#include "core/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace marvok {

QStringList listInstalledMaps(const QString& mapsFolder) {
    QStringList maps;
    for (const QString& name : listFolder(mapsFolder, QStringLiteral("*.*"), EntryKind::FilesAndFolders)) {
        if (!name.contains(u'.'))
            maps << name;
    }
    return maps;
}

namespace {

// Removes `path` and everything below it without following links; read-only entries made writable.
bool removeTree(const QString& path, QString* error) {
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isDir()) {
        QFile file(path);
        file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
        if (!file.remove()) {
            *error = path + u": " + file.errorString();
            return false;
        }
        return true;
    }
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                    QFileDevice::ReadOwner);
    const QFileInfoList children =
        QDir(path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& child : children) {
        if (!removeTree(child.filePath(), error))
            return false;
    }
    if (!QDir().rmdir(path)) {
        *error = path + u": cannot remove the folder";
        return false;
    }
    return true;
}

} // namespace

bool deleteInstalledMap(const QString& mapsFolder, const QString& name, QString* error) {
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') || name.contains(u'\\')) {
        *error = u"\"" + name + u"\" is not a map of this folder";
        return false;
    }
    const QString path = joinPath(mapsFolder, name);
    if (!QFileInfo(path).isSymLink() && !QFileInfo::exists(path)) {
        *error = path + u": no such map";
        return false;
    }
    return removeTree(path, error);
}

} // namespace marvok
