#pragma once
// Sample packages for the demo environment, as players download them: a map pack laid out
// "Maps\Name\Name.map" beside a read-me, a replay pack with its replays in folders, and a mod whose
// BIG archive comes with a read-me. The replays and the archive are written by our own writers.
#include <QString>

namespace marvok {

// Writes "Pack de cartes.zip", "Pack de replays.zip" and "Mod Hiver rouge.zip" into `folder` (created
// when missing). False with `error` set when one could not be written.
bool writeInstallDemoArchives(const QString& folder, QString* error = nullptr);

} // namespace marvok
