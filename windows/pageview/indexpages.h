// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The album's table of contents on the two pages of the book: I-1/I-2 hold groups 1..28,
// I-3 groups 29..42, fourteen to a page.

#include "album.h"

#include <QList>
#include <QString>

namespace vimbrel {

struct IndexLine {
    QString text;
    int group = 0; // 0 for the header lines
};

struct IndexSpread {
    QList<IndexLine> left;  // idxlst(0)
    QList<IndexLine> right; // idxlst(1)
    bool rightShown = false;
    QString pgnum0;
    QString pgnum1;
    bool pgleft = false;
    bool pgright = false;
};

// The spread for curpage -1 (I-1/I-2) or -3 (I-3).
IndexSpread indexSpread(const Album& a);

} // namespace vimbrel
