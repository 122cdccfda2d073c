// The slide-show window on the offscreen platform: how it opens, play and stop with the timer
// driven by the test, the bar and its widths, the sizes, the single-picture view, the keys and
// the slide decoded ahead.

#include "albumfixture.h"
#include "phslide.h"
#include "picturelibrary.h"
#include "sliderules.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace vimbrel;

namespace {

constexpr QRgb kShown = 0xff2060c0;

// Group 1 of 8 frames with pictures in frames 2, 3, 5, 7 (chosen 1..4). Slot 1 is 400 x 300,
// slot 2 larger than any display size, slot 3 a cleared slot ("e"), slot 4 turned.
struct SlideFixture : test::Fixture {
    QTemporaryDir tmp;
    PictureLibrary pictures{tmp.filePath(QStringLiteral("thumbs")), 64 << 20};
    WindowHub hub;

    SlideFixture() {
        a.picdir = tmp.filePath(QStringLiteral("A")) + QLatin1Char('/');
        QDir().mkpath(a.picdir);
        const int frames[] = {2, 3, 5, 7};
        const QSize sizes[] = {{400, 300}, {1200, 900}, {400, 300}, {400, 300}};
        for (int slot = 1; slot <= 4; ++slot) {
            addPicture(slot, frames[slot - 1], slot);
            QImage img(sizes[slot - 1], QImage::Format_RGB32);
            img.fill(kShown);
            img.save(a.picdir + fileName(slot), "JPEG", 95);
            a.pics[slot].pwidth = static_cast<Integer>(img.width());
            a.pics[slot].pheight = static_cast<Integer>(img.height());
        }
        a.pics[3].porient = "e";
        a.pics[4].porient = "P";
        setGroups({8});
        a.curgrp = 1;
        a.slidesrc = QStringLiteral("Slide");
    }
    void select(std::initializer_list<int> chosen) {
        for (int s : chosen)
            a.pics[s].psel = 0;
        a.nsel = static_cast<Integer>(chosen.size());
    }
    std::unique_ptr<phslide> open() { return std::make_unique<phslide>(a, hub, pictures); }
};

void key(QWidget* w, int k) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

bool isBlack(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 16;
}

} // namespace

TEST(SlideWindow, OpensStoppedAtSlideOneWithTheDescriptions) {
    SlideFixture f;
    f.select({1, 2, 3});
    auto w = f.open();
    ASSERT_EQ(w->nslides(), 3);
    EXPECT_EQ(w->playTag(), 'S');
    EXPECT_EQ(w->sizeTag(), 'M');
    EXPECT_FALSE(w->sltimer.isActive());
    EXPECT_TRUE(w->tm_sel->isEnabled());
    EXPECT_EQ(w->tm_sel->currentText(), QStringLiteral("1"));
    EXPECT_EQ(w->cb_play->icon().cacheKey(), w->img_play.cacheKey());

    EXPECT_EQ(w->pg_scroll->maximum(), 3);
    EXPECT_EQ(w->frvcr->title(), QStringLiteral(" 1  of  3 "));
    EXPECT_EQ(w->dname->text(), QStringLiteral("short 1"));
    EXPECT_EQ(w->ddesc->text(), QStringLiteral("long 1"));
    EXPECT_EQ(w->cb_hidedesc->text(), QStringLiteral("<"));

    const QSize screen = w->screenSize();
    EXPECT_EQ(w->pb->geometry(), openingPlace(screen));
    EXPECT_EQ(w->frvcr->geometry(), barPlace(screen, 800));
    EXPECT_EQ(w->pg_scroll->width(), 784);
    EXPECT_EQ(w->pbload.size(), w->pb->size());

    // 400 x 300 in 600 x 450: its own size, centred, black around it.
    const QImage shown = w->pb->picture();
    ASSERT_EQ(shown.size(), QSize(600, 450));
    EXPECT_TRUE(isBlack(shown, 90, 70));
    EXPECT_FALSE(isBlack(shown, 110, 80));
    EXPECT_TRUE(isBlack(shown, 510, 380));
    EXPECT_EQ(f.a.changed, 'n');
    EXPECT_EQ(f.a.pics[1].psel, 0);
}

TEST(SlideWindow, PlayStopAndTheTimer) {
    SlideFixture f;
    f.select({1, 2, 3});
    auto w = f.open();
    w->tm_sel->setCurrentIndex(10); // 15 seconds
    w->cb_play_Click();
    EXPECT_EQ(w->playTag(), 'P');
    EXPECT_EQ(w->cb_play->icon().cacheKey(), w->img_stop.cacheKey());
    EXPECT_FALSE(w->tm_sel->isEnabled());
    EXPECT_TRUE(w->sltimer.isActive());
    EXPECT_EQ(w->sltimer.interval(), 15000);
    EXPECT_EQ(w->pg_scroll->value(), 1); // the first change waits an interval

    // The timer loops round; next and previous keep it playing.
    w->sltimer_Timer();
    w->sltimer_Timer();
    EXPECT_EQ(w->frvcr->title(), QStringLiteral(" 3  of  3 "));
    // Slot 3 is a cleared slot: named, but the area stays black.
    EXPECT_EQ(w->dname->text(), QStringLiteral("short 3"));
    EXPECT_TRUE(isBlack(w->pb->picture(), 300, 225));
    w->sltimer_Timer();
    EXPECT_EQ(w->pg_scroll->value(), 1);
    w->cb_prev_Click();
    EXPECT_EQ(w->pg_scroll->value(), 3);
    w->cb_next_Click();
    EXPECT_EQ(w->pg_scroll->value(), 1);
    EXPECT_TRUE(w->sltimer.isActive());

    // First, last and the size change all end stopped, whether playing or not.
    w->cb_last_Click();
    EXPECT_EQ(w->pg_scroll->value(), 3);
    EXPECT_FALSE(w->sltimer.isActive());
    EXPECT_TRUE(w->tm_sel->isEnabled());
    EXPECT_EQ(w->cb_play->icon().cacheKey(), w->img_play.cacheKey());
    w->cb_first_Click();
    EXPECT_EQ(w->playTag(), 'S');
    EXPECT_EQ(w->pg_scroll->value(), 1);
    w->cb_play_Click();
    w->cb_size_Click();
    EXPECT_EQ(w->playTag(), 'S');
    EXPECT_FALSE(w->sltimer.isActive());

    // Moving the scroll bar shows that slide.
    w->pg_scroll->setValue(2);
    EXPECT_EQ(w->dname->text(), QStringLiteral("short 2"));
}

TEST(SlideWindow, OneSlideIsNotDrawnAgain) {
    SlideFixture f;
    f.select({2});
    auto w = f.open();
    ASSERT_EQ(w->nslides(), 1);
    const int drawn = w->slidesDrawn();
    w->cb_next_Click();
    w->cb_prev_Click();
    w->cb_play_Click();
    w->sltimer_Timer();
    EXPECT_EQ(w->slidesDrawn(), drawn);
    EXPECT_EQ(w->frvcr->title(), QStringLiteral(" 1  of  1 "));
}

TEST(SlideWindow, SizeCycleRedrawsAndStopsAtTheTop) {
    SlideFixture f;
    f.select({2});
    auto w = f.open();
    const QSize screen = w->screenSize();
    w->cb_size_Click();
    EXPECT_EQ(w->sizeTag(), 'L');
    EXPECT_EQ(w->pb->geometry(), sizePlace(screen, {800, 600}));
    EXPECT_GE(w->pb->y(), 0);
    EXPECT_EQ(w->pbload.size(), QSize(800, 600));
    // 1200 x 900 fills 800 x 600 exactly.
    const QImage large = w->pb->picture();
    ASSERT_EQ(large.size(), QSize(800, 600));
    EXPECT_FALSE(isBlack(large, 2, 2));
    EXPECT_FALSE(isBlack(large, 797, 597));

    w->cb_size_Click();
    EXPECT_EQ(w->sizeTag(), 'S');
    EXPECT_EQ(w->pb->geometry(), sizePlace(screen, {400, 300}));
    EXPECT_EQ(w->pb->picture().size(), QSize(400, 300));
    w->cb_size_Click();
    EXPECT_EQ(w->sizeTag(), 'M');
}

TEST(SlideWindow, SmallTurnedPictureKeepsItsStoredBox) {
    SlideFixture f;
    f.select({4});
    auto w = f.open();
    // 400 x 300 turned: never enlarged, so drawn into 400 x 300, centred.
    const QImage shown = w->pb->picture();
    EXPECT_FALSE(isBlack(shown, 300, 225));
    EXPECT_TRUE(isBlack(shown, 90, 225));
}

TEST(SlideWindow, DescriptionToggleSizesTheBar) {
    SlideFixture f;
    f.select({1, 2});
    auto w = f.open();
    const QSize screen = w->screenSize();
    w->cb_play_Click();
    w->cb_hidedesc_Click();
    EXPECT_EQ(w->cb_hidedesc->text(), QStringLiteral(">"));
    EXPECT_TRUE(w->dname->isHidden());
    EXPECT_TRUE(w->ddesc->isHidden());
    const int narrow = w->ddesc->x() + 7;
    EXPECT_EQ(w->frvcr->geometry(), barPlace(screen, narrow));
    EXPECT_EQ(w->pg_scroll->width(), narrow - 16);
    // The buttons still fit in the narrow bar.
    EXPECT_LE(w->cb_exit->geometry().right(), narrow);
    EXPECT_EQ(w->playTag(), 'P'); // the toggle keeps playing

    w->cb_hidedesc_Click();
    EXPECT_EQ(w->cb_hidedesc->text(), QStringLiteral("<"));
    EXPECT_FALSE(w->dname->isHidden());
    EXPECT_EQ(w->frvcr->width(), 800);
    EXPECT_EQ(w->pg_scroll->width(), 784);
}

TEST(SlideWindow, SinglePictureShowsOnlySizeAndExit) {
    SlideFixture f;
    f.select({1, 2}); // the selection plays no part here
    f.a.slidesrc = QStringLiteral("Pic");
    f.a.dragsrc = 3; // slot 2
    auto w = f.open();
    ASSERT_EQ(w->nslides(), 1);
    EXPECT_FALSE(w->slideShowMode());
    for (QWidget* c : std::initializer_list<QWidget*>{w->pg_scroll, w->cb_first, w->cb_last,
                                                      w->cb_next, w->cb_prev, w->cb_play, w->ddesc,
                                                      w->dname, w->tm_sel, w->cb_hidedesc})
        EXPECT_TRUE(c->isHidden());
    EXPECT_FALSE(w->cb_size->isHidden());
    EXPECT_FALSE(w->cb_exit->isHidden());
    EXPECT_EQ(w->cb_size->pos(), QPoint(w->cb_first->x(), w->cb_first->y()));
    EXPECT_EQ(w->cb_exit->x(), w->cb_prev->x());
    EXPECT_EQ(w->frvcr->width(), w->cb_exit->geometry().right() + 1 + 8);
    EXPECT_TRUE(w->frvcr->title().isEmpty());
    EXPECT_FALSE(isBlack(w->pb->picture(), 300, 225));

    // The navigation keys have nothing to do here.
    key(w.get(), Qt::Key_Space);
    key(w.get(), Qt::Key_Right);
    EXPECT_EQ(w->playTag(), 'S');
    w->cb_size_Click();
    EXPECT_EQ(w->sizeTag(), 'L');
}

TEST(SlideWindow, NothingToShowClosesAtOnce) {
    SlideFixture f;
    auto w = f.open(); // nothing selected
    EXPECT_EQ(w->nslides(), 0);
    EXPECT_EQ(w->exec(), QDialog::Rejected);
    EXPECT_FALSE(w->isVisible());

    f.a.slidesrc = QStringLiteral("Pic");
    f.a.dragsrc = 1; // an empty frame
    auto single = f.open();
    EXPECT_EQ(single->exec(), QDialog::Rejected);
}

TEST(SlideWindow, Keys) {
    SlideFixture f;
    f.select({1, 2, 4});
    auto w = f.open();
    key(w.get(), Qt::Key_Space);
    EXPECT_EQ(w->playTag(), 'P');
    key(w.get(), Qt::Key_Right);
    EXPECT_EQ(w->pg_scroll->value(), 2);
    key(w.get(), Qt::Key_Left);
    key(w.get(), Qt::Key_Left);
    EXPECT_EQ(w->pg_scroll->value(), 3);
    EXPECT_EQ(w->playTag(), 'P');
    key(w.get(), Qt::Key_Home);
    EXPECT_EQ(w->pg_scroll->value(), 1);
    EXPECT_EQ(w->playTag(), 'S');
    key(w.get(), Qt::Key_End);
    EXPECT_EQ(w->pg_scroll->value(), 3);
    key(w.get(), Qt::Key_Space);
    key(w.get(), Qt::Key_Space);
    EXPECT_EQ(w->playTag(), 'S');

    w->show();
    key(w.get(), Qt::Key_Space);
    key(w.get(), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->sltimer.isActive());
    EXPECT_EQ(w->result(), QDialog::Rejected);
}

TEST(SlideWindow, ClicksOnThePictureOrTheBackgroundToggleTheBar) {
    SlideFixture f;
    f.select({1});
    auto w = f.open();
    w->show();
    QTest::mouseClick(w->pb, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(w->frvcr->isHidden());
    QTest::mouseClick(w.get(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(w->frvcr->isHidden());
    QTest::mouseClick(w->cb_next, Qt::LeftButton); // a button is no background
    EXPECT_FALSE(w->frvcr->isHidden());
}

TEST(SlideWindow, PointerHidesAtRestAndReturnsOnMovement) {
    SlideFixture f;
    f.select({1});
    auto w = f.open();
    w->show();
    QTRY_COMPARE_WITH_TIMEOUT(w->cursor().shape(), Qt::BlankCursor, phslide::pointerRestMs + 2000);
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w->pb, &move);
    EXPECT_NE(w->cursor().shape(), Qt::BlankCursor);
}

TEST(SlideWindow, NextSlideIsDecodedAhead) {
    SlideFixture f;
    f.select({1, 2, 4});
    auto w = f.open();
    w->waitForAhead();
    const PictureLibrary::Stats before = f.pictures.stats();
    w->cb_next_Click();
    w->waitForAhead();
    const PictureLibrary::Stats after = f.pictures.stats();
    // Slide 2 came from memory; the one decode since is slide 3, decoded ahead in turn.
    EXPECT_EQ(after.memoryHits, before.memoryHits + 1);
    EXPECT_EQ(after.decodes, before.decodes + 1);
    EXPECT_FALSE(isBlack(w->pb->picture(), 300, 225));
}
