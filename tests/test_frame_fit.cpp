// SPDX-License-Identifier: GPL-3.0-or-later
// The frame pixmap every window draws a fitted picture into, at the screen's pixel ratio.

#include "framefit.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

using namespace vimbrel;

namespace {

// The pixel of `img` at logical point `p`, at pixel ratio `dpr`.
QRgb at(const QImage& img, QPointF p, qreal dpr) {
    return img.pixel((p * dpr).toPoint());
}

} // namespace

// The picture fills its place and only that: the frame around it stays transparent, whatever
// the pixel ratio, and a picture decoded smaller than asked (a preview from a small embedded
// thumbnail) is still stretched over its place rather than left in a corner.
TEST(FrameFit, ThePictureFillsItsPlaceAndNothingElse) {
    struct Case {
        qreal dpr;
        QRect rect;
        QSize image; // empty: as asked, devicePixels(rect.size(), dpr)
    };
    const QSize box(100, 80);
    for (const Case& c : {
             Case{1, {10, 20, 50, 40}, {}},
             Case{2, {10, 20, 50, 40}, {}},
             Case{1.5, {7, 3, 61, 41}, {}}, // 91.5 x 61.5 device pixels
             Case{1, {10, 20, 50, 40}, {25, 20}},
             Case{2, {0, 0, 100, 80}, {50, 40}},
         }) {
        SCOPED_TRACE(testing::Message() << c.dpr << " " << c.image.width());
        QImage picture(c.image.isEmpty() ? devicePixels(c.rect.size(), c.dpr) : c.image,
                       QImage::Format_ARGB32);
        picture.fill(Qt::red);
        const QPixmap pm = framePixmap(box, c.dpr, picture, c.rect);
        EXPECT_EQ(pm.devicePixelRatio(), c.dpr);
        EXPECT_EQ(pm.size(), box * c.dpr);
        const QImage drawn = pm.toImage();
        const QRectF r = QRectF(c.rect).adjusted(1, 1, -1, -1); // clear of the rounded edges
        for (const QPointF p :
             {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(), r.center()})
            EXPECT_EQ(at(drawn, p, c.dpr), qRgb(255, 0, 0)) << p.x() << "," << p.y();
        for (const QPointF p : {QPointF(c.rect.left() - 1, c.rect.top()),
                                QPointF(c.rect.right() + 2, c.rect.bottom()),
                                QPointF(c.rect.left(), c.rect.bottom() + 2)})
            if (QRectF(QPointF(), box).contains(p))
                EXPECT_EQ(qAlpha(at(drawn, p, c.dpr)), 0) << p.x() << "," << p.y();
    }
}

TEST(FrameFit, AnEmptyFrameIsTransparentAtThePixelRatio) {
    const QPixmap pm = emptyFramePixmap({108, 72}, 2);
    EXPECT_EQ(pm.size(), QSize(216, 144));
    EXPECT_EQ(pm.devicePixelRatio(), 2);
    const QImage img = pm.toImage();
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(img.pixel(215, 143)), 0);
}
