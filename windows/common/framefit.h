// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shared fitting rule for an album picture record, and the frame pixmap a fitted picture
// is drawn into at the screen's pixel ratio: the page frames, the Photo Box strip, the group
// editor and the import preview show pictures this one way.

#include "album.h"
#include "picturefit.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace vimbrel {

inline Fit fitPicture(const PicRec& p, QSize box) {
    return fitPicture(QSize(p.pwidth, p.pheight), p.porient.bytes()[0], box);
}

// The size in device pixels a picture drawn at `logical` size is asked for at.
inline QSize devicePixels(QSize logical, qreal dpr) {
    return (QSizeF(logical) * dpr).toSize();
}

// A frame's pixmap of `box` at the screen's pixel ratio `dpr`, transparent: what a frame shows
// until its picture arrives, and what an unreadable picture leaves.
inline QPixmap emptyFramePixmap(QSize box, qreal dpr) {
    QPixmap pm(box * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

// The same with `image` (made at devicePixels(rect.size(), dpr)) drawn into `rect`, where the
// fitting rule placed it.
inline QPixmap framePixmap(QSize box, qreal dpr, QImage image, const QRect& rect) {
    QPixmap pm = emptyFramePixmap(box, dpr);
    image.setDevicePixelRatio(dpr);
    QPainter painter(&pm);
    painter.drawImage(QRectF(rect), image);
    painter.end();
    return pm;
}

} // namespace vimbrel
