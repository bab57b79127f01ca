#include "controls/skin_artwork.h"

#include <QPixmapCache>

// Outside any namespace, as Q_INIT_RESOURCE requires. The resources live in a static library, so
// the linker keeps them only when something refers to them.
static void initControlsResources() {
    Q_INIT_RESOURCE(controls);
}

namespace marvok::skin {
namespace {

enum class KeyColour { None, PureBlue };

QPixmap load(const QString& baseName, qreal devicePixelRatio, KeyColour key) {
    static const bool resourcesReady = (initControlsResources(), true);
    Q_UNUSED(resourcesReady);

    const int scale = devicePixelRatio > 1.0 ? 2 : 1;
    const QString cacheKey = QStringLiteral("marvok/controls/") + baseName + QString::number(scale);
    QPixmap pixmap;
    if (QPixmapCache::find(cacheKey, &pixmap))
        return pixmap;

    const QString path = QStringLiteral(":/controls/") + baseName +
                         (scale == 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
    QImage picture(path);
    if (key == KeyColour::PureBlue)
        picture = withoutKeyColour(picture);
    pixmap = QPixmap::fromImage(picture);
    pixmap.setDevicePixelRatio(scale);
    QPixmapCache::insert(cacheKey, pixmap);
    return pixmap;
}

} // namespace

QPixmap buttonSkin(qreal devicePixelRatio) {
    return load(QStringLiteral("button_skin"), devicePixelRatio, KeyColour::None);
}

QPixmap checkGlyphs(qreal devicePixelRatio) {
    return load(QStringLiteral("check_glyphs"), devicePixelRatio, KeyColour::None);
}

QPixmap optionGlyphs(qreal devicePixelRatio) {
    return load(QStringLiteral("option_glyphs"), devicePixelRatio, KeyColour::PureBlue);
}

QImage withoutKeyColour(const QImage& picture) {
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (line[x] == qRgb(0, 0, 255))
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return result;
}

QPixmap cellOf(const QPixmap& picture, const QRect& cell) {
    const qreal scale = picture.devicePixelRatio();
    QPixmap result = picture.copy(QRect(qRound(cell.x() * scale), qRound(cell.y() * scale),
                                        qRound(cell.width() * scale), qRound(cell.height() * scale)));
    result.setDevicePixelRatio(scale);
    return result;
}

} // namespace marvok::skin
