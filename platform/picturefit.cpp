// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturefit.h"

#include <cmath>

namespace vimbrel {

int roundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

Fit fitPicture(QSize stored, char porient, QSize box) {
    Fit f;
    if (porient == 'e' || stored.width() <= 0 || stored.height() <= 0 || box.isEmpty())
        return f;
    f.angle = porient == 'L' ? 0 : porient == 'P' ? 90 : 270;
    // Compared and drawn as shown: a turned picture swaps its sides.
    const QSize shown = f.angle ? stored.transposed() : stored;
    const int bw = box.width(), bh = box.height();
    int w = shown.width(), h = shown.height();
    if (w > bw || h > bh) {
        const double r = double(shown.width()) / shown.height();
        if (double(bw) / bh <= r) {
            w = bw;
            h = roundHalfEven(bw / r);
        } else {
            h = bh;
            w = roundHalfEven(r * bh);
        }
    }
    if (w <= 0 || h <= 0)
        return f; // a sliver that rounds away
    f.draw = true;
    f.rect = QRect(roundHalfEven((bw - w) / 2.0), roundHalfEven((bh - h) / 2.0), w, h);
    return f;
}

} // namespace vimbrel
