// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The group editor's rules on the album, without the window: which buttons may act, the
// boundary range and move, Add, Insert, Delete, the merges, names, and the strip's geometry.
//
// Every operation keeps the album's promises: groups follow each other from frame 1, nframes
// is the last group's glast (<= maxpics), each gcount counts its group's pictures and every
// album picture sits in exactly one frame. Operations that would break a limit refuse and
// return false; the window disables their buttons beforehand.

#include "album.h"

#include <QString>

namespace vimbrel {

class WindowHub;

inline constexpr int minGroupFrames = 24; // a new group's size, and the least a group keeps
inline constexpr int maxGroups = 42;

struct GroupButtons {
    bool add = false;
    bool ins = false;
    bool del = false;
    bool left = false;
    bool right = false;
};
// The enabling rules for group gcur while the album may be changed.
GroupButtons groupButtons(const Album& a, int gcur);
bool canAddGroup(const Album& a);

// The highest frame of the last group holding a picture; 0 when it holds none.
Integer GetLastPic(const Album& a);

// Where group gcur's last frame may be moved: each of two neighbours keeps 24 frames, the last
// group reaches maxpics but never drops its last picture (raised to an even frame).
struct BoundaryRange {
    int gmin = 0;
    int gmax = 0;
    bool movable() const { return gmin < gmax; }
};
BoundaryRange boundaryRange(const Album& a, int gcur, int glastpic);

// Moves group gcur's last frame to v, handing the pictures of the frames in between from one
// group's count to the other's. False (nothing changed) when v is outside the range or the
// same frame.
bool moveBoundary(Album& a, int gcur, int v);

// A new empty group of 24 frames after the last one; its number.
int addGroup(Album& a);
// A new empty group of 24 frames in front of group gcur, which takes its number; later frames
// move 24 up and curgrp keeps pointing at the page view's group.
bool insertGroup(Album& a, int gcur);

// What a removed or merged group means for the page view.
enum class PageViewEffect {
    None,
    Blank,      // its group is gone: curgrp -1, grpa -1, the page view blanked
    BlankTotals // its group grew: the three totals no longer hold
};
// Group gcur's pictures go to the end of the Photo Box, the frames after it close the gap.
// gcur becomes the group now at that place (the new last group when it was the last).
PageViewEffect deleteGroup(Album& a, int& gcur);
// Group gcur joins the one before it, which keeps its name; gcur becomes that group.
PageViewEffect mergeLeft(Album& a, int& gcur);
// Group gcur joins the one after it, which keeps its name and takes gcur's number.
PageViewEffect mergeRight(Album& a, int gcur);

// Names must not be blank: false, and the old name stays. True when stored or unchanged;
// `changed` tells whether the stored text differs now.
bool setGroupName(Album& a, int g, const QString& text, bool* changed = nullptr);
bool setGroupDesc(Album& a, int g, const QString& text);

// "Delete Group: " / "Merge Left Group: " / "Merge Right Group: " + the stored 30 characters.
QString deleteQuestion(const Album& a, int g);
QString mergeLeftQuestion(const Album& a, int g);
QString mergeRightQuestion(const Album& a, int g);
// The frame count as its caption shows it: "Frames: 24".
QString framesCaption(int gframes);

// "&Return": the model's part and the page view's updates. `extra` may be null.
class EditorPageViews;
void returnToPageView(Album& a, WindowHub& hub, EditorPageViews* extra, int gcur, bool gdirty);

// The strip: frame F stands at gbase + (F / 2) units; a unit is `unit` pixels.
struct StripMetrics {
    int gbase = 0;
    int unit = 1;
    int markerWidth = 7;
    int arrow = 16; // the boundary bar's end blocks
    int x(int frame) const { return gbase + (frame / 2) * unit; }
    // Left edge of the marker pair of a group ending at glast.
    int marker(int glast) const { return x(glast) - markerWidth; }
};
struct Span {
    int left = 0;
    int width = 0;
};
// The red bar over a group's extent: from its first frame to its markers.
Span redBar(const StripMetrics& m, int gfirst, int glast);
// The boundary bar for gmin..gmax: its track runs from gmin's marker to gmax's, so a handle
// as wide as a marker stands on the marker of the frame it holds. The end blocks cover the
// arrows at both ends.
struct BoundaryBar {
    Span bar;
    int block0 = 0;
    int block1 = 0;
};
BoundaryBar boundaryBar(const StripMetrics& m, int gmin, int gmax);

} // namespace vimbrel
