// The page view as a window on the offscreen platform: index, spreads, the page turn driven
// tick by tick, selection and the tools that change the view.

#include "albumfixture.h"
#include "bookview.h"
#include "drawnrect.h"
#include "phpage.h"
#include "picturelibrary.h"
#include "poolgate.h"
#include "waitpictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vimbrel;

namespace {

struct Hub : WindowHub {
    phpage* page = nullptr;
    bool box = false;
    void SetPage() override { page->SetPage(); }
    void SetTotPg() override { page->SetTotPg(); }
    void Set_it(int c) override { page->Set_it(c); }
    void showSelMark(int p, bool v) override { page->showSelMark(p, v); }
    void setSelCount(int n) override { page->setSelCount(n); }
    bool photoBoxVisible() const override { return box; }
    void setPhotoBoxVisible(bool v) override { box = v; }
    QStringList opened;
    void showMail() override { opened.append(QStringLiteral("mail")); }
    void showPrint() override { opened.append(QStringLiteral("print")); }
    void printReport() override { opened.append(QStringLiteral("report")); }
};

// An album of `groups` groups of `frames` frames with pictures in the given frames.
struct PageFixture : test::Fixture {
    QTemporaryDir tmp;
    PictureLibrary pictures{tmp.filePath(QStringLiteral("thumbs")), 16 << 20};
    Hub hub;
    std::unique_ptr<phpage> w;

    PageFixture(std::initializer_list<int> groupSizes, std::initializer_list<int> pictureFrames) {
        a.picdir = tmp.filePath(QStringLiteral("A")) + QLatin1Char('/');
        QDir().mkpath(a.picdir);
        a.sizes[1] = {108, 72, 4, 3};
        a.sizes[2] = {200, 133, 3, 1};
        a.sizes[3] = {324, 216, 2, 1};
        a.pgsize = 1;
        a.descon = 'n';
        a.canwrite = 'Y';
        int slot = 0;
        for (int frame : pictureFrames) {
            ++slot;
            addPicture(slot, frame, slot);
            QImage img(80, 60, QImage::Format_RGB32);
            img.fill(QColor::fromHsv(slot * 37 % 360, 200, 220));
            img.save(a.picdir + fileName(slot), "JPEG");
            a.pics[slot].pwidth = 80;
            a.pics[slot].pheight = 60;
        }
        setGroups(groupSizes);
        a.views = &hub;
        w = std::make_unique<phpage>(a, hub, pictures);
        hub.page = w.get();
    }
    ~PageFixture() {
        // Whatever the test did, no picture was read on the GUI thread.
        EXPECT_EQ(pictures.stats().guiThreadLoads, 0);
    }
    void openGroup(int g) {
        a.curgrp = static_cast<Integer>(g);
        a.curpage = 1;
        w->SetPage();
        w->Set_it(-1);
        settle();
    }
    void settle() { EXPECT_TRUE(test::waitForPictures(*w)); }
    // Runs the page-turn timer to its end, as its ticks would.
    int finishTurn() {
        int ticks = 0;
        while (w->pgtimer.isActive() && ticks < 20) {
            w->pgtimer_Timer();
            ++ticks;
        }
        return ticks;
    }
    // A key held down: one press per tick of the turn, as auto-repeat delivers them, and more
    // after the turn ended; `curpage` is checked after every press.
    void holdKey(Qt::Key key, int presses, int low, int high) {
        for (int i = 0; i < presses; ++i) {
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(w.get(), &e);
            ASSERT_GE(a.curpage, low) << "press " << i;
            ASSERT_LE(a.curpage, high) << "press " << i;
            if (w->pgtimer.isActive())
                w->pgtimer_Timer();
        }
        finishTurn();
    }
};

} // namespace

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

TEST(PageView, HeldPageKeysStopAtTheFirstAndLastSpread) {
    PageFixture f({48}, {1, 25});
    f.openGroup(1);
    f.w->show(); // the keys follow the arrows the user sees
    f.holdKey(Qt::Key_PageDown, 20, 1, 3);
    EXPECT_EQ(f.a.curpage, 3);
    EXPECT_EQ(f.w->pgnum[0]->text(), QStringLiteral("3 "));
    EXPECT_FALSE(f.w->pb[0]->picture().isNull());
    f.holdKey(Qt::Key_PageUp, 20, 1, 3);
    EXPECT_EQ(f.a.curpage, 1);
    EXPECT_TRUE(f.w->idxlst[0]->isHidden());
    EXPECT_FALSE(f.w->pb[0]->isHidden());
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

TEST(PageView, ReadOnlyAlbumsIgnoreTheLeftButtonButSelectWithTheRight) {
    PageFixture f({24}, {1});
    f.a.canwrite = 'N';
    f.openGroup(1);
    f.w->pb_MouseDown(0, Qt::LeftButton);
    EXPECT_EQ(f.a.nsel, 0);
    f.w->pb_MouseDown(0, Qt::RightButton);
    EXPECT_EQ(f.a.nsel, 1);
}

TEST(PageView, ABoxPictureReplacesAPhotoOnlyAfterYes) {
    PageFixture f({24}, {1});
    f.setPhotoBox({50});
    f.openGroup(1);
    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        f.a.dragsrc = 1000;
        f.a.pbsel = 1;
        f.ui.answers.enqueue(answer);
        f.w->pb_DragDrop(0, QStringLiteral("fs"));
        EXPECT_EQ(f.a.pics[1].pfile, answer == MsgAnswer::Yes ? "vmb0050.jpg" : "vmb0001.jpg");
    }
    EXPECT_EQ(f.a.pics[1000].pfile, "vmb0001.jpg");
}

namespace {

// 24 pictures in Large frames: six spreads of four.
struct LargeSpreads : PageFixture {
    LargeSpreads()
        : PageFixture({24}, {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                             13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}) {
        a.pgsize = 3;
    }
    // Whether page frame `k` shows the picture of album frame `f` (each picture its own hue).
    bool framesShowTheirPictures() {
        const int first = (a.curpage - 1) * 2 + 1;
        for (int i = 0; i < 4; ++i) {
            const int k = i < 2 ? i : 12 + i - 2;
            const QImage img = w->pb[k]->picture().toImage();
            const QRect r = test::drawnRect(w->pb[k]->picture());
            if (r.isEmpty())
                return false;
            const QColor want = QColor::fromHsv((first + i) * 37 % 360, 200, 220);
            const QColor got = img.pixelColor(r.center());
            if (std::abs(got.hue() - want.hue()) > 8)
                return false;
        }
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
// its neighbour ahead are decoded, against every picture when each spread is waited for.
TEST(PageView, TurningQuicklyDecodesOnlyWhereItStops) {
    LargeSpreads visit;
    visit.openGroup(1);
    visit.turnTo(11, true);
    const int visiting = visit.pictures.stats().decodes;
    EXPECT_EQ(visiting, 24);

    LargeSpreads quick;
    quick.openGroup(1);
    {
        test::PoolGate busy(quick.pictures); // the decodes cannot keep up with the keys
        quick.turnTo(11, false);
    }
    quick.settle();
    EXPECT_TRUE(quick.framesShowTheirPictures());
    // Spread 1 and its neighbour, then the last spread and its neighbour behind.
    EXPECT_LE(quick.pictures.stats().decodes, 16);
    EXPECT_LT(quick.pictures.stats().decodes, visiting);
}

// Pictures asked for by spreads turned past never land in the frames of the spread shown.
TEST(PageView, StalePicturesNeverLandInTheWrongFrame) {
    LargeSpreads f;
    f.a.curgrp = 1;
    f.a.curpage = 1;
    {
        test::PoolGate busy(f.pictures);
        f.w->SetPage();
        f.w->pgright_Click();
        f.finishTurn();
        f.w->pgright_Click();
        f.finishTurn();
    }
    f.settle();
    EXPECT_EQ(f.a.curpage, 5);
    EXPECT_TRUE(f.framesShowTheirPictures());
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

namespace {

// Whether page frame `k` shows picture `slot` (each picture its own hue), or nothing for 0.
bool frameShows(const phpage& w, int k, int slot) {
    const QRect r = test::drawnRect(w.pb[k]->picture());
    if (slot == 0)
        return r.isEmpty();
    if (r.isEmpty())
        return false;
    const QColor got = w.pb[k]->picture().toImage().pixelColor(r.center());
    return std::abs(got.hue() - QColor::fromHsv(slot * 37 % 360, 200, 220).hue()) <= 8;
}

} // namespace

// A photo dragged before its picture (or the one it lands on) has arrived: each picture still
// ends up in the frame that now holds it, and no frame is left waiting for good.
TEST(PageView, PicturesDraggedBeforeTheyArriveLandWhereTheyWentTo) {
    struct Case {
        const char* name;
        int target;
        int frame0, frame1, frame2; // the pictures the three first frames show after it
    };
    const Case cases[] = {
        {"swapped with a photo", 1, 2, 1, 0},
        {"moved to an empty frame", 2, 0, 2, 1},
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
        EXPECT_TRUE(frameShows(*f.w, 0, c.frame0));
        EXPECT_TRUE(frameShows(*f.w, 1, c.frame1));
        EXPECT_TRUE(frameShows(*f.w, 2, c.frame2));
    }
}
