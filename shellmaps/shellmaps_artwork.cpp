#include "shellmaps/shellmaps_artwork.h"

// Outside any namespace, as Q_INIT_RESOURCE requires. The resources live in a static library, so
// the linker keeps them only when something refers to them.
static void initShellMapsResources() {
    Q_INIT_RESOURCE(shellmaps);
}

namespace marvok {
namespace {

// QPixmap picks the "@2x" file on screens scaled above 100%.
QPixmap load(const char* name) {
    static const bool resourcesReady = (initShellMapsResources(), true);
    Q_UNUSED(resourcesReady);
    return QPixmap(u":/shellmaps/" + QLatin1String(name) + u".png");
}

} // namespace

QPixmap noScreenshotPicture() {
    return load("no_screenshot");
}

QPixmap informationPicture() {
    return load("information");
}

} // namespace marvok
