#pragma once
// marvok-cli replay info, on the replay list's and the players tree's code.
#include "app/cli/cli_support.h"

namespace marvok::cli {

QList<Command> replayCommands();

} // namespace marvok::cli
