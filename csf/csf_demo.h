#pragma once
// A sample string table for the demo environment, made with our own writer: French text with
// accents, lines in Cyrillic and Hangul and a "WRTS" row with its sound file.
#include "core/game_environment.h"

#include <QString>

namespace marvok {

// Writes the sample table into `gameFolder` ("generals.csf" for Generals and Zero Hour, "lotr.csf"
// for The Battle for Middle-earth); false with `error` set when it cannot.
bool addCsfDemoContent(const QString& gameFolder, GameKind game, QString* error);

} // namespace marvok
