#include "albumsession.h"

#include "albumfile.h"
#include "descrules.h"
#include "grouprules.h"
#include "importrules.h"
#include "importrun.h"
#include "pagedrop.h"
#include "pagelogic.h"
#include "pboxlogic.h"
#include "picfiles.h"
#include "picturefiles.h"
#include "ui.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>

namespace vimbrel::test {

class SessionUi : public Ui {
public:
    QStringList errors;
    MsgAnswer message(const QString& title, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override {
        if (icon == MsgIcon::Critical || title.endsWith(QLatin1String("ERROR")))
            errors.append(title + QStringLiteral(": ") + text);
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    void pushBusyPointer() override {}
    void popBusyPointer() override {}
};

namespace {

QString name(const PicRec& p) {
    return p.pfile.trimmed();
}

} // namespace

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
    a.curpage = -1;
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
    const QByteArray bytes = [&] {
        QFile f(m_card + QLatin1Char('/') + m_sources.first());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
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
        Set_it(-1);
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
    if (p == -1) {
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

void AlbumSession::Set_it(int code) {
    applySetIt(a, m_tools, code);
}

void AlbumSession::AddToFS(int pos) {
    addToBox(a, pos);
}

void AlbumSession::DeletePbox() {
    deleteFromBox(a);
}

void AlbumSession::LoadFS(int start) {
    loadStrip(a, start);
}

// ---- the page view

void AlbumSession::showIndex() {
    if (a.curpage >= 1 && !toolShown(13))
        return;
    log = QStringLiteral("index");
    ClearPboxSel(a);
    SetAllSel(a, -1);
    a.curpage = -1;
    SetPage();
}

void AlbumSession::openGroup(int g) {
    if (a.curpage >= 0 || g < 1 || g > a.ngrps)
        return;
    log = QStringLiteral("open group %1").arg(g);
    a.curgrp = static_cast<Integer>(g);
    a.curpage = 1;
    SetPage();
    Set_it(-1);
}

void AlbumSession::selectAllTool() {
    if (a.curpage < 1 || !toolShown(15))
        return;
    log = QStringLiteral("select all/none, nsel %1").arg(a.nsel);
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
        Set_it(100);
        Set_it(102);
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
    log = QStringLiteral("right click position %1 (frame %2)").arg(k).arg(a.pgframes[k]);
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
            DispPage(-1);
            LoadFS(a.pbtop - a.dragsrc - 10);
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
    log = QStringLiteral("drag position %1 (frame %2, nsel %3) to ")
              .arg(from)
              .arg(a.pgframes[from])
              .arg(a.nsel);
    if (!pagePress(from, true))
        return;
    if (turnBetween != 0)
        turnPage(turnBetween > 0, 1);
    log += QStringLiteral("position %1 (frame %2) of spread %3")
               .arg(to)
               .arg(a.pgframes[to])
               .arg(a.curpage);
    dropOnPage(to, false);
}

void AlbumSession::dragPageToBox(int from, int index) {
    if (a.curpage < 1)
        return;
    log = QStringLiteral("drag position %1 (frame %2, nsel %3) to box %4")
              .arg(from)
              .arg(a.pgframes[from])
              .arg(a.nsel)
              .arg(index);
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
    log = QStringLiteral("rotate frame %1").arg(a.curframe);
    Set_it(101);
    if (curframeHoldsPhoto(a)) {
        PicRec& p = a.pics[a.frames[a.curframe]];
        p.porient = QString(QLatin1Char(nextOrientation(p.porient.bytes()[0])));
        a.changed = 'y';
    }
}

void AlbumSession::sizeTool(int tool) {
    if (a.curpage < 1 || !toolShown(tool))
        return;
    log = QStringLiteral("size tool %1").arg(tool);
    const int rel = firstFrameOf(a.curpage, framesPerPage(a));
    Set_it(101);
    a.pgsize = static_cast<Integer>(tool == 6 ? 3 : tool == 7 ? 2 : 1);
    a.curpage = static_cast<Integer>(spreadOf(rel, framesPerPage(a)));
    SetPage();
}

void AlbumSession::turnPage(bool right, int clicks) {
    log +=
        QStringLiteral(" turn %1 x%2").arg(right ? QLatin1Char('R') : QLatin1Char('L')).arg(clicks);
    const char dir = right ? 'R' : 'L';
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
            Set_it(102);
        }
    }
}

void AlbumSession::firstLastTool(bool last) {
    if (a.curpage < 1 || !toolShown(last ? 10 : 9))
        return;
    log = last ? QStringLiteral("last page") : QStringLiteral("first page");
    Set_it(101);
    const int t = last ? lastSpread(a.npages) : 1;
    if (last ? t > a.curpage : a.curpage > 1) {
        a.curpage = static_cast<Integer>(t);
        DispPage(a.curpage);
        DispPage(a.curpage + 1);
        Set_it(102);
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
    Set_it(101);
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
    Set_it(101);
    ClearPboxSel(a);
    SetAllSel(a, -1);
    int gcur = std::clamp<int>(a.curgrp, 1, a.ngrps);
    a.grpa = a.grps[gcur].gfirst;
    bool dirty = false;
    for (int i = 0; i < actions && a.canwrite == 'Y'; ++i) {
        if (chance(40))
            gcur = pick(1, a.ngrps);
        const GroupButtons b = groupButtons(a, gcur);
        switch (pick(0, 6)) {
        case 0:
            if (b.add && addGroup(a)) {
                gcur = a.ngrps;
                dirty = true;
                log += QStringLiteral(" add");
            }
            break;
        case 1:
            if (b.ins && insertGroup(a, gcur)) {
                dirty = true;
                log += QStringLiteral(" insert %1").arg(gcur);
            }
            break;
        case 2:
            if (b.del) {
                log += QStringLiteral(" delete %1").arg(gcur);
                deleteGroup(a, gcur);
                dirty = true;
            }
            break;
        case 3:
            if (b.left) {
                log += QStringLiteral(" merge left %1").arg(gcur);
                mergeLeft(a, gcur);
                dirty = true;
            }
            break;
        case 4:
            if (b.right) {
                log += QStringLiteral(" merge right %1").arg(gcur);
                mergeRight(a, gcur);
                dirty = true;
            }
            break;
        case 5: {
            bool changed = false;
            setGroupName(a, gcur, randomText(30), &changed);
            setGroupDesc(a, gcur, randomText(50));
            dirty = true;
            log += QStringLiteral(" rename %1").arg(gcur);
            break;
        }
        default: {
            const BoundaryRange r = boundaryRange(a, gcur, GetLastPic(a));
            if (r.movable()) {
                const int v = pick(r.gmin, r.gmax);
                log += QStringLiteral(" boundary %1 to %2").arg(gcur).arg(v);
                dirty = moveBoundary(a, gcur, v) || dirty;
            }
        }
        }
    }
    returnToPageView(a, *this, nullptr, gcur, dirty);
    Set_it(-1);
}

// ---- the Photo Box

void AlbumSession::boxPress(int k, bool left) {
    log = QStringLiteral("box press %1 %2")
              .arg(k)
              .arg(left ? QStringLiteral("left") : QStringLiteral("right"));
    pressStrip(a, k, left);
}

void AlbumSession::boxSelectAll() {
    if (a.canwrite != 'Y')
        return;
    log = QStringLiteral("box select all/none");
    selectAllOrNone(a);
}

void AlbumSession::boxScroll(int value) {
    log = QStringLiteral("box scroll %1").arg(value);
    value = std::clamp(value, 1, scrollMaximum(a));
    if (a.npbox > 0)
        loadStrip(a, boxFirst(a) + value - 1);
}

void AlbumSession::dragBoxToPage(int k, int to) {
    if (a.curpage < 1)
        return;
    log = QStringLiteral("drag box %1 (pbsel %2) to position %3 (frame %4)")
              .arg(k)
              .arg(a.pbsel)
              .arg(to)
              .arg(a.pgframes[to]);
    if (!pressStrip(a, k, true).startDrag)
        return;
    dropOnPage(to, true);
}

void AlbumSession::boxDelete() {
    if (a.pbsel < 1 || a.canwrite != 'Y')
        return;
    log = QStringLiteral("box delete %1").arg(a.pbsel);
    deleteWithFiles(a, [this] { DeletePbox(); });
}

// ---- import, save and open

void AlbumSession::importFiles(int count, int stopAfter) {
    if (a.curpage < 1 || !toolShown(1))
        return;
    Set_it(101);
    ClearPboxSel(a);
    QStringList names = m_sources;
    std::shuffle(names.begin(), names.end(), rnd);
    names = names.mid(0, count);
    log = QStringLiteral("import %1, stop after %2").arg(names.join(u',')).arg(stopAfter);
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
    a.curpage = -1;
    SetPage();
}

// ---- the checks

namespace {

// The first difference between two albums in what the album file holds, selection aside.
QString difference(const Album& x, const Album& y) {
    if (x.albname.trimmed() != y.albname.trimmed() || x.albdesc.trimmed() != y.albdesc.trimmed())
        return QStringLiteral("names");
    if (x.npics != y.npics || x.npbox != y.npbox || x.ngrps != y.ngrps || x.nframes != y.nframes)
        return QStringLiteral("counts %1/%2/%3/%4 against %5/%6/%7/%8")
            .arg(x.npics)
            .arg(x.npbox)
            .arg(x.ngrps)
            .arg(x.nframes)
            .arg(y.npics)
            .arg(y.npbox)
            .arg(y.ngrps)
            .arg(y.nframes);
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

} // namespace

QString AlbumSession::state() const {
    return QStringLiteral(
               "canwrite %1 changed %2 group %3 of %4, page %5 of %6, nsel %7, pbsel %8, "
               "%9 pictures, %10 in the box")
        .arg(QLatin1Char(a.canwrite))
        .arg(QLatin1Char(a.changed))
        .arg(a.curgrp)
        .arg(a.ngrps)
        .arg(a.curpage)
        .arg(a.npages)
        .arg(a.nsel)
        .arg(a.pbsel)
        .arg(a.npics)
        .arg(a.npbox);
}

QString AlbumSession::problem() const {
    QStringList p;
    if (a.canwrite != 'Y' || a.albfile.isEmpty())
        p << QStringLiteral("the album is no longer open for changes");
    if (a.ngrps < 1 || a.ngrps > 42)
        return QStringLiteral("ngrps %1").arg(a.ngrps);
    if (a.grps[1].gfirst != 1)
        p << QStringLiteral("group 1 starts at %1").arg(a.grps[1].gfirst);
    for (int g = 1; g <= a.ngrps; ++g) {
        const GrpRec& r = a.grps[g];
        if (r.gfirst > r.glast || (g > 1 && r.gfirst != a.grps[g - 1].glast + 1))
            p << QStringLiteral("group %1 spans %2..%3").arg(g).arg(r.gfirst).arg(r.glast);
        if (r.gcount != countGroupPictures(a, static_cast<Integer>(g)))
            p << QStringLiteral("group %1 gcount %2, holds %3")
                     .arg(g)
                     .arg(r.gcount)
                     .arg(countGroupPictures(a, static_cast<Integer>(g)));
    }
    if (a.nframes != a.grps[a.ngrps].glast || a.nframes > 1000)
        p << QStringLiteral("nframes %1").arg(a.nframes);
    if (a.npics < 0 || a.npbox < 0 || a.npics + a.npbox > 1000)
        return QStringLiteral("npics %1 npbox %2").arg(a.npics).arg(a.npbox);
    if (a.npbox > 0 && a.pbfirst != 1001 - a.npbox)
        p << QStringLiteral("pbfirst %1 with %2 in the box").arg(a.pbfirst).arg(a.npbox);
    if (a.npbox > 0 && (a.pbtop < a.pbfirst || a.pbtop > 1000))
        p << QStringLiteral("pbtop %1").arg(a.pbtop);
    QList<int> seen(a.npics + 1, 0);
    for (int f = 1; f <= 1000; ++f) {
        const int s = a.frames[f];
        if (s == -1)
            continue;
        if (f > a.nframes || s < 1 || s > a.npics) {
            p << QStringLiteral("frame %1 holds slot %2").arg(f).arg(s);
            continue;
        }
        ++seen[s];
    }
    for (int s = 1; s <= a.npics; ++s)
        if (seen[s] != 1)
            p << QStringLiteral("album slot %1 in %2 frames").arg(s).arg(seen[s]);
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
            p << QStringLiteral("nsel %1, %2 selected").arg(a.nsel).arg(selected);
    }
    if (a.pbsel >= 0) {
        int marked = 0;
        for (int s = 1001 - a.npbox; s <= 1000; ++s)
            marked += a.wpics[s].psel == 0 ? 1 : 0;
        if (marked != a.pbsel)
            p << QStringLiteral("pbsel %1, %2 marked").arg(a.pbsel).arg(marked);
    }
    // The page on show.
    if (a.curpage >= 1) {
        if (a.curgrp < 1 || a.curgrp > a.ngrps)
            p << QStringLiteral("curgrp %1 on page %2").arg(a.curgrp).arg(a.curpage);
        else if (a.curpage % 2 != 1 || a.curpage > lastSpread(a.npages))
            p << QStringLiteral("curpage %1 of %2").arg(a.curpage).arg(a.npages);
    } else if (a.curpage != -1 && a.curpage != -3) {
        p << QStringLiteral("curpage %1").arg(a.curpage);
    }
    return p.join(QStringLiteral("; "));
}

QString AlbumSession::roundTripProblem() const {
    const QByteArray bytes = encodeAlbum(a);
    Album back;
    ClearAlbum(back);
    const AlbumDecode d = decodeAlbum(bytes, back);
    if (d.outcome != AlbumDecode::Ok)
        return QStringLiteral("the album as written does not open: ") + d.problem;
    const QString diff = difference(a, back);
    if (!diff.isEmpty())
        return QStringLiteral("read back differs: ") + diff;
    return {};
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
    Album back;
    ClearAlbum(back);
    if (decodeAlbum(bytes, back).outcome != AlbumDecode::Ok)
        return QStringLiteral("the saved album does not open");
    const QString diff = difference(a, back);
    return diff.isEmpty() ? QString() : QStringLiteral("saved album differs: ") + diff;
}

// ---- one random action

void AlbumSession::randomAction() {
    log.clear();
    const int k = a.curpage >= 1 ? pick(0, 23) : 0;
    const auto anyPosition = [&] {
        // Mostly a position showing a frame, now and then any.
        for (int i = 0; i < 6; ++i) {
            const int j = pick(0, 23);
            if (a.pgframes[j] >= 1)
                return j;
        }
        return pick(0, 23);
    };
    // Where a hand would press: a photo, mostly a selected one when there are any.
    const auto photoPosition = [&] {
        QList<int> photos, selected;
        for (int j = 0; j < 24; ++j) {
            const int f = a.pgframes[j];
            if (f < 1 || a.frames[f] < 1)
                continue;
            photos.append(j);
            if (a.pics[a.frames[f]].psel == 0)
                selected.append(j);
        }
        if (!selected.isEmpty() && chance(80))
            return selected[pick(0, int(selected.size()) - 1)];
        return photos.isEmpty() || chance(5) ? anyPosition()
                                             : photos[pick(0, int(photos.size()) - 1)];
    };
    switch (pick(0, 30)) {
    case 0:
        showIndex();
        break;
    case 1:
    case 2:
        if (a.curpage < 0)
            openGroup(pick(1, a.ngrps));
        else
            turnPage(chance(50), chance(70) ? 1 : pick(2, 3));
        break;
    case 3:
    case 4: {
        selectAllTool();
        // What a user selects is mostly moved next.
        const QString selected = log;
        if (a.nsel > 0 && chance(40)) {
            if (chance(50))
                dragPageToBox(photoPosition(), chance(50) ? appendPosition : pick(0, 4));
            else
                dragPageToPage(photoPosition(), anyPosition(), chance(80) ? 0 : 1);
            log = selected + QStringLiteral(", then ") + log;
        }
        break;
    }
    case 5:
    case 6:
    case 7:
        toggleFrame(chance(70) ? photoPosition() : anyPosition());
        break;
    case 8:
    case 9:
    case 10:
        dragPageToPage(photoPosition(), anyPosition(), chance(80) ? 0 : (chance(50) ? 1 : -1));
        break;
    case 11:
    case 12:
        dragPageToBox(photoPosition(), chance(30) ? appendPosition : pick(0, 5));
        break;
    case 13:
    case 14:
        boxPress(pick(0, stripPositions - 1), chance(30));
        break;
    case 15:
        boxSelectAll();
        break;
    case 16:
        boxScroll(pick(1, std::max(1, scrollMaximum(a))));
        break;
    case 17:
    case 18:
        dragBoxToPage(pick(0, stripPositions - 1), anyPosition());
        break;
    case 19:
        if (chance(30))
            boxDelete();
        break;
    case 20:
        rotateTool();
        break;
    case 21:
        sizeTool(pick(6, 8));
        break;
    case 22:
        firstLastTool(chance(50));
        break;
    case 23:
    case 24:
        groupEditor(pick(1, 4));
        break;
    case 25:
        descEditor();
        break;
    case 26:
    case 27: {
        const int n = pick(1, 6);
        importFiles(n, chance(25) ? pick(1, n) : 0);
        break;
    }
    case 28:
        save();
        break;
    case 29:
        if (chance(30))
            reopen(chance(50));
        break;
    default:
        (void)k;
        break;
    }
}

} // namespace vimbrel::test
