// SPDX-License-Identifier: GPL-3.0-or-later
#include "grouprules.h"

#include <QCoreApplication>

#include "editorviews.h"
#include "pagelogic.h"
#include "windowhub.h"

#include <algorithm>

namespace vimbrel {

namespace {

GrpRec newGroup(int first) {
    GrpRec g;
    g.gname = "Group Name";
    g.gdesc = "Group Description";
    g.gfirst = static_cast<Integer>(first);
    g.glast = static_cast<Integer>(first + minGroupFrames - 1);
    g.gcount = 0;
    return g;
}

// nframes follows the last group at once: PackPics reads it, so a stale value would leave
// pictures of a grown last group out of the packing.
void syncFrames(Album& a) {
    a.nframes = a.grps[a.ngrps].glast;
}

bool validGroup(const Album& a, int g) {
    return g >= 1 && g <= a.ngrps;
}

} // namespace

bool canAddGroup(const Album& a) {
    return a.grps[a.ngrps].glast + minGroupFrames <= a.maxpics && a.ngrps < maxGroups;
}

GroupButtons groupButtons(const Album& a, int gcur) {
    GroupButtons b;
    b.add = b.ins = canAddGroup(a);
    if (a.ngrps > 1) {
        b.del = true;
        b.left = gcur != 1;
        b.right = gcur != a.ngrps;
    }
    return b;
}

Integer GetLastPic(const Album& a) {
    const GrpRec& g = a.grps[a.ngrps];
    for (int f = g.glast; f >= g.gfirst; --f)
        if (a.frames[f] > 0)
            return static_cast<Integer>(f);
    return 0;
}

BoundaryRange boundaryRange(const Album& a, int gcur, int glastpic) {
    BoundaryRange r;
    const GrpRec& g = a.grps[gcur];
    if (gcur < a.ngrps) {
        r.gmin = g.gfirst + minGroupFrames - 1;
        r.gmax = a.grps[gcur + 1].glast - minGroupFrames;
    } else {
        r.gmax = a.maxpics;
        r.gmin = g.gfirst + minGroupFrames - 1;
        if (glastpic > 0)
            r.gmin = std::max(r.gmin, glastpic + glastpic % 2);
    }
    return r;
}

bool moveBoundary(Album& a, int gcur, int v) {
    if (!validGroup(a, gcur))
        return false;
    const int o = a.grps[gcur].glast;
    // The range is worked out afresh: the last group's last picture may have changed hands.
    const BoundaryRange r = boundaryRange(a, gcur, GetLastPic(a));
    if (v == o || v < r.gmin || v > r.gmax)
        return false;
    const bool next = gcur < a.ngrps;
    a.grps[gcur].glast = static_cast<Integer>(v);
    if (next)
        a.grps[gcur + 1].gfirst = static_cast<Integer>(v + 1);
    const int step = v > o ? 1 : -1;
    for (int f = std::min(o, v) + 1; f <= std::max(o, v); ++f) {
        if (a.frames[f] <= 0)
            continue;
        a.grps[gcur].gcount = static_cast<Integer>(a.grps[gcur].gcount + step);
        if (next)
            a.grps[gcur + 1].gcount = static_cast<Integer>(a.grps[gcur + 1].gcount - step);
    }
    syncFrames(a);
    return true;
}

int addGroup(Album& a) {
    if (!canAddGroup(a))
        return 0;
    const int first = a.grps[a.ngrps].glast + 1;
    a.ngrps = static_cast<Integer>(a.ngrps + 1);
    a.grps[a.ngrps] = newGroup(first);
    syncFrames(a);
    return a.ngrps;
}

bool insertGroup(Album& a, int gcur) {
    if (!validGroup(a, gcur) || !canAddGroup(a))
        return false;
    const int start = a.grps[gcur].gfirst;
    for (int f = a.grps[a.ngrps].glast; f >= start; --f) {
        a.frames[f + minGroupFrames] = a.frames[f];
        a.frames[f] = -1;
    }
    for (int g = a.ngrps; g >= gcur; --g) {
        GrpRec r = a.grps[g];
        r.gfirst = static_cast<Integer>(r.gfirst + minGroupFrames);
        r.glast = static_cast<Integer>(r.glast + minGroupFrames);
        a.grps[g + 1] = r;
    }
    a.ngrps = static_cast<Integer>(a.ngrps + 1);
    a.grps[gcur] = newGroup(start);
    if (a.curgrp > 0 && gcur <= a.curgrp)
        a.curgrp = static_cast<Integer>(a.curgrp + 1);
    syncFrames(a);
    return true;
}

namespace {

// Group `gone` leaves the list: the page view's group moves down one when it came after, and
// the view blanks when it was that group.
PageViewEffect groupLeaves(Album& a, int gone) {
    if (a.curgrp <= 0 || gone > a.curgrp)
        return PageViewEffect::None;
    if (gone < a.curgrp) {
        a.curgrp = static_cast<Integer>(a.curgrp - 1);
        return PageViewEffect::None;
    }
    a.curgrp = -1;
    a.grpa = -1;
    return PageViewEffect::Blank;
}

// Group `gone` merges into group `gone - 1`: as groupLeaves(), and when `gone - 1` is the shown
// group its totals change.
PageViewEffect mergedAway(Album& a, int gone) {
    const bool intoShown = a.curgrp > 0 && gone == a.curgrp + 1;
    const PageViewEffect effect = groupLeaves(a, gone);
    return intoShown ? PageViewEffect::BlankTotals : effect;
}

} // namespace

PageViewEffect deleteGroup(Album& a, int& gcur) {
    if (!validGroup(a, gcur) || a.ngrps < 2)
        return PageViewEffect::None;
    const GrpRec gone = a.grps[gcur];

    // The whole group goes, whatever part of it was selected; nothing else stays selected.
    for (int s = 1; s <= 1000; ++s)
        a.pics[s].psel = -1;
    for (int f = gone.gfirst; f <= gone.glast; ++f)
        if (a.frames[f] > 0)
            a.pics[a.frames[f]].psel = 0;
    a.nsel = gone.gcount;
    PackPics(a, static_cast<Integer>(gcur));

    const PageViewEffect effect = groupLeaves(a, gcur);

    const int oldEnd = a.grps[a.ngrps].glast;
    if (gcur < a.ngrps) {
        int to = gone.gfirst;
        for (int f = gone.glast + 1; f <= oldEnd; ++f)
            a.frames[to++] = a.frames[f];
    }
    const int d = gone.glast - gone.gfirst + 1;
    a.ngrps = static_cast<Integer>(a.ngrps - 1);
    for (int g = gcur; g <= a.ngrps; ++g) {
        GrpRec r = a.grps[g + 1];
        r.gfirst = static_cast<Integer>(r.gfirst - d);
        r.glast = static_cast<Integer>(r.glast - d);
        a.grps[g] = r;
    }
    for (int f = a.grps[a.ngrps].glast + 1; f <= oldEnd; ++f)
        a.frames[f] = -1;
    if (gcur > a.ngrps)
        gcur = a.ngrps;
    a.nsel = 0;
    for (int s = 1; s <= 1000; ++s)
        a.pics[s].psel = -1;
    syncFrames(a);
    return effect;
}

namespace {

// Removes record g, moving the later ones down.
void dropRecord(Album& a, int g) {
    for (int i = g; i < a.ngrps; ++i)
        a.grps[i] = a.grps[i + 1];
    a.ngrps = static_cast<Integer>(a.ngrps - 1);
}

} // namespace

PageViewEffect mergeLeft(Album& a, int& gcur) {
    if (!validGroup(a, gcur) || gcur < 2)
        return PageViewEffect::None;
    const PageViewEffect effect = mergedAway(a, gcur);
    GrpRec& left = a.grps[gcur - 1];
    left.glast = a.grps[gcur].glast;
    left.gcount = static_cast<Integer>(left.gcount + a.grps[gcur].gcount);
    dropRecord(a, gcur);
    --gcur;
    syncFrames(a);
    return effect;
}

PageViewEffect mergeRight(Album& a, int gcur) {
    if (!validGroup(a, gcur) || gcur >= a.ngrps)
        return PageViewEffect::None;
    // As the page view sees it, the right-hand group is the one that goes.
    const PageViewEffect effect = mergedAway(a, gcur + 1);
    GrpRec& right = a.grps[gcur + 1];
    right.gfirst = a.grps[gcur].gfirst;
    right.gcount = static_cast<Integer>(right.gcount + a.grps[gcur].gcount);
    dropRecord(a, gcur);
    syncFrames(a);
    return effect;
}

bool setGroupName(Album& a, int g, const QString& text, bool* changed) {
    if (changed)
        *changed = false;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    const FixedText<30> stored(t);
    if (!(stored == a.grps[g].gname)) {
        a.grps[g].gname = stored;
        if (changed)
            *changed = true;
    }
    return true;
}

bool setGroupDesc(Album& a, int g, const QString& text) {
    const FixedText<50> stored(text.trimmed());
    if (stored == a.grps[g].gdesc)
        return false;
    a.grps[g].gdesc = stored;
    return true;
}

QString deleteQuestion(const Album& a, int g) {
    return QCoreApplication::translate("phgrp", "Delete Group: ") + a.grps[g].gname.text();
}
QString mergeLeftQuestion(const Album& a, int g) {
    return QCoreApplication::translate("phgrp", "Merge Left Group: ") + a.grps[g].gname.text();
}
QString mergeRightQuestion(const Album& a, int g) {
    return QCoreApplication::translate("phgrp", "Merge Right Group: ") + a.grps[g].gname.text();
}

QString framesCaption(int gframes) {
    // The number carries a blank in its sign position.
    return QCoreApplication::translate("phgrp", "Frames:") +
           (gframes < 0 ? QString() : QStringLiteral(" ")) + QString::number(gframes);
}

void returnToPageView(Album& a, WindowHub& hub, EditorPageViews* extra, int gcur, bool gdirty) {
    if (gdirty) {
        if (a.canwrite == 'Y')
            a.changed = 'y';
        syncFrames(a);
    }
    if (!gdirty && gcur == a.curgrp)
        return;
    a.curgrp = static_cast<Integer>(gcur);
    hub.SetTotPg();
    const GrpRec& g = a.grps[a.curgrp];
    const auto drawSpread = [&] {
        hub.DispPage(a.curpage);
        hub.DispPage(a.curpage + 1);
    };
    if (g.gfirst != a.grpa) {
        a.curpage = 1;
        drawSpread();
    } else if (a.npages >= 1 && a.curpage > a.npages) {
        // The group shrank below the spread on show: its last spread, not empty pages.
        a.curpage = static_cast<Integer>(lastSpread(a.npages));
        drawSpread();
    } else if (g.glast < a.grpb || (g.glast > a.grpb && a.grpb != a.grpc)) {
        drawSpread();
    } else if (extra) {
        extra->showNextPageArrow(a.curpage + 2 <= a.npages);
    } else {
        drawSpread(); // no other way to reach the arrow
    }
    hub.setGroupLabels(g.gcount, g.glast - g.gfirst + 1,
                       QCoreApplication::translate("phgrp", "Group: ") + g.gname.trimmed() +
                           QStringLiteral("   - ") + g.gdesc.trimmed());
}

Span redBar(const StripMetrics& m, int gfirst, int glast) {
    const int start = m.gbase + (gfirst >= 3 ? gfirst / 2 : 1) * m.unit;
    return {start, m.marker(glast) - start};
}

BoundaryBar boundaryBar(const StripMetrics& m, int gmin, int gmax) {
    const int s = m.x(gmin), e = m.x(gmax);
    BoundaryBar b;
    // The original's width 46 - W + (E - S) is this at its marker width of 7.
    b.bar = {s - (m.markerWidth + m.arrow), e - s + m.markerWidth + 2 * m.arrow};
    b.block0 = b.bar.left;
    b.block1 = b.bar.left + b.bar.width - m.arrow;
    return b;
}

} // namespace vimbrel
