// SPDX-License-Identifier: GPL-3.0-or-later
// The slide show's arithmetic without a window: the list it shows, fitting a picture into the
// display area, the size cycle and the placements, and the wrap-around.

#include "albumfixture.h"
#include "sliderules.h"

#include <gtest/gtest.h>

using namespace vimbrel;
using namespace Qt::StringLiterals;

namespace {

PicRec picture(int w, int h, const char* orient) {
    PicRec p;
    p.pwidth = static_cast<Integer>(w);
    p.pheight = static_cast<Integer>(h);
    p.porient = orient;
    return p;
}

// Two groups of 6 frames; pictures in chosen 1..6 placed out of slot order.
struct ListFixture : test::Fixture {
    ListFixture() {
        const int frames[] = {5, 2, 4, 9, 11, 3}; // 4 and 5 in group 2
        for (int s = 1; s <= 6; ++s)
            addPicture(s, frames[s - 1], s);
        setGroups({6, 6});
    }
    void select(std::initializer_list<int> chosen) {
        for (int s : chosen)
            a.pics[s].psel = 0;
    }
};

} // namespace

TEST(SlideList, SelectedOfTheCurrentGroupInFrameOrderOrTheDoubleClickedFrame) {
    ListFixture f;
    f.select({1, 2, 3, 4}); // 4 is selected but lives in group 2
    f.a.nsel = 3;
    f.a.curgrp = 1;
    f.a.slidesrc = u"Slide"_s;
    ASSERT_EQ(fillSlideList(f.a), 3);
    // Frames 2, 4, 5 hold chosen 2, 3, 1: the list holds chosen, not frames.
    EXPECT_EQ(f.a.wpics[1].psel, 2);
    EXPECT_EQ(f.a.wpics[3].psel, 1);

    f.a.curgrp = 2;
    ASSERT_EQ(fillSlideList(f.a), 1);
    EXPECT_EQ(f.a.wpics[1].psel, 4);
    f.a.curgrp = 3; // no such group
    EXPECT_EQ(fillSlideList(f.a), 0);

    // A stale selection count does not reach leftover entries.
    f.a.curgrp = 1;
    for (int s : {1, 3, 4})
        f.a.pics[s].psel = -1;
    f.a.wpics[2].psel = 999;
    EXPECT_EQ(fillSlideList(f.a), 1);

    f.a.pics[2].psel = -1;
    EXPECT_EQ(fillSlideList(f.a), 0);

    f.a.slidesrc = u"anything"_s; // not "Slide" is single-picture mode
    f.a.dragsrc = 11;
    ASSERT_EQ(fillSlideList(f.a), 1);
    EXPECT_EQ(f.a.wpics[1].psel, 5);
    // An empty frame or a frame number outside the table shows nothing rather than aborting.
    for (Integer frame : {Integer(1), Integer(0), Integer(-1), Integer(1001)}) {
        f.a.dragsrc = frame;
        EXPECT_EQ(fillSlideList(f.a), 0) << frame;
    }
}

TEST(SlideFit, NeverEnlargedProportionsKeptCentredTurnedAsShown) {
    struct Case {
        PicRec pic;
        QSize area;
        int angle;
        QRect rect;
    } cases[] = {
        {picture(400, 300, "L"), {600, 450}, 0, {100, 75, 400, 300}},
        {picture(6000, 4000, "L"), {600, 450}, 0, {0, 25, 600, 400}},
        {picture(3000, 4000, "L"), {600, 450}, 0, {131, 0, 338, 450}}, // 337.5 rounds up
        {picture(601, 100, "L"), {400, 300}, 0, {0, 116, 400, 67}},
        // Turned pictures as shown: 3000 x 4000 scaled to 450 x 600; 300 x 400 at its own size.
        {picture(4000, 3000, "P"), {800, 600}, 90, {175, 0, 450, 600}},
        {picture(400, 300, "P"), {600, 450}, 90, {150, 25, 300, 400}},
        {picture(4000, 3000, "Q"), {800, 600}, 270, {175, 0, 450, 600}},
    };
    for (const Case& c : cases) {
        const Fit f = slideFit(c.pic, c.area);
        ASSERT_TRUE(f.draw);
        EXPECT_EQ(f.angle, c.angle);
        EXPECT_EQ(f.rect, c.rect) << c.pic.pwidth << 'x' << c.pic.pheight;
    }
    // Cleared and sizeless pictures stay black.
    for (const PicRec& p : {picture(4000, 3000, "e"), picture(640, 0, "L"), picture(0, 480, "P")})
        EXPECT_FALSE(slideFit(p, {600, 450}).draw);
}

TEST(SlideSizes, CycleAndPlacement) {
    EXPECT_EQ(nextSlideSize('L'), 'S');
    EXPECT_EQ(nextSlideSize('x'), 'S');

    // 1280 x 800: (800 - 55) \ 2 = 372.
    EXPECT_EQ(openingPlace({1280, 800}), QRect(340, 147, 600, 450));
    EXPECT_EQ(sizePlace({1280, 800}, {800, 600}), QRect(240, 72, 800, 600));
    // Odd sizes truncate: 1365 \ 2 = 682, (767 - 55) \ 2 = 356.
    EXPECT_EQ(sizePlace({1365, 767}, {600, 450}), QRect(382, 131, 600, 450));

    // A low screen: a size change stops at the top edge, the opening does not.
    EXPECT_EQ(openingPlace({800, 480}).top(), 212 - 225);
    EXPECT_EQ(sizePlace({800, 480}, {600, 450}).top(), 0);
    // Narrower than the picture: the left may go negative, it is not clamped.
    EXPECT_EQ(sizePlace({640, 800}, {800, 600}).left(), -80);
}
