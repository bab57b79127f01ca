#pragma once
// The pictures the skinned controls are drawn from, compiled in from resources/controls/. Each exists
// at its size and at twice its size (name@2x.png) for screens scaled above 100%. The pixmaps carry
// their device pixel ratio; cell rectangles below are in units before that scaling.
#include <QImage>
#include <QPixmap>
#include <QRect>

namespace marvok::skin {

// 18 x 105: 5 rows, one per look, of 3 cells of 6 x 21 (left edge, face, right edge).
QPixmap buttonSkin(qreal devicePixelRatio);
// 104 x 13: 8 glyphs of 13 x 13, unticked normal, hover, pressed, disabled, then the same ticked.
QPixmap checkGlyphs(qreal devicePixelRatio);
// As checkGlyphs; pure blue marks what lies outside the glyph and is not drawn.
QPixmap optionGlyphs(qreal devicePixelRatio);

// Makes the pure-blue pixels of `picture` transparent.
QImage withoutKeyColour(const QImage& picture);

// The part `cell` of `picture`, with the picture's device pixel ratio.
QPixmap cellOf(const QPixmap& picture, const QRect& cell);

} // namespace marvok::skin
