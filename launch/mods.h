#pragma once
// Mods: the BIG archives of a game's installation folder that are not the game's own, and their
// description files (the archive's name with ".ini", section "Mod", key "Comments").
#include "core/game_environment.h"

#include <QStringList>

namespace marvok {

// The game's own archives, each name enclosed in ";".
const QString& ownArchives(GameKind game);
bool isOwnArchive(GameKind game, const QString& fileName);

// The mod archives (file names with ".big") of `installFolder` for `game`, in listing order.
QStringList listModArchives(const QString& installFolder, GameKind game);

QString modDescriptionPath(const QString& installFolder, const QString& modName);
QString modArchivePath(const QString& installFolder, const QString& modName);

// Deletes the archive of `modName`; false with `error` set when the file system refuses.
bool deleteModArchive(const QString& installFolder, const QString& modName, QString* error);

} // namespace marvok
