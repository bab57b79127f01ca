#pragma once
// The ShellMap rotation before the program starts a game from its command line: the entry that this
// program made active goes back to its numbered folder, a ShellMap it did not put there is moved to
// "Maps/ShellMapSAV" (after a notice the player can switch off), and a randomly drawn entry becomes
// active: always for Zero Hour; for Generals and The Battle for Middle-earth only when no active folder
// was found, so their starts alternate between a catalogue ShellMap and the game's own.
#include "core/game_environment.h"

#include <QString>
#include <functional>

namespace marvok {

// A number drawn uniformly from [0, 1).
using RandomSource = std::function<double()>;

struct RotationHooks {
    RandomSource random;
    // Shows the notice about a ShellMap moved aside and returns once it is closed.
    std::function<void()> showNotice;
};

// "\Settings.ini" in the program's folder, which holds whether the notice is hidden.
QString rotationSettingsPath();
// "HideDetectedShellMapError" of [Startup]: 0, missing or not a number shows the notice.
bool isDetectedShellMapNoticeHidden();
// Stores the notice's check box: "1" hides it from now on, "0" shows it. False when the write failed.
bool setDetectedShellMapNoticeHidden(bool hidden);

// Entry number for a draw `x` in [0, 1) among `count` entries: the whole part of count × x, 0 for an
// empty catalogue.
int drawnEntry(int count, double x);

// Runs the rotation for `game`. False, with nothing on disk changed, when the game is not installed or
// its catalogue has no readable "Count" (no ShellMap was ever installed for it); a later step that
// fails is passed over, as the start of the game must go on.
bool rotateStartupShellMap(GameKind game, const GameEnvironment& env, const RotationHooks& hooks);

} // namespace marvok
