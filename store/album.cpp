// SPDX-License-Identifier: GPL-3.0-or-later
#include "album.h"

#include "ui.h"

namespace vimbrel {

Album::Album()
    : m_silentUi(std::make_unique<SilentUi>()), m_noViews(std::make_unique<AlbumViews>()) {
    ui = m_silentUi.get();
    views = m_noViews.get();
    pgframes.fill(0);
}

Album::~Album() = default;

void ClearAlbum(Album& a) {
    a.canwrite = 'N';
    a.changed = 'n';
    a.nsel = 0;
    a.pbsel = -1;
    a.nfree = 0;
    a.npics = 0;
    a.npbox = 0;
    a.pbtop = 0;
    a.pbfirst = 0;
    a.curpage = IndexPage::first;
    a.overtool = -1;
    a.albdesc = FixedText<40>();

    GrpRec& g = a.grps[1];
    g.gname = "Group Name";
    g.gdesc = "Group Description";
    g.gfirst = 1;
    g.glast = a.maxpics;
    g.gcount = 0;
    a.ngrps = 1;
    a.curgrp = 1;
    a.nframes = g.glast;

    for (int n = 1; n <= 1000; ++n) {
        a.pics[n].porient = "e";
        a.pics[n].pflag = "n";
        a.frames[n] = -1;
        a.fileused[n] = 0;
        a.filenew[n] = 0;
    }

    a.views->setAlbumDescLabel(QString());
    a.views->SetPage();
}

void SetAllSel(Album& a, Integer v) {
    a.nsel = v >= 0 ? a.grps[a.curgrp].gcount : Integer(0);
    for (int p = 0; p <= 23; ++p) {
        if (v < 0) {
            a.views->showSelMark(p, false);
        } else if (a.pgframes[p] >= 1) {
            a.views->showSelMark(p, a.frames[a.pgframes[p]] > 0);
        }
    }
    for (int n = 1; n <= 1000; ++n)
        a.pics[n].psel = v;
    a.views->setSelCount(a.nsel);
    a.views->Set_it(SetItCode::commandRan);
}

void CountFree(Album& a, Integer f) {
    a.nfree = 0;
    for (int F = f; F <= a.grps[a.curgrp].glast; ++F) {
        if (a.frames[F] > 0)
            break;
        ++a.nfree;
    }
}

void ListSelected(Album& a) {
    int k = 0;
    const GrpRec& g = a.grps[a.curgrp];
    for (int F = g.gfirst; F <= g.glast; ++F) {
        const Integer p = a.frames[F];
        if (p > 0 && a.pics[p].psel == 0)
            a.wpics[++k].psel = static_cast<Integer>(F);
    }
}

int ListSelectedSlots(Album& a) {
    if (a.curgrp < 1 || a.curgrp > a.ngrps)
        return 0;
    const GrpRec& g = a.grps[a.curgrp];
    if (g.gfirst < 1 || g.glast > 1000)
        return 0;
    ListSelected(a);
    int n = 0;
    for (int F = g.gfirst; F <= g.glast; ++F) {
        const Integer p = a.frames[F];
        if (p > 0 && a.pics[p].psel == 0)
            ++n;
    }
    for (int i = 1; i <= n; ++i)
        a.wpics[i].psel = a.frames[a.wpics[i].psel];
    return n;
}

Integer PackPics(Album& a, Integer g) {
    // Only group g's selected pictures move. Select All marks every slot, and a picture of
    // another group taken out of the table while its frame still pointed at it would leave
    // that frame naming a slot the album no longer holds. The count comes from the marks for
    // the same reason: a stale nsel would move too few or too many.
    const auto moves = [&](int F) {
        const Integer p = a.frames[F];
        return p > 0 && a.pics[p].psel == 0 && F >= a.grps[g].gfirst && F <= a.grps[g].glast;
    };
    Integer n = 0;
    for (int F = a.grps[g].gfirst; F <= a.grps[g].glast; ++F)
        if (moves(F))
            ++n;
    // The box selection lives in wpics, which this overwrites, and the box's slots move down:
    // its marks would name other pictures (a Delete would take those).
    if (n > 0 && a.pbsel >= 0)
        ClearPboxSel(a);
    if (a.npbox == 0) {
        // A cleared album has pbfirst 0; the run of moved pictures must still end at 1000.
        a.pbfirst = 1001;
        a.pbtop = 1001;
    }
    int bp = a.pbfirst - n;

    for (int i = 1; i <= a.npics; ++i)
        a.wpics[i] = a.pics[i];
    if (a.npbox > 0)
        for (int j = a.pbfirst; j <= 1000; ++j)
            a.wpics[j] = a.pics[j];

    for (int F = 1; F <= a.nframes; ++F) {
        const Integer p = a.frames[F];
        if (p > 0)
            a.wpics[p].psel = moves(F) ? Integer(-1) : static_cast<Integer>(F);
    }

    if (a.npbox > 0)
        for (int j = a.pbfirst; j <= 1000; ++j)
            a.pics[bp + j - a.pbfirst] = a.wpics[j];
    bp = 1001 - n;

    for (int F = a.grps[g].gfirst; F <= a.grps[g].glast; ++F) {
        const Integer p = a.frames[F];
        if (p > 0 && a.wpics[p].psel == -1) {
            a.pics[bp++] = a.wpics[p];
            a.frames[F] = -1;
        }
    }

    int k = 1;
    for (int i = 1; i <= a.npics; ++i) {
        if (a.wpics[i].psel < 0)
            continue;
        a.pics[k] = a.wpics[i];
        if (a.pics[k].psel > 0)
            a.frames[a.pics[k].psel] = static_cast<Integer>(k);
        ++k;
    }

    if (n > 0) {
        const Integer oldFirst = a.pbfirst;
        a.npbox = static_cast<Integer>(a.npbox + n);
        a.npics = static_cast<Integer>(a.npics - n);
        a.pbtop = static_cast<Integer>(a.pbtop - n);
        a.pbfirst = a.pbtop;
        a.views->LoadFS(LoadFSCode::fromStart);
        a.pbfirst = static_cast<Integer>(oldFirst - n);
    }
    return n;
}

void ClearPboxSel(Album& a) {
    a.pbsel = -1;
    a.views->hidePboxSelMarks();
    a.views->setPboxSelCount(0);
}

Integer countGroupPictures(const Album& a, Integer g) {
    Integer c = 0;
    for (int F = a.grps[g].gfirst; F <= a.grps[g].glast; ++F)
        if (a.frames[F] > 0)
            ++c;
    return c;
}

} // namespace vimbrel
