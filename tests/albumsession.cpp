// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumsession.h"

#include "albumfile.h"
#include "descrules.h"
#include "grouprules.h"
#include "importrules.h"
#include "importrun.h"
#include "pagedrop.h"
#include "pagelogic.h"
#include "picfiles.h"
#include "picturefiles.h"
#include "ui.h"

#include <QDir>

#include <algorithm>

namespace vimbrel::test {

class SessionUi : public SilentUi {
public:
    QStringList errors;
    MsgAnswer message(const QString& title, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override {
        if (icon == MsgIcon::Critical || title.endsWith(QLatin1String("ERROR")))
            errors.append(title + QStringLiteral(": ") + text);
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
    }
};

AlbumSession::AlbumSession(unsigned seed, int sources)
    : m_album(std::make_unique<Album>()), a(*m_album), rnd(seed),
      m_ui(std::make_unique<SessionUi>()),
      m_pictures(m_tmp.filePath(QStringLiteral("thumbs")), 4 << 20) {
    a.ui = m_ui.get();
    a.views = this;
    a.sizes[1] = {108, 72, 4, 3};
    a.sizes[2] = {200, 133, 3, 1};
    a.sizes[3] = {324, 216, 2, 1};
    a.pgsize = 3;
    a.descon = 'n';
    ClearAlbum(a);
    a.albname = QStringLiteral("TRIP");
    a.albtitle = QStringLiteral("TRIP.vmb");
    a.albfile = m_tmp.filePath(QStringLiteral("TRIP.vmb"));
    a.picdir = m_tmp.filePath(QStringLiteral("TRIP/"));
    a.cfgfile = m_tmp.filePath(QStringLiteral("vimbra.cfg"));
    a.cfglist.append(AlbumList::other, AlbumList::other);
    a.albdesc = QStringLiteral("A trip");
    a.canwrite = 'Y';
    QDir().mkpath(a.picdir);
    m_card = m_tmp.filePath(QStringLiteral("card"));
    QDir().mkpath(m_card);
    for (int i = 0; i < sources; ++i) {
        const int w = 24 + 8 * (i % 4), h = 16 + 8 * ((i / 2) % 3);
        const QString file = QStringLiteral("img%1.jpg").arg(i);
        writeFile(m_card + QLatin1Char('/') + file, jpegBytes(markedPicture(w, h)));
        m_sources.append(file);
    }
    fillAlbum();
    WriteAlbum(a);
    m_saved = encodeAlbum(a);
    a.curpage = IndexPage::first;
    SetPage();
}

AlbumSession::~AlbumSession() {
    a.alblock.release(); // before the temporary folder holding the lock goes
}

void AlbumSession::fillAlbum() {
    const int lasts[] = {24, 72, 1000};
    a.ngrps = 3;
    for (int g = 1; g <= 3; ++g) {
        GrpRec& r = a.grps[g];
        r.gname = QStringLiteral("Group %1").arg(g);
        r.gdesc = QStringLiteral("About group %1").arg(g);
        r.gfirst = static_cast<Integer>(g == 1 ? 1 : lasts[g - 2] + 1);
        r.glast = static_cast<Integer>(lasts[g - 1]);
    }
    a.nframes = 1000;
    const QByteArray bytes = jpegBytes(markedPicture(24, 16));
    const auto picture = [&](int slot, int n) {
        PicRec& p = a.pics[slot];
        p.pfile = pictureFileName(n, QStringLiteral("jpg"));
        p.pflag = "n";
        p.porient = "L";
        p.psdesc = QStringLiteral("short %1").arg(n);
        p.pldesc = QString();
        p.pwidth = 24;
        p.pheight = 16;
        p.psel = -1;
        writeFile(a.picdir + p.pfile.trimmed(), bytes);
        a.fileused[n] = -1;
    };
    for (int n = 1; n <= 30; ++n) {
        picture(n, n);
        // Most in the first two groups, so every group's moves meet pictures.
        const int g = n <= 12 ? 1 : n <= 24 ? 2 : 3;
        int f;
        do
            f = pick(a.grps[g].gfirst, g == 3 ? 120 : a.grps[g].glast);
        while (a.frames[f] > 0);
        a.frames[f] = static_cast<Integer>(n);
    }
    a.npics = 30;
    a.npbox = 5;
    a.pbfirst = a.pbtop = 996;
    for (int i = 0; i < 5; ++i)
        picture(996 + i, 31 + i);
    for (int g = 1; g <= 3; ++g)
        a.grps[g].gcount = countGroupPictures(a, static_cast<Integer>(g));
}

QStringList AlbumSession::errors() const {
    return m_ui->errors;
}

// ---- what the other windows do when called

void AlbumSession::SetTotPg() {
    const GrpRec& g = a.grps[a.curgrp];
    a.npages = static_cast<Integer>(pageCount(g.glast - g.gfirst + 1, framesPerPage(a)));
}

void AlbumSession::SetPage() {
    if (a.curpage < 0) {
        Set_it(SetItCode::reset);
        return;
    }
    for (int k = 0; k < 24; ++k)
        a.pgframes[k] = -1;
    SetTotPg();
    DispPage(a.curpage);
    DispPage(a.curpage + 1);
}

void AlbumSession::DispPage(int p) {
    if (a.curpage < 0)
        return;
    const int fpp = framesPerPage(a);
    const GrpRec& g = a.grps[a.curgrp];
    a.grpa = 0;
    a.grpb = 0;
    int f = 0, from = 0, to = 0;
    if (p == DispPageCode::oneFrame) {
        f = a.curframe;
        from = to = a.curslot;
    } else if (p == a.curpage) {
        f = (a.curpage - 1) * fpp + g.gfirst;
        to = fpp - 1;
    } else {
        f = a.curpage * fpp + g.gfirst;
        from = 12;
        to = fpp + 11;
        a.grpb = a.grpc = static_cast<Integer>(std::min<int>(f + fpp - 1, 32767));
        if (a.grpb > g.glast)
            a.grpb = g.glast;
    }
    for (int k = from; k <= to; ++k, ++f) {
        if (p > 0)
            a.pgframes[k] = -1;
        if (f > g.glast)
            continue;
        if (p > 0)
            a.pgframes[k] = static_cast<Integer>(f);
    }
}

// ---- the page view

void AlbumSession::showIndex() {
    if (a.curpage >= 1 && !toolShown(13))
        return;
    log = QStringLiteral("index");
    ClearPboxSel(a);
    SetAllSel(a, -1);
    a.curpage = IndexPage::first;
    SetPage();
}

void AlbumSession::openGroup(int g) {
    if (a.curpage >= 0 || g < 1 || g > a.ngrps)
        return;
    log = say("open group %1", g);
    a.curgrp = static_cast<Integer>(g);
    a.curpage = 1;
    SetPage();
    Set_it(SetItCode::reset);
}

void AlbumSession::selectAllTool() {
    if (a.curpage < 1 || !toolShown(15))
        return;
    log = say("select all/none, nsel %1", a.nsel);
    ClearPboxSel(a);
    SetAllSel(a, a.nsel >= 1 ? Integer(-1) : Integer(0));
}

bool AlbumSession::pagePress(int k, bool left) {
    m_armed = false;
    a.curslot = static_cast<Integer>(k);
    a.dragsrc = a.pgframes[k];
    if (a.dragsrc < 1 || a.frames[a.dragsrc] < 1)
        return false;
    if (!left) {
        ClearPboxSel(a);
        togglePhoto(a, a.dragsrc);
        Set_it(SetItCode::selectionChanged);
        Set_it(SetItCode::spreadChanged);
        return false;
    }
    if (a.canwrite != 'Y')
        return false;
    if (a.nsel == 0)
        ClearPboxSel(a);
    m_armed = pressPhoto(a, a.dragsrc);
    if (m_armed) { // the mouse moves: the drag starts
        a.framepage = a.curpage;
        a.nfree = 0;
    }
    return m_armed;
}

void AlbumSession::toggleFrame(int k) {
    if (a.curpage < 1)
        return;
    log = say("right click position %1 (frame %2)", k, a.pgframes[k]);
    pagePress(k, false);
}

void AlbumSession::dropOnPage(int k, bool fromBox) {
    a.curframe = a.pgframes[k];
    if (a.curframe < 1)
        return;
    const bool occupied = a.frames[a.curframe] > 0;
    if (!fromBox) {
        if (dropStartedHere(a, k)) {
        } else if (occupied) {
            if (a.nsel == 1)
                swapFrames(a);
        } else if (a.nsel != 1) {
            if (moveSelectedRun(a)) {
                DispPage(a.curpage);
                DispPage(a.curpage + 1);
            }
        } else {
            moveOne(a);
        }
        SetAllSel(a, -1);
        return;
    }
    a.curslot = static_cast<Integer>(k);
    if (occupied) {
        if (a.pbsel == 1) {
            replaceFromBox(a);
            DispPage(DispPageCode::oneFrame);
            LoadFS(LoadFSCode::position(a.dragsrc - a.pbtop));
        }
        ClearPboxSel(a);
        return;
    }
    CountFree(a, a.curframe);
    if (a.nfree < a.pbsel) {
        ClearPboxSel(a);
        return;
    }
    const QList<PicRec> pictures = boxSelection(a);
    DeletePbox();
    placeInFrames(a, pictures);
    DispPage(a.curpage);
    DispPage(a.curpage + 1);
    ClearPboxSel(a);
}

void AlbumSession::dragPageToPage(int from, int to, int turnBetween) {
    if (a.curpage < 1)
        return;
    log = say("drag position %1 (frame %2, nsel %3) to ", from, a.pgframes[from], a.nsel);
    if (!pagePress(from, true))
        return;
    if (turnBetween != 0)
        turnPage(turnBetween > 0, 1);
    log += say("position %1 (frame %2) of spread %3", to, a.pgframes[to], a.curpage);
    dropOnPage(to, false);
}

void AlbumSession::dragPageToBox(int from, int index) {
    if (a.curpage < 1)
        return;
    log = say("drag position %1 (frame %2, nsel %3) to box %4", from, a.pgframes[from], a.nsel,
              index);
    if (!pagePress(from, true))
        return;
    const PageDropResult r = dropPagePictures(a, index);
    if (r.moved && r.several) {
        DispPage(a.curpage);
        DispPage(a.curpage + 1);
    }
}

void AlbumSession::rotateTool() {
    if (a.curpage < 1 || !toolShown(5))
        return;
    log = say("rotate frame %1", a.curframe);
    Set_it(SetItCode::commandRan);
    if (curframeHoldsPhoto(a)) {
        PicRec& p = a.pics[a.frames[a.curframe]];
        p.porient = QString(QLatin1Char(nextOrientation(p.porient.bytes()[0])));
        a.changed = 'y';
    }
}

void AlbumSession::sizeTool(int tool) {
    if (a.curpage < 1 || !toolShown(tool))
        return;
    log = say("size tool %1", tool);
    const int rel = firstFrameOf(a.curpage, framesPerPage(a));
    Set_it(SetItCode::commandRan);
    a.pgsize = static_cast<Integer>(tool == 6 ? 3 : tool == 7 ? 2 : 1);
    a.curpage = static_cast<Integer>(spreadOf(rel, framesPerPage(a)));
    SetPage();
}

void AlbumSession::turnPage(bool right, int clicks) {
    const char dir = right ? 'R' : 'L';
    log += say(" turn %1 x%2", QChar::fromLatin1(dir), clicks);
    // The first click turns the leaf; the clicks that come while it turns leave one turn
    // waiting, which is checked against the bounds when the leaf has come down.
    for (int turn = 0; turn < std::min(clicks, 2); ++turn) {
        const int to = arrowTarget(a, dir);
        if (to == a.curpage)
            return;
        a.curpage = static_cast<Integer>(to);
        if (to >= 1) {
            DispPage(a.curpage);
            DispPage(a.curpage + 1);
            Set_it(SetItCode::spreadChanged);
        }
    }
}

void AlbumSession::firstLastTool(bool last) {
    if (a.curpage < 1 || !toolShown(last ? 10 : 9))
        return;
    log = last ? QStringLiteral("last page") : QStringLiteral("first page");
    Set_it(SetItCode::commandRan);
    const int t = last ? lastSpread(a.npages) : 1;
    if (last ? t > a.curpage : a.curpage > 1) {
        a.curpage = static_cast<Integer>(t);
        DispPage(a.curpage);
        DispPage(a.curpage + 1);
        Set_it(SetItCode::spreadChanged);
    }
}

QString AlbumSession::randomText(int maxLen) {
    static const QString letters = QStringLiteral("abc XYZ 09 äöü €ß日本 \"'\\/");
    QString t;
    const int n = pick(0, maxLen + 5);
    for (int i = 0; i < n; ++i)
        t += letters[pick(0, int(letters.size()) - 1)];
    return t;
}

void AlbumSession::descEditor() {
    if (a.curpage < 1 || !toolShown(12))
        return;
    log = QStringLiteral("description editor");
    Set_it(SetItCode::commandRan);
    DescTexts t;
    t.adesc = chance(10) ? QString() : randomText(40);
    t.psdesc = randomText(20);
    t.pldesc = randomText(50);
    acceptDescriptions(a, *this, selectedPhoto(a), t);
}

// ---- the group editor

void AlbumSession::groupEditor(int actions) {
    if (a.curpage < 1 || !toolShown(0))
        return;
    log = QStringLiteral("group editor:");
    Set_it(SetItCode::commandRan);
    ClearPboxSel(a);
    SetAllSel(a, -1);
    int gcur = std::clamp<int>(a.curgrp, 1, a.ngrps);
    a.grpa = a.grps[gcur].gfirst;
    bool dirty = false;
    for (int i = 0; i < actions && a.canwrite == 'Y'; ++i) {
        if (chance(40))
            gcur = pick(1, a.ngrps);
        const GroupButtons b = groupButtons(a, gcur);
        const int action = pick(0, 6);
        // What the button does when it is offered; the log names it first.
        const auto press = [&](bool offered, const char* what, const std::function<bool()>& op) {
            if (offered) {
                log += say(" %1 %2", QLatin1String(what), gcur);
                dirty = op() || dirty;
            }
        };
        if (action == 0 && b.add && addGroup(a)) {
            gcur = a.ngrps;
            dirty = true;
            log += QStringLiteral(" add");
        }
        press(action == 1 && b.ins, "insert", [&] { return insertGroup(a, gcur); });
        press(action == 2 && b.del, "delete", [&] { return (deleteGroup(a, gcur), true); });
        press(action == 3 && b.left, "merge left", [&] { return (mergeLeft(a, gcur), true); });
        press(action == 4 && b.right, "merge right", [&] { return (mergeRight(a, gcur), true); });
        press(action == 5, "rename", [&] {
            bool changed = false;
            setGroupName(a, gcur, randomText(30), &changed);
            setGroupDesc(a, gcur, randomText(50));
            return true;
        });
        if (action == 6) {
            const BoundaryRange r = boundaryRange(a, gcur, GetLastPic(a));
            press(r.movable(), "boundary", [&] {
                const int v = pick(r.gmin, r.gmax);
                log += say(" to %1", v);
                return moveBoundary(a, gcur, v);
            });
        }
    }
    returnToPageView(a, *this, nullptr, gcur, dirty);
    Set_it(SetItCode::reset);
}

// ---- the Photo Box

void AlbumSession::boxPress(int k, bool left) {
    log = say("box press %1 %2", k, QLatin1String(left ? "left" : "right"));
    pressStrip(a, k, left);
}

void AlbumSession::boxSelectAll() {
    if (a.canwrite != 'Y')
        return;
    log = QStringLiteral("box select all/none");
    selectAllOrNone(a);
}

void AlbumSession::boxScroll(int value) {
    log = say("box scroll %1", value);
    value = std::clamp(value, 1, scrollMaximum(a));
    if (a.npbox > 0)
        loadStrip(a, boxFirst(a) + value - 1);
}

void AlbumSession::dragBoxToPage(int k, int to) {
    if (a.curpage < 1)
        return;
    log = say("drag box %1 (pbsel %2) to position %3 (frame %4)", k, a.pbsel, to, a.pgframes[to]);
    if (!pressStrip(a, k, true).startDrag)
        return;
    dropOnPage(to, true);
}

void AlbumSession::boxDelete() {
    if (a.pbsel < 1 || a.canwrite != 'Y')
        return;
    log = say("box delete %1", a.pbsel);
    deleteWithFiles(a, [this] { DeletePbox(); });
}

// ---- import, save and open

void AlbumSession::importFiles(int count, int stopAfter) {
    if (a.curpage < 1 || !toolShown(1))
        return;
    Set_it(SetItCode::commandRan);
    ClearPboxSel(a);
    QStringList names = m_sources;
    std::shuffle(names.begin(), names.end(), rnd);
    names = names.mid(0, count);
    log = say("import %1, stop after %2", names.join(u','), stopAfter);
    if (!capacityAllows(a, int(names.size())))
        return;
    ImportRun run(a, *this, m_pictures, m_card, names, false);
    int settled = 0;
    while (run.next())
        if (++settled == stopAfter)
            run.cancel();
    run.finish();
}

void AlbumSession::save() {
    if (a.canwrite != 'Y' || a.changed != 'y')
        return;
    log = QStringLiteral("save");
    WriteAlbum(a);
}

void AlbumSession::reopen(bool saveFirst) {
    log = saveFirst ? QStringLiteral("save and reopen") : QStringLiteral("reopen unsaved");
    if (saveFirst && a.changed == 'y')
        WriteAlbum(a);
    ReadAlbum(a);
    a.curpage = IndexPage::first;
    SetPage();
}

} // namespace vimbrel::test
