// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shared fitting rule for an album picture record.

#include "album.h"
#include "picturefit.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace vimbrel {

inline Fit fitPicture(const PicRec& p, QSize box) {
    return fitPicture(QSize(p.pwidth, p.pheight), p.porient.bytes()[0], box);
}

// A frame's pixmap of `box` at the screen's pixel ratio `dpr`: transparent, with `image`
// (already at its drawn size) placed at `at`.
inline QPixmap framePixmap(QSize box, qreal dpr, QImage image, QPoint at) {
    QPixmap pm(box * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    image.setDevicePixelRatio(dpr);
    QPainter painter(&pm);
    painter.drawImage(at, image);
    painter.end();
    return pm;
}

} // namespace vimbrel
