#include "pagedrop.h"

namespace vimbrel {

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
        a.frames[t++] = a.npics;
    }
    a.grps[a.curgrp].gcount = static_cast<Integer>(a.grps[a.curgrp].gcount + pictures.size());
    a.changed = 'y';
}

} // namespace vimbrel
