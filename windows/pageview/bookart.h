// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The open book the page view draws on, and the leaf that turns over it; drawn by code at
// any size and device pixel ratio.

#include <QPixmap>
#include <QSize>

namespace vimbrel {

// The plain open book: leather cover, two cream pages and the gutter.
QPixmap bookPixmap(QSize size, qreal dpr);

// The leaf of turning step 1..5 on a transparent sheet of the book's size: step 1 has just
// left the right page, step 3 stands upright over the gutter, step 5 lies almost on the left
// page. A turn to the right shows steps 1 to 5, a turn to the left 5 to 1.
QPixmap leafPixmap(QSize size, qreal dpr, int step);

// Where the pages lie on a book of `size`: the left page's rectangle; the right one mirrors it.
QRect leftPageRect(QSize size);

} // namespace vimbrel
