// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a picture was drawn into a transparent box: the bounds of its opaque pixels.

#include <QImage>
#include <QPixmap>
#include <QRect>

namespace vimbrel::test {

inline QRect drawnRect(const QPixmap& box) {
    const QImage img = box.toImage().convertToFormat(QImage::Format_ARGB32);
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) == 255)
                r |= QRect(x, y, 1, 1);
    return r;
}

} // namespace vimbrel::test
