#pragma once
// The ShellMap windows' pictures, compiled in from shellmaps/artwork/ (drawn by make-artwork.sh).
#include <QPixmap>

namespace marvok {

// Shown where an entry has no screenshot to show yet.
QPixmap noScreenshotPicture();
// The picture of the notice about a ShellMap moved aside.
QPixmap informationPicture();

} // namespace marvok
