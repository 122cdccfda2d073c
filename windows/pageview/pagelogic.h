// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arithmetic of the page view, without the window: pages of a group, where the arrows
// lead, the grid of frames on the book, the size switch, Go To Page answers and the rotation
// cycle. Pictures are fitted into frames by the shared rule in picturefit.h.

#include "album.h"
#include "picturefit.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <array>

namespace vimbrel {

// Frames on one page for the current size: 12, 3 or 2.
int framesPerPage(const Album& a);
// Pages of the current group: frames / fpp, one more for a remainder, at least 1.
int pageCount(int framesInGroup, int fpp);
// The left page of the last spread: npages, minus 1 when even.
int lastSpread(int npages);
// The spread (odd left page) holding group-relative frame `rel` (1-based) at `fpp`; it keeps
// the first frame of a spread in view when the size changes.
int spreadOf(int rel, int fpp);
// The group-relative number of the first frame on left page `curpage`.
int firstFrameOf(int curpage, int fpp);
// Where an arrow ('L' or 'R') leads from `a.curpage`: two pages back or on within 1 .. the last
// spread, or between the index pages I-1/I-2 and I-3. `a.curpage` itself when there is nothing
// that way, so a click that arrives before the arrow is hidden cannot leave the group.
int arrowTarget(const Album& a, char dir);

// Where the 24 positions sit on a book of `book` pixels for one size.
struct GridLayout {
    int half = 0;                // width of one page; a 12-pixel gutter separates the pages
    int ch = 0;                  // cell height: frame, caption and one pixel
    int hg = 0;                  // horizontal gap
    int vg = 0;                  // vertical gap
    std::array<QRect, 24> pb;    // frame picture
    std::array<QRect, 24> frsel; // selection outline
    std::array<QRect, 24> ibn;   // caption
    std::array<bool, 24> used{}; // the position exists in this size
};
GridLayout layoutGrid(QSize book, const SizeRec& size, int pgsize);

// Where the keyboard focus goes from frame `from` for an arrow ('L', 'R', 'U' or 'D'): the
// nearest shown frame in the same row (Left, Right) or the same column (Up, Down); -1 at the
// edge of the spread.
int neighbourFrame(const std::array<QRect, 24>& frames, const std::array<bool, 24>& shown, int from,
                   char dir);

// Go To Page: the answer as typed (blanks allowed).
struct GoToAnswer {
    enum Kind { Nothing, Invalid, Page } kind = Nothing;
    int page = 0; // the spread's left page for Page
};
GoToAnswer parseGoToPage(const QString& answer, int npages);

// "L" -> "P" -> "p" -> "L"; "e" stays.
char nextOrientation(char porient);

} // namespace vimbrel
