#pragma once
// The maps a player has installed: one entry per map in the game's user maps folder.
#include <QStringList>

namespace marvok {

// Entries of `mapsFolder`, files and folders alike, whose name holds no ".".
QStringList listInstalledMaps(const QString& mapsFolder);

// Deletes the map `name` with all its content, read-only files included. `name` must be an entry
// directly inside `mapsFolder`; a symbolic link is removed as a link, never followed. False with
// `error` set when the name is not such an entry or the deletion failed part-way.
bool deleteInstalledMap(const QString& mapsFolder, const QString& name, QString* error);

} // namespace marvok
