#pragma once
// The game environment: where each game is installed and where the player's replays and maps are,
// the game the main window shows, the command line and the chosen language file. Start-up fills it
// once from the settings store (and from a Wine prefix for what the store does not have); only the
// game switch changes it afterwards.
#include "core/ini_runtime.h"
#include "core/registry_runtime.h"

#include <QString>
#include <array>
#include <memory>

namespace marvok {

// The order of every game list and per-game table.
enum GameKind : qint32 { Generals = 0, ZeroHour = 1, BattleForMiddleEarth = 2 };
constexpr int GameCount = 3;

struct GameEnvironment {
    std::array<QString, GameCount> InstallFolder; // as the game's InstallPath gives it; empty: not installed
    std::array<QString, GameCount> ReplaysFolder; // ends with "/"
    std::array<QString, GameCount> MapsFolder;    // ends with "/"
    // Where the folders came from: the Wine prefix that gave the game's InstallPath (the game is
    // started in that prefix), and the one that gave the user's folder its replays and maps folders
    // are in (Personal; AppData for The Battle for Middle-earth). Empty: the settings store.
    std::array<QString, GameCount> PrefixOf;
    std::array<QString, GameCount> PlayerFoldersPrefixOf;
    GameKind CurrentGame = Generals;
    QString CommandLine;        // lower-cased
    QString CommandLineAsTyped; // the same text before lower-casing, for paths on this file system
    QString TradFileName;

    bool anyGameInstalled() const;
    bool isInstalled(GameKind game) const { return !InstallFolder[game].isEmpty(); }
};

// The one instance of the environment and of the two services.
GameEnvironment& environment();
RegistryRuntime& registry();
INIRuntime& ini();

// Creates the two services anew on the given settings store; start-up calls it first.
void createServices(const QString& storePath = RegistryRuntime::defaultStorePath());

// The games' registry keys below HKEY_LOCAL_MACHINE.
QString gameRegistryKey(GameKind game);
inline const QString ShellFoldersKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

// Reads the installation folders (Zero Hour first, then Generals, then The Battle for Middle-earth).
// A folder read from a Wine prefix is turned into a folder of this file system; one that does not
// exist there counts as not installed.
void readInstallFolders(const RegistryRuntime& store, GameEnvironment& env);
// Composes the replays and maps folders of all three games from the user's folders. Folders of a Wine
// prefix are found on disk without regard to case.
void composePlayerFolders(const RegistryRuntime& store, GameEnvironment& env);

} // namespace marvok
