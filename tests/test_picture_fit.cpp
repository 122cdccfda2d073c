// SPDX-License-Identifier: GPL-3.0-or-later
// The one fitting rule every window places its pictures with.

#include "picturefit.h"

#include <gtest/gtest.h>

using namespace vimbrel;

TEST(PictureFit, DrawnAsShownAfterTurning) {
    struct Case {
        QSize stored;
        char orient;
        QSize box;
        QRect rect;
        int angle;
    };
    const QSize frame(108, 72);
    for (const Case& c : {
             Case{{4000, 3000}, 'L', frame, {6, 0, 96, 72}, 0},
             Case{{3000, 1000}, 'L', frame, {0, 18, 108, 36}, 0}, // panorama: full width
             Case{{50, 40}, 'L', frame, {29, 16, 50, 40}, 0},     // smaller: own size
             Case{{107, 50}, 'L', frame, {0, 11, 107, 50}, 0},    // 0.5 rounds to 0
             Case{{105, 50}, 'L', frame, {2, 11, 105, 50}, 0},    // 1.5 rounds to 2
             Case{{4000, 3000}, 'P', frame, {27, 0, 54, 72}, 90}, // large: fits the height
             // Small turned pictures keep 3:4: at their own turned size when that fits ...
             Case{{60, 45}, 'P', frame, {32, 6, 45, 60}, 90}, // 31.5 rounds to 32
             Case{{400, 300}, 'P', {600, 450}, {150, 25, 300, 400}, 90},
             // ... and scaled when only the unturned size would have fitted.
             Case{{80, 60}, 'p', frame, {27, 0, 54, 72}, 270},
             Case{{80, 60}, 'x', frame, {27, 0, 54, 72}, 270},
             Case{{400, 300}, 'P', {324, 216}, {81, 0, 162, 216}, 90},
         }) {
        const Fit f = fitPicture(c.stored, c.orient, c.box);
        EXPECT_TRUE(f.draw);
        EXPECT_EQ(f.rect, c.rect) << c.stored.width() << "x" << c.stored.height() << c.orient;
        EXPECT_EQ(f.angle, c.angle);
    }
}

TEST(PictureFit, NothingForClearedSizelessOrVanishingPictures) {
    for (const auto& [stored, orient] :
         {std::pair{QSize(4000, 3000), 'e'}, std::pair{QSize(640, 0), 'L'},
          std::pair{QSize(0, 480), 'P'}, std::pair{QSize(1, 1000), 'P'}}) // 1000 x 1: 0 high
        EXPECT_FALSE(fitPicture(stored, orient, {108, 72}).draw) << stored.width() << orient;
    EXPECT_FALSE(fitPicture({400, 300}, 'L', {0, 0}).draw);
}
