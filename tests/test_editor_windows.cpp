// SPDX-License-Identifier: GPL-3.0-or-later
// The group editor and the description editor as windows on the offscreen platform: button
// states, messages, read-only albums, the strip's alignment, and what Return and Accept tell
// the page view.

#include "albumfixture.h"
#include "drawnrect.h"
#include "editorviews.h"
#include "mnemonics.h"
#include "pagelogic.h"
#include "phdesc.h"
#include "phgrp.h"
#include "waitpictures.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vimbrel;

namespace {

struct Hub : WindowHub, EditorPageViews {
    QStringList calls;
    Album* a = nullptr;
    void SetTotPg() override {
        const GrpRec& g = a->grps[a->curgrp];
        a->npages = static_cast<Integer>(pageCount(g.glast - g.gfirst + 1, framesPerPage(*a)));
        calls << QStringLiteral("SetTotPg");
    }
    void DispPage(int p) override { calls << QStringLiteral("DispPage %1").arg(p); }
    void Set_it(int c) override { calls << QStringLiteral("Set_it %1").arg(c); }
    void setAlbumDescLabel(const QString& s) override { calls << QStringLiteral("phpgname=") + s; }
    void setGroupLabels(int pics, int frames, const QString& d) override {
        calls << QStringLiteral("labels %1 %2 %3").arg(pics).arg(frames).arg(d);
    }
    void LoadFS(int t) override { calls << QStringLiteral("LoadFS %1").arg(t); }
    void blankPageView() override { calls << QStringLiteral("blank"); }
    void blankPageTotals() override { calls << QStringLiteral("blank totals"); }
    void showNextPageArrow(bool v) override { calls << QStringLiteral("pgright %1").arg(v); }
};

// Groups of the given sizes with real (tiny) pictures in the given frames; the page view
// shows group `curgrp` from its first spread.
struct Editors : test::Fixture {
    QTemporaryDir tmp;
    PictureLibrary pictures{tmp.filePath(QStringLiteral("thumbs")), 8 << 20};
    Hub hub;

    Editors(std::initializer_list<int> sizes, std::initializer_list<int> pictureFrames,
            int curgrp = 1) {
        a.picdir = tmp.path() + QLatin1Char('/');
        int slot = 0;
        for (int f : pictureFrames) {
            ++slot;
            addPictureFile(slot, f, slot, {64, 48}, Qt::darkCyan);
        }
        setGroups(sizes);
        a.canwrite = 'Y';
        a.albdesc = "Summer";
        a.curgrp = static_cast<Integer>(curgrp);
        a.curpage = 1;
        a.sizes[1] = {108, 72, 4, 3};
        a.pgsize = 1;
        a.views = &hub;
        hub.a = &a;
    }
    std::unique_ptr<phgrp> groups() { return std::make_unique<phgrp>(a, hub, hub, pictures); }
    // One photo selected, the page view's current frame on it.
    void selectPhoto(int slot, int frame) {
        a.nsel = 1;
        a.pics[slot].psel = 0;
        a.curframe = static_cast<Integer>(frame);
    }
};

struct Buttons {
    bool add, ins, del, left, right;
    bool operator==(const Buttons&) const = default;
};
Buttons buttons(const phgrp& w) {
    return {w.cb_add->isEnabled(), w.cb_ins->isEnabled(), w.cb_del->isEnabled(),
            w.cb_delleft->isEnabled(), w.cb_delright->isEnabled()};
}

} // namespace

TEST(GroupEditor, BlankNameIsRefusedAndKeepsTheOldName) {
    Editors e({24, 24}, {});
    auto w = e.groups();
    w->dgrpname->setText(QStringLiteral("   "));
    w->cb_add_Click();
    EXPECT_EQ(e.a.ngrps, 2);
    w->grpbt_MouseDown(1); // refused too: the blank name is still in the box
    EXPECT_EQ(w->gcur, 1);
    EXPECT_EQ(e.ui.shown.size(), 2);

    // Closing the window leaves the stored name and still brings the page view along.
    w->dgrpname->setText(QStringLiteral("Group 1"));
    w->grpbt_MouseDown(1);
    w->dgrpname->clear();
    w->close();
    EXPECT_EQ(e.a.grps[2].gname.trimmed(), QStringLiteral("Group 2"));
    EXPECT_EQ(e.ui.shown.size(), 2);
    EXPECT_EQ(e.a.curgrp, 2);
    EXPECT_TRUE(e.hub.calls.contains(QStringLiteral("SetTotPg")));
}

TEST(GroupEditor, RenameAndReturnRefreshThePageView) {
    Editors e({24, 24}, {3, 30}, 2);
    e.a.grpb = e.a.grpc = 48;
    auto w = e.groups();
    w->dgrpname->setText(QStringLiteral(" Harbour "));
    w->dgrpdesc->setText(QStringLiteral("Boats at dawn"));
    w->grpbt_MouseDown(0); // picking another group keeps what was typed for this one
    EXPECT_EQ(e.a.grps[2].gname.trimmed(), QStringLiteral("Harbour"));
    w->grpbt_MouseDown(1);
    e.hub.calls.clear();
    w->cb_ok_Click();
    EXPECT_EQ(e.a.changed, 'y');
    EXPECT_EQ(e.hub.calls,
              QStringList({QStringLiteral("SetTotPg"), QStringLiteral("pgright 0"),
                           QStringLiteral("labels 1 24 Group: Harbour   - Boats at dawn")}));
}

TEST(GroupEditor, DeleteAsksFirstAndBlanksThePageView) {
    Editors e({24, 24}, {3, 9, 30}, 1);
    auto w = e.groups();
    e.ui.answers.enqueue(MsgAnswer::No);
    w->cb_del_Click();
    EXPECT_EQ(e.a.ngrps, 2);

    w->cb_del_Click();
    EXPECT_EQ(e.a.ngrps, 1);
    EXPECT_TRUE(e.hub.calls.contains(QStringLiteral("blank")));
    EXPECT_TRUE(e.hub.calls.contains(QStringLiteral("LoadFS 0")));
    EXPECT_EQ(buttons(*w), (Buttons{true, true, false, false, false})); // the only group
    w->cb_ok_Click();
    EXPECT_EQ(e.a.curgrp, 1);
    EXPECT_TRUE(e.hub.calls.contains(QStringLiteral("DispPage 1")));
}

TEST(GroupEditor, TurnedEndPicturesKeepTheirProportions) {
    Editors e({24}, {1, 24}); // 64 x 48 pictures in 168 x 112 boxes
    e.a.pics[1].porient = "P";
    auto w = e.groups();
    ASSERT_TRUE(test::waitForPictures(*w));
    EXPECT_EQ(e.pictures.stats().guiThreadLoads, 0);
    EXPECT_EQ(test::drawnRect(w->frpic->pixmap()).size(), QSize(48, 64));
    EXPECT_EQ(test::drawnRect(w->topic->pixmap()).size(), QSize(64, 48));
}

TEST(GroupEditor, MarkersRedBarAndBoundaryHandleStandOnTheirFrames) {
    Editors e({48, 48}, {10, 49, 50});
    auto w = e.groups();
    const StripMetrics m = w->metrics();
    w->show();
    // Where the handle is drawn: the run of pure red across the middle of the bar.
    const auto handleLeft = [&w] {
        const QImage im = w->gscroll->grab().toImage();
        int first = -1, last = -1;
        for (int x = 0; x < im.width(); ++x)
            if (im.pixel(x, im.height() / 2) == qRgb(255, 0, 0))
                last = x, first = first < 0 ? x : first;
        EXPECT_EQ(last - first + 1, phgrp::markerWidth);
        return w->gscroll->x() + first;
    };
    EXPECT_EQ(w->grpmrkred->x() + w->grpmrkred->width(), m.marker(48));
    for (int v : {52, 24, 72}) {
        w->gscroll->setValue(v);
        EXPECT_EQ(handleLeft(), m.marker(v)) << v;
        EXPECT_EQ(w->grpbt[0]->x(), m.marker(v));
    }
}

TEST(GroupEditor, ReadOnlyAlbumOnlyShowsAndSelects) {
    Editors e({24, 24}, {30});
    e.a.canwrite = 'N';
    auto w = e.groups();
    EXPECT_TRUE(w->gscroll->isHidden());
    w->grpbt_MouseDown(1);
    EXPECT_EQ(buttons(*w), (Buttons{false, false, false, false, false}));
    w->dgrpname->setText(QStringLiteral("Ignored"));
    w->cb_ok_Click();
    EXPECT_EQ(e.a.curgrp, 2);
    EXPECT_EQ(e.a.changed, 'n');
}

TEST(DescEditor, NoPhotoSelectedLeavesOnlyTheAlbumDescription) {
    Editors e({24}, {2, 5});
    e.a.nsel = 2;
    e.a.pics[1].psel = e.a.pics[2].psel = 0;
    phdesc w(e.a, e.hub);
    EXPECT_TRUE(w.psdesc->isReadOnly());
    w.cb_ok_Click(); // nothing edited: nothing stored, nothing redrawn
    EXPECT_EQ(e.a.changed, 'n');
    EXPECT_TRUE(e.hub.calls.isEmpty());

    phdesc again(e.a, e.hub);
    again.adesc->setText(QStringLiteral("  Winter  "));
    again.cb_ok_Click();
    EXPECT_EQ(e.hub.calls, QStringList{QStringLiteral("phpgname=Winter")});
}

TEST(DescEditor, OnePhotoGetsItsDescriptionsAndTheFrameItsCaption) {
    Editors e({24}, {2, 5});
    e.selectPhoto(2, 5);
    e.a.curslot = 4;
    e.a.framepage = 1;
    phdesc w(e.a, e.hub);
    EXPECT_EQ(w.psdesc->text(), QStringLiteral("short 2"));
    w.psdesc->setText(QString());
    w.pldesc->setText(QStringLiteral(" On the pier "));
    w.cb_ok_Click();
    EXPECT_EQ(e.a.pics[2].psdesc.trimmed(), QString());
    EXPECT_EQ(e.a.pics[2].pldesc.trimmed(), QStringLiteral("On the pier"));
    EXPECT_EQ(e.hub.calls,
              QStringList({QStringLiteral("Set_it 100"), QStringLiteral("DispPage -1")}));

    e.a.curframe = 0; // Select All leaves curframe elsewhere: the photo is found anyway
    phdesc found(e.a, e.hub);
    EXPECT_EQ(found.dpic, 2);

    e.a.canwrite = 'N'; // a read-only album only shows the texts
    phdesc shown(e.a, e.hub);
    EXPECT_FALSE(shown.cb_ok->isEnabled());
    for (QLineEdit* b : {shown.adesc, shown.psdesc, shown.pldesc})
        EXPECT_TRUE(b->isReadOnly());
}

namespace {
// Each character as a key press carrying it, as a keyboard layout or input method gives it.
void type(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}
} // namespace

// Every text field of the editors: only what the album file can hold goes in, typed or
// pasted, and the counter beside it shows how much of the field is used. Alt+letter acts only
// when one control has the letter.
TEST(EditorFields, RefuseWhatTheAlbumCannotHoldAndShowTheirLimit) {
    Editors e({24}, {2});
    e.selectPhoto(1, 2);
    phgrp groups(e.a, e.hub, e.hub, e.pictures);
    phdesc descs(e.a, e.hub);
    EXPECT_EQ(test::mnemonicClashes(groups), QStringList());
    EXPECT_EQ(test::mnemonicClashes(descs), QStringList());
    struct Field {
        QWidget* window;
        QLineEdit* edit;
        int limit;
    };
    const Field fields[] = {{&groups, groups.dgrpname, 30},
                            {&groups, groups.dgrpdesc, 50},
                            {&descs, descs.adesc, 40},
                            {&descs, descs.psdesc, 20},
                            {&descs, descs.pldesc, 50}};
    for (const Field& f : fields) {
        const QString name = f.edit->objectName();
        SCOPED_TRACE(qPrintable(name));
        f.edit->clear();
        type(f.edit, QStringLiteral("Caf\u00e9 \u20ac5"));
        type(f.edit, QStringLiteral("\u65e5\u672c"));
        EXPECT_EQ(f.edit->text(), QStringLiteral("Caf\u00e9 \u20ac5"));
        QApplication::clipboard()->setText(QStringLiteral(" \u0416\u0416"));
        f.edit->paste();
        EXPECT_EQ(f.edit->text(), QStringLiteral("Caf\u00e9 \u20ac5"));
        QApplication::clipboard()->setText(QStringLiteral(" \u0153uvre"));
        f.edit->paste();
        EXPECT_EQ(f.edit->text(), QStringLiteral("Caf\u00e9 \u20ac5 \u0153uvre"));
        const auto* counter = f.window->findChild<QLabel*>(name + QStringLiteral("_count"));
        ASSERT_NE(counter, nullptr);
        EXPECT_EQ(counter->text(), QStringLiteral("13/%1").arg(f.limit));
        EXPECT_EQ(f.edit->maxLength(), f.limit);
    }
}

// Text as other programs hand it over: decomposed accents (a combining mark after its letter)
// are the same characters the album file holds, and line breaks or tabs from a copied
// paragraph are no part of a one-line field.
TEST(EditorFields, PastedTextIsTakenAsTheAlbumFileWillHoldIt) {
    Editors e({24}, {2});
    e.selectPhoto(1, 2);
    phdesc descs(e.a, e.hub);
    QLineEdit* f = descs.pldesc;
    f->clear();
    QApplication::clipboard()->setText(QStringLiteral("Cafe\u0301 cre\u0300me"));
    f->paste();
    EXPECT_EQ(f->text(), QStringLiteral("Caf\u00e9 cr\u00e8me"));
    f->clear();
    QApplication::clipboard()->setText(QStringLiteral("one\ntwo\tthree\r\n"));
    f->paste();
    EXPECT_EQ(f->text(), QStringLiteral("one two three "));
    f->setText(QStringLiteral("AB")); // in the middle, the cursor stays after what was pasted
    f->setCursorPosition(1);
    QApplication::clipboard()->setText(QStringLiteral("x\r\ny\u0301"));
    f->paste();
    EXPECT_EQ(f->text(), QStringLiteral("Ax \u00fdB"));
    EXPECT_EQ(f->cursorPosition(), 4);
    const auto* counter = descs.findChild<QLabel*>(QStringLiteral("pldesc_count"));
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->text(), QStringLiteral("%1/50").arg(f->text().size()));
}
