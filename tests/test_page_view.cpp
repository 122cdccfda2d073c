// SPDX-License-Identifier: GPL-3.0-or-later
// The page view as a window on the offscreen platform: index, spreads, the page turn driven
// tick by tick, selection and the tools that change the view.

#include "bookview.h"
#include "drawnrect.h"
#include "filedrop.h"
#include "pagefixture.h"
#include "poolgate.h"
#include "toolstrip.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace vimbrel;
using test::PageFixture;

TEST(PageView, IndexListsAndOpeningAGroup) {
    PageFixture f({24, 24}, {1});
    for (int g = 3; g <= 15; ++g) // 15 groups: the index needs its right page
        f.a.grps[g] = f.a.grps[2];
    f.a.ngrps = 15;
    f.a.curpage = -1;
    f.w->SetPage();
    EXPECT_EQ(f.w->idxlst[1]->count(), 4);

    f.w->idxlst[1]->setCurrentRow(3); // group 15's description line
    f.w->idxlst_DblClick(1);
    EXPECT_EQ(f.a.curgrp, 15);
    EXPECT_TRUE(f.w->idxlst[0]->isHidden());
}

TEST(PageView, PrintIsTheReportOnTheIndexAndPhotoPrintsOnAPage) {
    PageFixture f({24}, {1, 2});
    f.a.curpage = -1;
    f.w->SetPage();
    f.w->it_Click(21);
    f.a.curgrp = 1;
    f.a.curpage = 1;
    f.w->SetPage();
    f.w->it_Click(21);
    f.w->it_Click(20);
    EXPECT_EQ(f.hub.opened, (QStringList{QStringLiteral("report"), QStringLiteral("print"),
                                         QStringLiteral("mail")}));
}

TEST(PageView, TurningRightAnimatesAndEndsOnTheNextSpread) {
    PageFixture f({30}, {1, 14, 25});
    f.openGroup(1);
    EXPECT_FALSE(f.w->pb[13]->picture().isNull()); // frame 14 on the right page
    EXPECT_TRUE(f.w->pgleft->isHidden());
    f.w->pgright_Click();
    EXPECT_EQ(f.a.curpage, 3);
    ASSERT_TRUE(f.w->pgtimer.isActive());
    f.w->pgtimer_Timer(); // step 1: the right page lifts
    EXPECT_TRUE(f.w->pb[12]->isHidden());
    EXPECT_FALSE(f.w->pb[0]->isHidden()); // the left page still shows the old spread
    EXPECT_EQ(f.finishTurn(), 5);
    EXPECT_EQ(f.a.pgframes[0], 25);
    EXPECT_TRUE(f.w->pb[6]->isHidden()); // beyond the group
    EXPECT_TRUE(f.w->pgright->isHidden());

    f.w->pgleft_Click(); // a turn to the left starts at step 5
    EXPECT_EQ(f.a.pgtstep, 5);
    EXPECT_EQ(f.finishTurn(), 6);
    EXPECT_EQ(f.a.pgframes[0], 1);
}

TEST(PageView, TurnsAskedForDuringATurnWaitAndStayWithinTheGroup) {
    PageFixture f({48, 72}, {1, 25, 37}); // group 1: 4 pages of Small
    f.openGroup(1);
    f.w->pgright_Click(); // a double click: both clicks land within one turn
    f.w->pgright_Click();
    EXPECT_EQ(f.a.curpage, 3);
    f.finishTurn();
    EXPECT_EQ(f.a.curpage, 3);
    EXPECT_EQ(f.w->pgnum[1]->text(), QStringLiteral("4"));
    EXPECT_EQ(f.a.pgframes[0], 25);
    EXPECT_TRUE(f.w->pgright->isHidden());

    emit f.w->pgleft->dragEntered(); // a drag going out and back over the arrow
    emit f.w->pgleft->dragEntered();
    f.finishTurn();
    EXPECT_EQ(f.a.curpage, 1);
    EXPECT_TRUE(f.w->idxlst[0]->isHidden());
    EXPECT_FALSE(f.w->pb[0]->isHidden());

    f.openGroup(2); // 6 pages: the waiting turn runs once the first has ended
    f.w->pgright_Click();
    f.w->pgright_Click();
    f.finishTurn();
    EXPECT_EQ(f.a.curpage, 5);
    f.w->pgleft_Click(); // a named page replaces a waiting arrow turn
    f.w->pgleft_Click();
    f.w->it_Click(10);
    f.finishTurn();
    EXPECT_EQ(f.a.curpage, 5);
    f.w->pgleft_Click();
    f.w->it_Click(13); // the index stops the turn under way
    EXPECT_FALSE(f.w->pgtimer.isActive());
}

TEST(PageView, TurnedPicturesKeepTheirProportions) {
    PageFixture f({24}, {1, 2, 3}); // 80 x 60 pictures
    f.a.pics[1].porient = "P";
    f.a.pics[3].porient = "p";
    f.openGroup(1);
    EXPECT_EQ(test::drawnRect(f.w->pb[0]->picture()).size(), QSize(54, 72)); // 60 x 80, scaled
    EXPECT_EQ(test::drawnRect(f.w->pb[1]->picture()).size(), QSize(80, 60));
    f.w->it_Click(6); // Large: 324 x 216 frames hold 60 x 80 at its own size
    f.settle();
    EXPECT_EQ(test::drawnRect(f.w->pb[0]->picture()).size(), QSize(60, 80));
    EXPECT_EQ(test::drawnRect(f.w->pb[12]->picture()).size(), QSize(60, 80));
}

TEST(PageView, RightClickSelectsAndSelectAllToggles) {
    PageFixture f({24}, {1, 2});
    f.openGroup(1);
    f.w->pb_MouseDown(0, Qt::RightButton);
    EXPECT_FALSE(f.w->frsel[0]->isHidden());
    EXPECT_EQ(f.w->seldisp->text(), QStringLiteral("1"));
    f.w->pb_MouseDown(0, Qt::RightButton);
    EXPECT_TRUE(f.w->frsel[0]->isHidden());
    f.w->pb_MouseDown(5, Qt::RightButton); // an empty frame: nothing
    EXPECT_EQ(f.a.nsel, 0);
    f.w->it_Click(15); // Select All
    EXPECT_FALSE(f.w->frsel[1]->isHidden());

    // A read-only album ignores the left button but selects with the right.
    SetAllSel(f.a, -1);
    f.a.canwrite = 'N';
    f.w->pb_MouseDown(0, Qt::LeftButton);
    EXPECT_EQ(f.a.nsel, 0);
    f.w->pb_MouseDown(0, Qt::RightButton);
    EXPECT_EQ(f.a.nsel, 1);
}

TEST(PageView, GoToPageAndLastPage) {
    PageFixture f({72}, {1});
    f.openGroup(1); // 6 pages
    f.ui.inputs.enqueue(QStringLiteral("4"));
    f.w->it_Click(11);
    EXPECT_EQ(f.a.curpage, 3);
    f.finishTurn();
    f.ui.inputs.enqueue(QStringLiteral("7"));
    f.w->it_Click(11);
    EXPECT_EQ(f.ui.shown.last().text, QStringLiteral("Invalid Page Number Entered."));
    EXPECT_EQ(f.a.curpage, 3);
    f.w->it_Click(10);
    EXPECT_EQ(f.a.curpage, 5);
}

TEST(PageView, DroppingOnAPhotoSwapsWithoutDecodingAgain) {
    PageFixture f({24}, {1, 2});
    f.openGroup(1);
    const QImage first = f.w->pb[0]->picture().toImage();
    const int decodes = f.pictures.stats().decodes + f.pictures.stats().diskHits;
    f.w->pb_MouseDown(0, Qt::LeftButton); // selects the photo, arms the drag
    f.w->pb_DragStart(0);
    f.w->pb_DragDrop(1, QStringLiteral("pb"));
    EXPECT_EQ(f.a.frames[2], 1);
    EXPECT_EQ(f.w->ibn[1]->text(), QStringLiteral("short 1"));
    EXPECT_EQ(f.pictures.stats().decodes + f.pictures.stats().diskHits, decodes);
    EXPECT_EQ(f.w->pb[1]->picture().toImage(), first);
}

// The photo replaced takes the dragged picture's place in the box, the rest of the box stays.
TEST(PageView, ABoxPictureReplacesAPhotoOnlyAfterYes) {
    PageFixture f({24}, {1});
    f.setPhotoBox({49, 50});
    f.openGroup(1);
    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        f.a.dragsrc = 1000;
        f.a.pbsel = 1;
        f.ui.answers.enqueue(answer);
        f.w->pb_DragDrop(0, QStringLiteral("fs"));
        EXPECT_EQ(f.a.pics[1].pfile, answer == MsgAnswer::Yes ? "vmb0050.jpg" : "vmb0001.jpg");
    }
    EXPECT_EQ(f.a.pics[1000].pfile, "vmb0001.jpg");
    EXPECT_EQ(f.a.pics[999].pfile, "vmb0049.jpg");
    test::expectAlbumSound(f.a);
}

namespace {

// Files from a file manager dropped onto `target`; whether the drop was taken. The import
// runs once the drop has ended.
bool dropFiles(QWidget* target, const QStringList& paths) {
    const bool taken = test::dropFiles(target, paths);
    QCoreApplication::processEvents();
    return taken;
}

} // namespace

TEST(PageView, FilesDroppedOnAnEmptyFrameLandThereWhenTheyFit) {
    const QStringList paths{QStringLiteral("/card/a.jpg"), QStringLiteral("/card/b.jpg")};
    // Frame 1 holds a photo, 2..12 are free; the import adds `count` pictures to the box.
    const struct {
        int k, count;
        bool taken, inFrames;
    } cases[] = {
        {1, 2, true, true},   // frames 2 and 3
        {1, 11, true, true},  // up to the group's end
        {1, 12, true, false}, // one too many: all stay in the box
        {0, 2, false, false}, // a frame with a photo takes no files
        {-1, 2, true, false}, // the Photo Box tool
    };
    for (const auto& c : cases) {
        PageFixture f({12}, {1});
        f.openGroup(1);
        SCOPED_TRACE(testing::Message() << c.k << " " << c.count);
        f.hub.import = [&] {
            return f.importToBox(c.count);
        };
        QWidget* target = c.k < 0 ? static_cast<QWidget*>(f.w->it[4]) : f.w->pb[c.k];
        EXPECT_EQ(dropFiles(target, paths), c.taken);
        ASSERT_EQ(f.hub.dropped.size(), c.taken ? 1 : 0);
        if (!c.taken)
            continue;
        EXPECT_EQ(f.hub.dropped[0], paths);
        EXPECT_EQ(f.a.npbox, c.inFrames ? 0 : c.count);
        EXPECT_EQ(f.hub.box, !c.inFrames);
        if (c.inFrames)
            for (int i = 0; i < c.count; ++i)
                EXPECT_EQ(f.a.pics[f.a.frames[2 + i]].pfile.trimmed(),
                          test::Fixture::fileName(50 + i));
        EXPECT_EQ(f.a.grps[1].gcount, c.inFrames ? 1 + c.count : 1);
    }
    // A read-only album takes none.
    PageFixture f({12}, {1});
    f.a.canwrite = 'N';
    f.openGroup(1);
    EXPECT_FALSE(dropFiles(f.w->pb[1], paths));
    EXPECT_TRUE(f.hub.dropped.isEmpty());
}

TEST(PageView, FilesDroppedOnAFrameLandThereThoughTheLeafTurnsDuringTheImport) {
    // A question or the progress of the import runs the event loop: the turn the drag started
    // over the arrow goes on, and the spread shown is another by the time the files are in.
    PageFixture f({48}, {1});
    f.openGroup(1);
    f.hub.import = [&] {
        const int count = f.importToBox(2);
        f.w->pgright_Click();
        f.finishTurn();
        return count;
    };
    EXPECT_TRUE(dropFiles(f.w->pb[1], {QStringLiteral("/card/a.jpg")}));
    EXPECT_EQ(f.a.curpage, 3);
    EXPECT_EQ(f.a.npbox, 0);
    for (int i : {0, 1})
        EXPECT_EQ(f.a.pics[f.a.frames[2 + i]].pfile.trimmed(), test::Fixture::fileName(50 + i));
    for (int fr : {26, 27})
        EXPECT_LT(f.a.frames[fr], 1) << fr;
    EXPECT_EQ(f.a.grps[1].gcount, 3);
    EXPECT_EQ(f.w->pictotal->text(), QStringLiteral("3"));
}

namespace {

// Whether page frame `k` shows picture `slot` (each picture its own hue), or nothing for 0.
bool frameShows(const phpage& w, int k, int slot) {
    const QRect r = test::drawnRect(w.pb[k]->picture());
    if (slot == 0 || r.isEmpty())
        return slot == 0 && r.isEmpty();
    const QColor got = w.pb[k]->picture().toImage().pixelColor(r.center());
    return std::abs(got.hue() - PageFixture::colourOf(slot).hue()) <= 8;
}

// 24 pictures in Large frames: six spreads of four.
struct LargeSpreads : PageFixture {
    LargeSpreads()
        : PageFixture({24}, {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                             13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}) {
        a.pgsize = 3;
    }
    // Whether the four frames of the spread show the pictures of their album frames.
    bool framesShowTheirPictures() {
        const int first = (a.curpage - 1) * 2 + 1;
        for (int i = 0; i < 4; ++i)
            if (!frameShows(*w, i < 2 ? i : 10 + i, first + i))
                return false;
        return true;
    }
    void turnTo(int lastPage, bool settleEach) {
        while (a.curpage < lastPage) {
            w->pgright_Click();
            finishTurn();
            if (settleEach)
                settle();
        }
    }
};

} // namespace

// Turning quickly past spreads leaves their pictures unmade: only the spread stopped on and
// its neighbour ahead are decoded, against every picture when each spread is waited for. The
// pictures asked for by the spreads turned past never land in the frames of the one shown.
TEST(PageView, TurningQuicklyDecodesOnlyWhereItStops) {
    LargeSpreads visit;
    visit.openGroup(1);
    visit.turnTo(11, true);
    const int visiting = visit.pictures.stats().decodes;
    EXPECT_EQ(visiting, 24);

    LargeSpreads quick;
    quick.a.curgrp = 1;
    quick.a.curpage = 1;
    {
        test::PoolGate busy(quick.pictures); // the decodes cannot keep up with the keys
        quick.w->SetPage();                  // not even the first spread's pictures are in
        quick.turnTo(11, false);
    }
    quick.settle();
    EXPECT_EQ(quick.a.curpage, 11);
    EXPECT_TRUE(quick.framesShowTheirPictures());
    // At most spread 1 and its neighbour, then the last spread and its neighbour behind.
    EXPECT_LE(quick.pictures.stats().decodes, 16);
    EXPECT_LT(quick.pictures.stats().decodes, visiting);
}

// A picture that cannot be read leaves the empty frame and nothing waiting for it; the other
// frames of the spread are drawn.
TEST(PageView, AnUnreadablePictureLeavesTheEmptyFrame) {
    LargeSpreads f;
    QFile::resize(f.a.picdir + test::Fixture::fileName(2), 30);
    f.openGroup(1); // waits until nothing is pending: it would time out on a lost picture
    EXPECT_EQ(f.w->picturesPending(), 0);
    EXPECT_TRUE(test::drawnRect(f.w->pb[1]->picture()).isEmpty());
    EXPECT_FALSE(f.w->pb[1]->isHidden());
    EXPECT_FALSE(test::drawnRect(f.w->pb[0]->picture()).isEmpty());
    EXPECT_FALSE(test::drawnRect(f.w->pb[13]->picture()).isEmpty());
}

// A photo dragged before its picture (or the one it lands on) has arrived: each picture still
// ends up in the frame that now holds it, and no frame is left waiting for good.
TEST(PageView, PicturesDraggedBeforeTheyArriveLandWhereTheyWentTo) {
    struct Case {
        const char* name;
        int target;
        int shown[3]; // the pictures the three first frames show after it
    };
    const Case cases[] = {
        {"swapped with a photo", 1, {2, 1, 0}},
        {"moved to an empty frame", 2, {0, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageFixture f({24}, {1, 2});
        f.a.curgrp = 1;
        f.a.curpage = 1;
        {
            test::PoolGate busy(f.pictures);
            f.w->SetPage();
            f.w->pb_MouseDown(0, Qt::LeftButton);
            f.w->pb_DragStart(0);
            f.w->pb_DragDrop(c.target, QStringLiteral("pb"));
        }
        f.settle();
        for (int k = 0; k < 3; ++k)
            EXPECT_TRUE(frameShows(*f.w, k, c.shown[k])) << k;
    }
}
