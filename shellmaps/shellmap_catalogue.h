#pragma once
// The ShellMap catalogues and their folders.
//
// Per game, an INI file in the program's folder names and describes each installed ShellMap:
//   [Global]       Count = number of entries, numbered 0 to Count-1
//   [ShellMap<N>]  Date, ScreenShot (full path or empty), Name, Description, URL
// The files of entry N lie in "Maps/ZephShellMap<N>" of the game's installation folder. The game plays
// the ShellMap of its active folder ("Maps/ShellMap1"; "Maps/ShellMapMD" for Zero Hour). While an
// entry is active its folder is the active folder itself, marked by "Zeph.ini" ([Infos]
// ZephInstalled=1, Index=N). A ShellMap found there without that marker is moved to "Maps/ShellMapSAV".
// Folder and file names are looked up without regard to case.
#include "core/game_environment.h"

#include <QList>
#include <QString>
#include <optional>

namespace marvok {

// "GenShellMaps.ini", "HHShellMaps.ini", "BFMEShellMaps.ini".
QString catalogueFileName(GameKind game);
// The game's catalogue in the program's folder.
QString cataloguePath(GameKind game);
// Where a removal keeps the old catalogue while it works: "GenShellMapsSAV.ini" and so on.
QString setAsideCataloguePath(GameKind game);

// The catalogue that the page's row click and the information dialog read; listing a game and
// installing into a game point it at that game's catalogue.
QString& currentCatalogue();

// A whole number written in decimal, blanks around it allowed; nothing otherwise.
std::optional<int> readWholeNumber(const QString& text);

// "Count" of [Global]; nothing when the file or the value is missing or not a number.
std::optional<int> readCatalogueCount(const QString& catalogue);
// The same for listing and numbering: 0 when missing, not a number or negative.
int catalogueCount(const QString& catalogue);

// A catalogue counting more entries than this is taken as damaged: the list stops there, and a
// removal, which rewrites the whole catalogue, refuses it.
constexpr int MaxCatalogueEntries = 10000;

struct CatalogueEntry {
    QString date;
    QString screenShot;
    QString name;
    QString description;
    QString url;

    bool operator==(const CatalogueEntry&) const = default;
};

// "ShellMap" + N.
QString entrySection(int index);
CatalogueEntry readCatalogueEntry(const QString& catalogue, int index);

// Writes a whole catalogue, "Count" and one section per entry in order, through a temporary file
// that replaces `path` only once complete. Windows-1252 when every character fits and the bytes read
// back as the same text, else UTF-8.
bool writeCatalogue(const QString& path, const QList<CatalogueEntry>& entries, QString* error = nullptr);

// Names relative to a game's installation folder.
QString entryFolderName(int index); // "Maps/ZephShellMap" + N
QString activeFolderName(GameKind game);
inline const QString BackupFolderName = QStringLiteral("Maps/ShellMapSAV");
inline const QString MarkerFileName = QStringLiteral("Zeph.ini");
inline const QString MarkerSection = QStringLiteral("Infos");

// `relative` below `installFolder`, spelled as on disk where it exists.
QString gameFolderPath(const QString& installFolder, const QString& relative);
// True when something (a file, a folder or a link) stands at `path`.
bool pathTaken(const QString& path);

// The marker file of a folder: the existing one whatever its letter case, else "Zeph.ini".
QString markerPath(const QString& folder);
// The entry number the marker of the game's active folder names, when the folder exists and its
// marker says this program put it there ("ZephInstalled" exactly "1"); a missing or non-numeric
// "Index" counts as 0.
std::optional<int> activeEntryIndex(const QString& installFolder, GameKind game);

// Renames the folder `from` to `to` in place. Fails, changing nothing, when `from` is not a folder or
// when something already stands at `to` (a name differing only in case included).
bool moveFolder(const QString& from, const QString& to);

// Deletes `path` and everything below it without following links.
bool removeTree(const QString& path);
// Whether removeTree would get through: every folder below can be listed and changed.
bool canRemoveTree(const QString& path);

} // namespace marvok
