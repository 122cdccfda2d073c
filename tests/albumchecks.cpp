// SPDX-License-Identifier: GPL-3.0-or-later
// What the stress session checks after every action: the album's invariants, an encode-decode
// round trip, and the saved file.

#include "albumfile.h"
#include "albumsession.h"
#include "pagelogic.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace vimbrel::test {

// ---- the checks

namespace {

QString name(const PicRec& p) {
    return p.pfile.trimmed();
}

// The first difference between two albums in what the album file holds, selection aside.
QString difference(const Album& x, const Album& y) {
    if (x.albname.trimmed() != y.albname.trimmed() || x.albdesc.trimmed() != y.albdesc.trimmed())
        return QStringLiteral("names");
    if (x.npics != y.npics || x.npbox != y.npbox || x.ngrps != y.ngrps || x.nframes != y.nframes)
        return say("counts %1/%2/%3/%4 against %5/%6/%7/%8", x.npics, x.npbox, x.ngrps, x.nframes,
                   y.npics, y.npbox, y.ngrps, y.nframes);
    const auto samePic = [](const PicRec& p, const PicRec& q) {
        return p.pfile == q.pfile && p.porient == q.porient && p.psdesc == q.psdesc &&
               p.pldesc == q.pldesc && p.pwidth == q.pwidth && p.pheight == q.pheight;
    };
    for (int s = 1; s <= x.npics; ++s)
        if (!samePic(x.pics[s], y.pics[s]))
            return QStringLiteral("album slot %1").arg(s);
    for (int s = 1001 - x.npbox; s <= 1000; ++s)
        if (!samePic(x.pics[s], y.pics[s]))
            return QStringLiteral("box slot %1").arg(s);
    for (int g = 1; g <= x.ngrps; ++g) {
        const GrpRec &p = x.grps[g], &q = y.grps[g];
        if (p.gname != q.gname || p.gdesc != q.gdesc || p.gfirst != q.gfirst ||
            p.glast != q.glast || p.gcount != q.gcount)
            return QStringLiteral("group %1").arg(g);
    }
    for (int f = 1; f <= x.nframes; ++f)
        if (x.frames[f] != y.frames[f])
            return QStringLiteral("frame %1").arg(f);
    return {};
}

// `bytes` decoded and compared with the album; `what` names them in the report.
QString readBackProblem(const Album& a, const QByteArray& bytes, const QString& what) {
    Album back;
    ClearAlbum(back);
    const AlbumDecode d = decodeAlbum(bytes, back);
    if (d.outcome != AlbumDecode::Ok)
        return what + QStringLiteral(" does not open: ") + d.problem;
    const QString diff = difference(a, back);
    return diff.isEmpty() ? QString() : what + QStringLiteral(" differs: ") + diff;
}

} // namespace

QString AlbumSession::state() const {
    return say("canwrite %1 changed %2 group %3 of %4, page %5 of %6, nsel %7, pbsel %8, "
               "%9 pictures, %10 in the box",
               QChar::fromLatin1(a.canwrite), QChar::fromLatin1(a.changed), a.curgrp, a.ngrps,
               a.curpage, a.npages, a.nsel, a.pbsel, a.npics, a.npbox);
}

QString AlbumSession::problem() const {
    QStringList p;
    if (a.canwrite != 'Y' || a.albfile.isEmpty())
        p << QStringLiteral("the album is no longer open for changes");
    if (a.ngrps < 1 || a.ngrps > 42)
        return say("ngrps %1", a.ngrps);
    if (a.grps[1].gfirst != 1)
        p << say("group 1 starts at %1", a.grps[1].gfirst);
    for (int g = 1; g <= a.ngrps; ++g) {
        const GrpRec& r = a.grps[g];
        if (r.gfirst > r.glast || (g > 1 && r.gfirst != a.grps[g - 1].glast + 1))
            p << say("group %1 spans %2..%3", g, r.gfirst, r.glast);
        if (const int n = countGroupPictures(a, static_cast<Integer>(g)); r.gcount != n)
            p << say("group %1 gcount %2, holds %3", g, r.gcount, n);
    }
    if (a.nframes != a.grps[a.ngrps].glast || a.nframes > 1000)
        p << say("nframes %1", a.nframes);
    if (a.npics < 0 || a.npbox < 0 || a.npics + a.npbox > 1000)
        return say("npics %1 npbox %2", a.npics, a.npbox);
    if (a.npbox > 0 && a.pbfirst != 1001 - a.npbox)
        p << say("pbfirst %1 with %2 in the box", a.pbfirst, a.npbox);
    if (a.npbox > 0 && (a.pbtop < a.pbfirst || a.pbtop > 1000))
        p << QStringLiteral("pbtop %1").arg(a.pbtop);
    QList<int> seen(a.npics + 1, 0);
    for (int f = 1; f <= 1000; ++f) {
        const int s = a.frames[f];
        if (s == -1)
            continue;
        if (f > a.nframes || s < 1 || s > a.npics) {
            p << say("frame %1 holds slot %2", f, s);
            continue;
        }
        ++seen[s];
    }
    for (int s = 1; s <= a.npics; ++s)
        if (seen[s] != 1)
            p << say("album slot %1 in %2 frames", s, seen[s]);
    // One file, one record; and every file the album names is there.
    QSet<QString> files;
    const auto named = [&](int s) {
        const QString f = name(a.pics[s]).toLower();
        if (files.contains(f))
            p << QStringLiteral("two records name %1").arg(f);
        files.insert(f);
        if (!QFileInfo(a.picdir + name(a.pics[s])).isFile())
            p << QStringLiteral("%1 is missing").arg(f);
    };
    for (int s = 1; s <= a.npics; ++s)
        named(s);
    for (int s = 1001 - a.npbox; s <= 1000; ++s)
        named(s);
    // The selection counts.
    if (a.curgrp >= 1 && a.curgrp <= a.ngrps && a.curpage >= 1) {
        int selected = 0;
        for (int f = a.grps[a.curgrp].gfirst; f <= a.grps[a.curgrp].glast; ++f)
            if (a.frames[f] > 0 && a.pics[a.frames[f]].psel == 0)
                ++selected;
        if (selected != a.nsel)
            p << say("nsel %1, %2 selected", a.nsel, selected);
    }
    if (a.pbsel >= 0) {
        int marked = 0;
        for (int s = 1001 - a.npbox; s <= 1000; ++s)
            marked += a.wpics[s].psel == 0 ? 1 : 0;
        if (marked != a.pbsel)
            p << say("pbsel %1, %2 marked", a.pbsel, marked);
    }
    // The page on show.
    if (a.curpage >= 1) {
        if (a.curgrp < 1 || a.curgrp > a.ngrps)
            p << say("curgrp %1 on page %2", a.curgrp, a.curpage);
        else if (a.curpage % 2 != 1 || a.curpage > lastSpread(a.npages))
            p << say("curpage %1 of %2", a.curpage, a.npages);
    } else if (a.curpage != -1 && a.curpage != -3) {
        p << QStringLiteral("curpage %1").arg(a.curpage);
    }
    return p.join(QStringLiteral("; "));
}

QString AlbumSession::roundTripProblem() const {
    return readBackProblem(a, encodeAlbum(a), QStringLiteral("the album read back"));
}

QString AlbumSession::savedProblem() {
    QFile f(a.albfile);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("the album file cannot be read");
    const QByteArray bytes = f.readAll();
    if (bytes == m_saved)
        return {};
    // Written during the last action: it holds the album as the action left it.
    m_saved = bytes;
    return readBackProblem(a, bytes, QStringLiteral("the saved album"));
}

} // namespace vimbrel::test
