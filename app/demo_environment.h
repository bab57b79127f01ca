#pragma once
// The demo environment: a folder holding a settings store with the three games' keys and the
// user's folders, the games' installation folders and the player's data folders, so that every page
// of the program has something to show without the games. Each kind of sample content is added by a
// function of its own.
#include <QString>

namespace marvok::demo {

struct DemoFolders {
    QString root;
    QString registry;    // the settings store
    QString program;     // the program's folder ($MARVOK_HOME)
    QString personal;    // "Personal" of the user's shell folders
    QString appData;     // "AppData"
    QString install[3];  // per game
    QString userData[3]; // the player's data folder of each game (holding Replays and Maps)
};

DemoFolders foldersBelow(const QString& root);

// Creates the folders and the settings store with the games' keys and the user's folders.
bool addGameSettings(const DemoFolders& folders);

// Copies the files delivered beside the executable (".ini", ".lng") into the program's folder.
bool addDeliveredFiles(const DemoFolders& folders, const QString& deliveredFolder);

// Stored start-up options, installed maps for each game and a runner script that shows what it would
// start.
bool addLaunchSamples(const DemoFolders& folders);

// Mod archives for each game, one with a description, beside archives named like the game's own.
bool addModSamples(const DemoFolders& folders);

// A string table in each game's folder.
bool addCsfSamples(const DemoFolders& folders);

// Replays of every kind of match for each game.
bool addReplaySamples(const DemoFolders& folders);

// Where the demo's map, replay and mod archives wait to be installed.
QString packagesFolder(const DemoFolders& folders);

// Where the demo's ShellMap archives wait to be installed.
QString shellMapArchivesFolder(const DemoFolders& folders);

// Makes the whole environment anew below `root`; false with `error` set when a step failed.
bool makeDemoEnvironment(const QString& root, const QString& deliveredFolder, QString* error);

} // namespace marvok::demo
