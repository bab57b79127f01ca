#pragma once
// Starting a game: the Windows command line (the quoted executable, one blank, the stored options,
// " -mod " and the chosen mod) is started through the runner $MARVOK_RUNNER (default "wine") with
// the executable and the switches as separate arguments. A game found in a Wine prefix is started in
// that prefix (WINEPREFIX set for the runner).
#include "core/game_environment.h"

#include <QStringList>

namespace marvok {

QString executableName(GameKind game); // "generals.exe" (Zero Hour's own for Zero Hour), "lotrbfme.exe"

// The command line as the game would get it on Windows.
QString buildLaunchCommandLine(GameKind game, const GameEnvironment& env, const RegistryRuntime& store);

struct LaunchPlan {
    QString runner;
    QStringList arguments; // the executable's path, then the switches
};

// The runner and its arguments for a command line built above: the quoted path, then the text after
// the closing quote split at blanks, empty pieces dropped.
LaunchPlan launchPlan(const QString& commandLine);

// Starts `game` without waiting for it. False, with `error` set, when the game is not installed, its
// executable is missing, or the runner cannot be started.
bool LaunchGame(GameKind game, QString* error = nullptr);

} // namespace marvok
