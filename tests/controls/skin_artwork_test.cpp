#include "controls/skin_artwork.h"

#include <gtest/gtest.h>

using namespace marvok;

TEST(SkinArtwork, PicturesHaveTheirCellLayoutAtBothScales) {
    for (qreal ratio : {1.0, 2.0}) {
        const QPixmap skin = skin::buttonSkin(ratio);
        EXPECT_EQ(skin.devicePixelRatio(), ratio);
        EXPECT_EQ(skin.deviceIndependentSize(), QSizeF(18, 105));
        EXPECT_EQ(skin::checkGlyphs(ratio).deviceIndependentSize(), QSizeF(104, 13));
        EXPECT_EQ(skin::optionGlyphs(ratio).deviceIndependentSize(), QSizeF(104, 13));
        EXPECT_EQ(skin::cellOf(skin, QRect(6, 21, 6, 21)).size(), QSize(6, 21) * ratio);
    }
}

TEST(SkinArtwork, PureBlueIsLeftOut) {
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(0, 0, 255));
    picture.setPixel(1, 0, qRgb(0, 0, 254));
    const QImage keyed = skin::withoutKeyColour(picture);
    EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
    EXPECT_EQ(keyed.pixel(1, 0), qRgb(0, 0, 254));
}
