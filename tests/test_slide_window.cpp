// SPDX-License-Identifier: GPL-3.0-or-later
// The slide-show window on the offscreen platform, with the timer driven by the test.

#include "albumfixture.h"
#include "phslide.h"
#include "picturelibrary.h"
#include "poolgate.h"
#include "sliderules.h"
#include "waitpictures.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace vimbrel;
using namespace Qt::StringLiterals;

namespace {

constexpr QRgb kShown = 0xff2060c0;

// Group 1 of 8 frames with pictures in frames 2, 3, 5, 7 (chosen 1..4). Slot 1 is 400 x 300,
// slot 2 larger than any display size, slot 3 a cleared slot ("e"), slot 4 turned.
struct SlideFixture : test::Fixture {
    QTemporaryDir tmp;
    PictureLibrary pictures{tmp.filePath(u"thumbs"_s), 64 << 20};
    WindowHub hub;

    SlideFixture() {
        a.picdir = tmp.filePath(u"A"_s) + QLatin1Char('/');
        QDir().mkpath(a.picdir);
        const int frames[] = {2, 3, 5, 7};
        const QSize sizes[] = {{400, 300}, {1200, 900}, {400, 300}, {400, 300}};
        for (int slot = 1; slot <= 4; ++slot) {
            addPictureFile(slot, frames[slot - 1], slot, sizes[slot - 1], kShown, 95);
        }
        a.pics[3].porient = "e";
        a.pics[4].porient = "P";
        setGroups({8});
        a.curgrp = 1;
        a.slidesrc = u"Slide"_s;
    }
    void select(std::initializer_list<int> chosen) {
        for (int s : chosen)
            a.pics[s].psel = 0;
        a.nsel = static_cast<Integer>(chosen.size());
    }
    ~SlideFixture() { EXPECT_EQ(pictures.stats().guiThreadLoads, 0); }
    std::unique_ptr<phslide> open() {
        auto w = std::make_unique<phslide>(a, hub, pictures);
        settle(*w);
        return w;
    }
    static void settle(const phslide& w) { EXPECT_TRUE(test::waitForPictures(w)); }
    static void settleAhead(const phslide& w) {
        EXPECT_TRUE(test::waitUntil([&] { return !w.loadingAhead(); }));
    }
};

void key(QWidget* w, int k) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

bool isBlack(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 16;
}

} // namespace

TEST(SlideWindow, OpensStoppedThenPlaysStopsAndResizes) {
    SlideFixture f;
    f.select({1, 2, 3});
    auto w = f.open();
    EXPECT_EQ(w->playTag(), 'S');
    EXPECT_EQ(w->frvcr->title(), u" 1  of  3 "_s);
    EXPECT_EQ(w->ddesc->text(), u"long 1"_s);
    EXPECT_EQ(w->pb->geometry(), openingPlace(w->screenSize()));

    // 400 x 300 in 600 x 450: its own size, centred, black around it.
    const QImage shown = w->pb->picture();
    ASSERT_EQ(shown.size(), QSize(600, 450));
    EXPECT_TRUE(isBlack(shown, 90, 70));
    EXPECT_FALSE(isBlack(shown, 110, 80));
    EXPECT_EQ(f.a.changed, 'n');

    w->tm_sel->setCurrentIndex(10); // 15 seconds
    w->cb_play_Click();
    EXPECT_EQ(w->sltimer.interval(), 15000);
    EXPECT_EQ(w->pg_scroll->value(), 1); // the first change waits an interval

    // The timer loops round; next and previous keep it playing.
    w->sltimer_Timer();
    w->sltimer_Timer();
    // Slot 3 is a cleared slot: named, but the area stays black.
    EXPECT_EQ(w->dname->text(), u"short 3"_s);
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
    EXPECT_FALSE(w->sltimer.isActive());
    EXPECT_TRUE(w->tm_sel->isEnabled());
    w->cb_play_Click();
    w->cb_size_Click();
    EXPECT_EQ(w->playTag(), 'S');
    EXPECT_FALSE(w->sltimer.isActive());
    EXPECT_EQ(w->sizeTag(), 'L');
    EXPECT_EQ(w->pb->geometry(), sizePlace(w->screenSize(), {800, 600}));
    EXPECT_EQ(w->pb->picture().size(), QSize(800, 600));
    w->cb_size_Click();
    EXPECT_EQ(w->pb->picture().size(), QSize(400, 300));
}

TEST(SlideWindow, KeysAndClicks) {
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
    key(w.get(), Qt::Key_Home);
    EXPECT_EQ(w->pg_scroll->value(), 1);
    EXPECT_EQ(w->playTag(), 'S');
    key(w.get(), Qt::Key_End);
    EXPECT_EQ(w->pg_scroll->value(), 3);

    // Clicks on the picture or the background toggle the bar; a button is no background.
    w->show();
    QTest::mouseClick(w->pb, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(w->frvcr->isHidden());
    QTest::mouseClick(w.get(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(w->frvcr->isHidden());
    QTest::mouseClick(w->cb_next, Qt::LeftButton);
    EXPECT_FALSE(w->frvcr->isHidden());
    key(w.get(), Qt::Key_Space);
    key(w.get(), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->sltimer.isActive());
}

TEST(SlideWindow, NextSlideIsDecodedAhead) {
    SlideFixture f;
    f.select({1, 2, 4});
    auto w = f.open();
    f.settleAhead(*w);
    const PictureLibrary::Stats before = f.pictures.stats();
    w->cb_next_Click();
    f.settleAhead(*w);
    const PictureLibrary::Stats after = f.pictures.stats();
    // Slide 2 came from memory; the one decode since is slide 3, decoded ahead in turn.
    EXPECT_EQ(after.memoryHits, before.memoryHits + 1);
    EXPECT_EQ(after.decodes, before.decodes + 1);
    EXPECT_FALSE(isBlack(w->pb->picture(), 300, 225));
}

// Right held faster than pictures decode: the slide that stays shows its own picture, never one
// asked for by a slide passed on the way, and nothing is left waiting.
TEST(SlideWindow, APassedSlidesPictureNeverShows) {
    SlideFixture f;
    f.select({1, 2, 4}); // slide 2 fills the area, slide 3 is a narrow upright picture
    auto w = f.open();
    f.pictures.clearMemory();
    {
        test::PoolGate busy(f.pictures);
        key(w.get(), Qt::Key_Right);
        key(w.get(), Qt::Key_Right);
        EXPECT_EQ(w->picturesPending(), 1);
    }
    f.settle(*w);
    f.settleAhead(*w);
    EXPECT_EQ(w->pg_scroll->value(), 3);
    EXPECT_FALSE(isBlack(w->pb->picture(), 300, 225));
    EXPECT_TRUE(isBlack(w->pb->picture(), 100, 225));
}
