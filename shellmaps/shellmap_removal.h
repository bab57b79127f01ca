#pragma once
// Removing an entry from a game's ShellMap catalogue. The entry's folder goes, the folders of the
// entries after it move down one number to close the gap, and the catalogue is written anew with the
// remaining entries under those numbers. Everything that could stop the removal is checked before
// anything moves, and a step that still fails puts back what the earlier steps changed, so a refused
// removal leaves every file and folder as it was.
#include "core/game_environment.h"

#include <QString>

namespace marvok {

// What a refused removal names in its message.
namespace RemovalDetail {
inline const QString NotFound = QStringLiteral("ShellMap introuvable.");
inline const QString SortFailed = QStringLiteral("Erreur dans le tri de la liste de fichiers.");
inline const QString ActiveEntry =
    QStringLiteral("Cette ShellMap est actuellement active dans le jeu et ne peut pas être supprimée.");
inline const QString CatalogueNotWritten = QStringLiteral("Erreur dans l'enregistrement du catalogue.");
// After the catalogue was written: the entry is gone but some of its files could not be deleted.
inline const QString FolderLeft = QStringLiteral("Le dossier %1 n'a pas pu être supprimé entièrement.");
} // namespace RemovalDetail

// Removes entry row-1 (row counted from 1, as the list shows it) of `game`'s catalogue, whose
// folders lie in `installFolder`. False with `detail` set when it was refused or did not complete.
bool removeCatalogueEntry(int row, GameKind game, const QString& installFolder, QString* detail);

} // namespace marvok
