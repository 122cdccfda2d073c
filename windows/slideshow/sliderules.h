// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The slide show's arithmetic, without the window: which pictures it shows, how one is fitted
// into the display area, the three display sizes and where the area and the control bar sit on
// the screen, the counter text and the wrap-around of the position.
//
// The window covers the screen and works in pixels; every placement here takes the screen size.

#include "album.h"
#include "framefit.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace vimbrel {

// The control bar frvcr: 825 twips high, 800 pixels wide with the descriptions shown.
inline constexpr int slideBarHeight = 55;
inline constexpr int slideBarWideWidth = 800;

// slidesrc "Slide" shows the selection; anything else the one picture of frame dragsrc.
bool isSlideShowMode(const Album& a);

// Fills wpics(1..n).psel with the picture slots to show, in showing order, and returns n.
// Slide-show mode: the selected pictures of the current group in frame order. Otherwise the
// picture of frame dragsrc. 0 when there is nothing to show.
int fillSlideList(Album& a);

// The seconds tm_sel offers, as its entries read.
QStringList slideIntervals();

// "S" 400 x 300, "M" 600 x 450, "L" 800 x 600; "M" for anything else.
QSize slideSize(char tag);
// "S" -> "M" -> "L" -> "S"; anything that is not "S" or "M" counts as "L".
char nextSlideSize(char tag);

// The display area at opening: "M", centred above the bar; its top may be negative.
QRect openingPlace(QSize screen);
// The display area after a size change: the same centring, but never above the screen's top.
QRect sizePlace(QSize screen, QSize size);
// The bar: centred at the bottom edge of the screen.
QRect barPlace(QSize screen, int barWidth);

// Bar width after the description toggle. Slide-show mode: the descriptions now shown end at
// 800, hidden ones at the left edge of ddesc + 7. Single picture: just past cb_exit.
int slideBarWidth(bool slideShowMode, bool descShown, int ddescLeft, int exitRight);

// A non-negative number as the generic conversion writes it: one leading blank.
QString vbStr(int n);
// " 3  of  12 ": the caption of the bar for slide `position` of `nslides`.
QString slideCounter(int position, int nslides);

// The next and previous positions in 1..nslides, wrapping round at both ends.
int nextPosition(int position, int nslides);
int prevPosition(int position, int nslides);

// Where picture `p` is drawn in a display area of `area` pixels: never enlarged, proportions
// kept (turned pictures with their sides swapped), centred. Nothing for "e" or a 0 size.
Fit slideFit(const PicRec& p, QSize area);

// The name line: the short description, or the file name when that is blank; and the long
// description.
QString slideName(const PicRec& p);
QString slideDesc(const PicRec& p);

} // namespace vimbrel
