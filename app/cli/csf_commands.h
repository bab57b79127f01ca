#pragma once
// marvok-cli csf export / import / info, on the CSF module the CSF editor uses.
#include "app/cli/cli_support.h"

namespace marvok::cli {

QList<Command> csfCommands();

} // namespace marvok::cli
