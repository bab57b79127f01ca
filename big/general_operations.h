#pragma once
// Two small operations of the BIG module that other subsystems use too.
#include <QString>

namespace marvok {

// True when `path` names a file whose length can be obtained (an empty file too); false for a
// missing path and for a folder.
bool FileExists(const QString& path);

// Converts `text` from `fromBase` to `toBase` with the digits "0-9A-Z" (upper case only; any other
// character counts as -1). The value is held in a signed 32-bit integer: a step that would overflow
// leaves the value computed so far. With `toBase` 0 the result is the value in decimal; otherwise
// it is written in `toBase` without leading zeros, and a value of 0 or less gives the empty text, as
// does a `toBase` outside 2 to 36. Never fails.
QString ConvertBase(const QString& text, int fromBase, int toBase);

} // namespace marvok
