#pragma once
// marvok-cli big list / extract / pack, on the BIG module the BIG page uses.
#include "app/cli/cli_support.h"

namespace marvok::cli {

QList<Command> bigCommands();

} // namespace marvok::cli
