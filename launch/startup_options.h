#pragma once
// The start-up options on offer per game ("soptions.ini" in the program's folder, section per game,
// key "Options", a comma-separated list of switch names without their "-") and the stored choice
// (" -name" per ticked option, in list order).
#include "core/game_environment.h"

#include <QStringList>
#include <vector>

namespace marvok {

QString optionsSection(GameKind game);   // "Gen", "ZH", "BFME"
QString optionsValueName(GameKind game); // GenStartupOptions, ...
QString modValueName(GameKind game);     // GenMod, ...
QString optionsFilePath();               // soptions.ini in the program's folder

// Split at every ","; the empty text gives no element, any other text one more than its commas.
QStringList splitOptionNames(const QString& list);

// The names on offer for `game`, read from `optionsFile`.
QStringList offeredOptions(const INIRuntime& ini, const QString& optionsFile, GameKind game);

// An option shows ticked when its name occurs anywhere in the stored value.
bool isOptionTicked(const QString& name, const QString& storedValue);

// The value stored for the ticked names: " -" and the name for each, in order.
QString storedOptionsValue(const QStringList& names, const std::vector<bool>& ticked);

} // namespace marvok
