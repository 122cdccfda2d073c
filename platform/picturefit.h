// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a picture is fitted into a box on screen: the page frames, the Photo Box strip, the group
// editor, the slide show and the import preview all place pictures with this one rule.
//
// The rule works on the picture as it is shown, after turning: a 400 x 300 picture stored with
// orientation "P" is a 300 x 400 picture on screen. It is drawn at that size when it fits the
// box, else scaled down keeping its proportions; either way it is centred.

#include <QRect>
#include <QSize>

namespace vimbrel {

// Rounds half to the even neighbour, as every conversion to an integer in the layout does.
int roundHalfEven(double v);

// Where a picture goes inside its box and how far it is turned (clockwise degrees), or
// nothing when it is not drawn.
struct Fit {
    bool draw = false;
    QRect rect; // in the box's coordinates, the size after turning
    int angle = 0;
};

// `stored` is the picture's own size (pwidth x pheight); `porient` its orientation letter: "L"
// upright, "P" turned 90, "e" not drawn, any other letter turned 270.
Fit fitPicture(QSize stored, char porient, QSize box);

} // namespace vimbrel
