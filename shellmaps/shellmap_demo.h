#pragma once
// Sample ShellMaps for the demo environment: catalogues with two entries for Generals and one for
// Zero Hour, each with a screenshot, and one archive of each kind ready to install.
#include "core/game_environment.h"

#include <QString>
#include <array>

namespace marvok {

// Writes "GenShellMaps.ini" and "HHShellMaps.ini" into `programFolder`, the entries' folders
// "Maps/ZephShellMap<N>" into the Generals and Zero Hour installation folders of `installFolders`
// (indexed by GameKind), and "ShellMap Generals - Canyon.zip" and "ShellMap Heure H - Banquise.zip"
// into `archivesFolder`. False with `error` set when something could not be written.
bool addShellMapDemoContent(const QString& programFolder,
                            const std::array<QString, GameCount>& installFolders,
                            const QString& archivesFolder, QString* error);

} // namespace marvok
