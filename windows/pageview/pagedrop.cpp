// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagedrop.h"

#include <algorithm>

namespace vimbrel {

bool togglePhoto(Album& a, int f) {
    PicRec& p = a.pics[a.frames[f]];
    const bool selected = p.psel != 0;
    p.psel = selected ? Integer(0) : Integer(-1);
    a.nsel = static_cast<Integer>(a.nsel + (selected ? 1 : -1));
    return selected;
}

bool pressPhoto(Album& a, int f) {
    PicRec& p = a.pics[a.frames[f]];
    if (a.nsel == 0) {
        p.psel = 0;
        a.nsel = 1;
    }
    return p.psel == 0;
}

bool dropStartedHere(const Album& a, int k) {
    return a.curslot == k && a.framepage == a.curpage;
}

void swapFrames(Album& a) {
    std::swap(a.frames[a.curframe], a.frames[a.dragsrc]);
    a.changed = 'y';
}

bool moveSelectedRun(Album& a) {
    CountFree(a, a.curframe);
    if (a.nfree < a.nsel)
        return false;
    ListSelected(a);
    for (int i = 1; i <= a.nsel; ++i) {
        const Integer from = a.wpics[i].psel;
        a.frames[a.curframe + i - 1] = a.frames[from];
        a.frames[from] = -1;
    }
    a.changed = 'y';
    return true;
}

void moveOne(Album& a) {
    a.frames[a.curframe] = a.frames[a.dragsrc];
    a.frames[a.dragsrc] = -1;
    a.changed = 'y';
}

void replaceFromBox(Album& a) {
    PicRec& inFrame = a.pics[a.frames[a.curframe]];
    a.tpic = inFrame;
    inFrame = a.pics[a.dragsrc];
    inFrame.psel = -1; // see placeInFrames
    a.pics[a.dragsrc] = a.tpic;
    a.changed = 'y';
}

QList<PicRec> boxSelection(const Album& a) {
    QList<PicRec> out;
    if (a.pbsel == 1) {
        out.append(a.pics[a.dragsrc]);
        return out;
    }
    for (int s = a.pbfirst; s <= 1000; ++s)
        if (a.wpics[s].psel == 0)
            out.append(a.pics[s]);
    return out;
}

void placeInFrames(Album& a, const QList<PicRec>& pictures) {
    int t = a.curframe;
    for (const PicRec& p : pictures) {
        ++a.npics;
        a.pics[a.npics] = p;
        // Select All marks the box's slots too; a picture arriving with that mark would count
        // as selected on the page without nsel knowing.
        a.pics[a.npics].psel = -1;
        a.frames[t++] = a.npics;
    }
    a.grps[a.curgrp].gcount = static_cast<Integer>(a.grps[a.curgrp].gcount + pictures.size());
    a.changed = 'y';
}

bool landsInFrames(Album& a, int f, int count) {
    if (count < 1 || f < 1 || f > a.nframes || a.frames[f] > 0)
        return false;
    CountFree(a, static_cast<Integer>(f));
    return a.nfree >= count;
}

void selectBoxTail(Album& a, int count) {
    count = std::min(count, int(a.npbox));
    const int first = 1001 - count;
    for (int s = a.pbfirst; s <= 1000; ++s)
        a.wpics[s].psel = s >= first ? Integer(0) : Integer(-1);
    a.pbsel = static_cast<Integer>(count);
    a.dragsrc = static_cast<Integer>(first);
}

} // namespace vimbrel
