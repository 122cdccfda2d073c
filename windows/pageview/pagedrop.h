// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a drop onto a page frame does to the album, without the window. The page view calls
// these in the order its drop rules give and redraws what they changed.

#include "album.h"

#include <QList>

namespace vimbrel {

// A right click on the photo of frame f: selected when it was not, else not; nsel follows.
// Only 0 is a selection mark: pictures that stayed when others were put aside carry their frame.
// Returns whether the photo is selected now.
bool togglePhoto(Album& a, int f);

// A left press on the photo of frame f of a writable album: with nothing selected it becomes
// the selection. Returns whether a drag may start from it (it is selected).
bool pressPhoto(Album& a, int f);

// The photo the Rotate and Save As tools act on: curframe's, when it is a frame of the spread
// on show that holds one. curframe is left at -1 by a drop that found no frame.
inline bool curframeHoldsPhoto(const Album& a) {
    return a.curpage == a.framepage && a.curframe >= 1 && a.curframe <= a.nframes &&
           a.frames[a.curframe] > 0;
}

// The drag ended on the frame position it started from, on the same spread.
bool dropStartedHere(const Album& a, int k);

// One page photo onto another: the two frames trade their pictures.
void swapFrames(Album& a);

// The selected photos of the current group, in frame order, into the empty frames from
// curframe on. False (nothing moved) when fewer than nsel empty frames follow.
bool moveSelectedRun(Album& a);

// The one dragged photo into the empty frame curframe.
void moveOne(Album& a);

// The Photo Box picture dragsrc and the photo in frame curframe trade places: the photo goes
// to the box, the box picture into the frame.
void replaceFromBox(Album& a);

// The selected Photo Box pictures in slot order (the working list marks them), or the one
// picture dragsrc when only one is selected.
QList<PicRec> boxSelection(const Album& a);

// Appends `pictures` to the album, placing them in the frames from curframe on, and counts
// them in the current group. The caller has already taken them out of the Photo Box.
void placeInFrames(Album& a, const QList<PicRec>& pictures);

// Whether `count` pictures imported by a drop of files on frame f go into the frames from f
// on: f is empty and as many empty frames follow in its group. Else they stay in the Photo Box.
bool landsInFrames(Album& a, int f, int count);

// Makes the last `count` pictures of the Photo Box (those an import has just added) its
// selection, as picking them in the strip and dragging them would.
void selectBoxTail(Album& a, int count);

} // namespace vimbrel
