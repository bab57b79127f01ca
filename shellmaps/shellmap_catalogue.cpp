#include "shellmaps/shellmap_catalogue.h"

#include "core/ini_runtime.h"
#include "core/paths.h"
#include "core/safe_write.h"
#include "core/text_codec.h"

#include <QDir>
#include <QFileInfo>

namespace marvok {
namespace {

const QString kGlobal = QStringLiteral("Global");
const QString kCount = QStringLiteral("Count");

QString catalogueBaseName(GameKind game) {
    switch (game) {
    case Generals:
        return QStringLiteral("GenShellMaps");
    case ZeroHour:
        return QStringLiteral("HHShellMaps");
    case BattleForMiddleEarth:
        return QStringLiteral("BFMEShellMaps");
    }
    Q_UNREACHABLE();
}

} // namespace

QString catalogueFileName(GameKind game) {
    return catalogueBaseName(game) + u".ini";
}

QString cataloguePath(GameKind game) {
    return joinPath(programFolder(), catalogueFileName(game));
}

QString setAsideCataloguePath(GameKind game) {
    return joinPath(programFolder(), catalogueBaseName(game) + u"SAV.ini");
}

QString& currentCatalogue() {
    static QString path;
    return path;
}

std::optional<int> readWholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<int> readCatalogueCount(const QString& catalogue) {
    return readWholeNumber(INIRuntime().ReadINI(kGlobal, kCount, catalogue));
}

int catalogueCount(const QString& catalogue) {
    return std::max(0, readCatalogueCount(catalogue).value_or(0));
}

QString entrySection(int index) {
    return u"ShellMap" + QString::number(index);
}

CatalogueEntry readCatalogueEntry(const QString& catalogue, int index) {
    const INIRuntime ini;
    const QString section = entrySection(index);
    const auto read = [&](const char* key) { return ini.ReadINI(section, QLatin1String(key), catalogue); };
    return {read("Date"), read("ScreenShot"), read("Name"), read("Description"), read("URL")};
}

bool writeCatalogue(const QString& path, const QList<CatalogueEntry>& entries, QString* error) {
    QString text = u'[' + kGlobal + u"]\r\n" + kCount + u'=' + QString::number(entries.size()) + u"\r\n";
    for (qsizetype index = 0; index < entries.size(); ++index) {
        const CatalogueEntry& entry = entries[index];
        text += u'[' + entrySection(int(index)) + u"]\r\n";
        const auto line = [&text](const char* key, QString value) {
            // One value is one line of the file.
            value.replace(u'\r', u' ').replace(u'\n', u' ');
            text += QLatin1String(key) + u'=' + value + u"\r\n";
        };
        line("Date", entry.date);
        line("ScreenShot", entry.screenShot);
        line("Name", entry.name);
        line("Description", entry.description);
        line("URL", entry.url);
    }
    // Windows-1252 bytes that happen to be valid UTF-8 ("Ã©") would be read back as UTF-8 ("é").
    const auto narrow = encodeWindows1252(text);
    const bool narrowReadsBack = narrow && decodeUtf8OrWindows1252(*narrow) == text;
    return writeFileAtomically(path, narrowReadsBack ? *narrow : text.toUtf8(), error);
}

QString entryFolderName(int index) {
    return u"Maps/ZephShellMap" + QString::number(index);
}

QString activeFolderName(GameKind game) {
    return game == ZeroHour ? QStringLiteral("Maps/ShellMapMD") : QStringLiteral("Maps/ShellMap1");
}

QString gameFolderPath(const QString& installFolder, const QString& relative) {
    return resolvePathIgnoringCase(installFolder, relative);
}

bool pathTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString markerPath(const QString& folder) {
    const QString found = findEntryIgnoringCase(folder, MarkerFileName);
    return joinPath(folder, found.isEmpty() ? MarkerFileName : found);
}

std::optional<int> activeEntryIndex(const QString& installFolder, GameKind game) {
    const QString active = gameFolderPath(installFolder, activeFolderName(game));
    const QFileInfo info(active);
    if (!info.isDir() || info.isSymLink())
        return std::nullopt;
    const INIRuntime ini;
    const QString marker = markerPath(active);
    if (ini.ReadINI(MarkerSection, QStringLiteral("ZephInstalled"), marker) != u"1")
        return std::nullopt;
    return readWholeNumber(ini.ReadINI(MarkerSection, QStringLiteral("Index"), marker)).value_or(0);
}

bool moveFolder(const QString& from, const QString& to) {
    const QFileInfo source(from);
    if (!source.isDir() || source.isSymLink())
        return false;
    const QFileInfo target(to);
    if (pathTaken(to) || !findEntryIgnoringCase(target.path(), target.fileName()).isEmpty())
        return false;
    return QDir().rename(from, to);
}

bool removeTree(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isDir())
        return QFile::remove(path);
    bool removed = true;
    const QFileInfoList children =
        QDir(path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& child : children)
        removed = removeTree(child.filePath()) && removed;
    return removed && QDir().rmdir(path);
}

bool canRemoveTree(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isDir())
        return true;
    if (!info.isReadable() || !info.isWritable() || !info.isExecutable())
        return false;
    const QFileInfoList children =
        QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    return std::all_of(children.begin(), children.end(),
                       [](const QFileInfo& child) { return canRemoveTree(child.filePath()); });
}

} // namespace marvok
