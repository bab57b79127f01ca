#pragma once
// Sample replays for the demo environment, written by our replay writer: for each game a few
// matches with humans, the three computer difficulties, teams, an observer, open and closed slots,
// and for Zero Hour the generals.
#include "core/game_environment.h"

#include <QString>

namespace marvok {

// Writes the sample replays of `game` into `replaysFolder` (created when missing), each dated by
// its file's modification time; false with `error` set when a file could not be written.
bool addReplayDemoContent(const QString& replaysFolder, GameKind game, QString* error = nullptr);

} // namespace marvok
