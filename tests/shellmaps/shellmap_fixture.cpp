#include "tests/shellmaps/shellmap_fixture.h"

#include "core/ini_runtime.h"
#include "core/paths.h"
#include "shellmaps/shellmap_catalogue.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <zip.h>

namespace marvok::test {

void makeZip(const QString& path, const std::vector<ZipEntry>& entries) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << error;
    for (const ZipEntry& entry : entries) {
        zip_source_t* source = zip_source_buffer(archive, entry.data.constData(),
                                                 static_cast<zip_uint64_t>(entry.data.size()), 0);
        const zip_int64_t index = zip_file_add(archive, entry.name.constData(), source, 0);
        ASSERT_GE(index, 0) << zip_strerror(archive);
        if (!entry.password.isEmpty()) {
            ASSERT_EQ(zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index), ZIP_EM_AES_256,
                                              entry.password.constData()),
                      0);
        }
    }
    ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);
}

void writePicture(const QString& path, const QColor& colour, QSize size) {
    QDir().mkpath(QFileInfo(path).path());
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    ASSERT_TRUE(picture.save(path)) << path.toStdString();
}

ShellMapWorld::ShellMapWorld(std::initializer_list<GameKind> installed)
    : games(installed) {
    createServices(games.store());
    readInstallFolders(registry(), environment());
    composePlayerFolders(registry(), environment());
    currentCatalogue().clear();
}

QByteArray ShellMapWorld::catalogueText(int count, const QStringList& names) {
    QByteArray text = "[Global]\r\nCount=" + QByteArray::number(count) + "\r\n";
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "[ShellMap" + n + "]\r\nDate=0" + n + "/01/2024\r\nScreenShot=\r\n";
        if (!names[i].isNull())
            text += "Name=" + names[i].toUtf8() + "\r\n";
        text += "Description=Description " + n + "\r\nURL=http://example.org/" + n + "\r\n";
    }
    return text;
}

void ShellMapWorld::writeCatalogueFile(GameKind game, const QByteArray& text) {
    writeBytes(cataloguePath(game), text);
}

void ShellMapWorld::addFolder(GameKind game, const QString& name, const QString& id,
                              const QStringList& marker) {
    const QString folder = joinPath(install(game), u"Maps/" + name);
    writeBytes(joinPath(folder, QStringLiteral("id.txt")), id.toUtf8());
    if (marker.isEmpty())
        return;
    QByteArray text = "[Infos]\r\nZephInstalled=" + marker.value(0).toUtf8() + "\r\n";
    if (marker.size() > 1)
        text += "Index=" + marker[1].toUtf8() + "\r\n";
    writeBytes(joinPath(folder, QStringLiteral("Zeph.ini")), text);
}

QStringList ShellMapWorld::mapsContent(GameKind game) const {
    const QString maps = joinPath(install(game), QStringLiteral("Maps"));
    QStringList content;
    const INIRuntime ini;
    for (const QString& name : listFolder(maps, QStringLiteral("*.*"), EntryKind::Folders, true)) {
        const QString folder = joinPath(maps, name);
        QString line = name + u':' + QString::fromUtf8(readBytes(joinPath(folder, QStringLiteral("id.txt"))));
        const QString marker = joinPath(folder, QStringLiteral("Zeph.ini"));
        if (QFile::exists(marker))
            line += u':' + ini.ReadINI(QStringLiteral("Infos"), QStringLiteral("ZephInstalled"), marker) +
                    u'/' + ini.ReadINI(QStringLiteral("Infos"), QStringLiteral("Index"), marker);
        content << line;
    }
    return content;
}

QStringList ShellMapWorld::snapshot(GameKind game) const {
    QStringList files;
    for (const QString& root : {games.programFolder(), install(game)}) {
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QFileInfo info(path);
            files << (info.isDir() ? QString(path + u'/')
                                   : QString(path + u'=' + QString::fromLatin1(readBytes(path).toHex())));
        }
    }
    files.sort();
    return files;
}

} // namespace marvok::test
