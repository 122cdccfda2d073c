// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the store tells the windows. The page view, the Photo Box and the album chooser
// implement it; tests record the calls. Every method does nothing by default, so a window
// implements only what it shows.

#include <QString>

namespace vimbrel {

// Set_it's codes say what changed, so the page view redoes only that part of its tool strip.
namespace SetItCode {
// Any negative code: every tool as the mode (photo pages or the index) shows it afresh.
constexpr int reset = -1;
// The selection changed; with one photo selected its frame and page are found as well.
constexpr int selectionChanged = 100;
// Another command ran: the selection's tools follow it, nothing is looked for.
constexpr int commandRan = 101;
// The spread or the selection changed: Rotate and Description only beside the selected photo.
constexpr int spreadChanged = 102;
// The description tool switched the description lines on or off.
constexpr int descriptionsOn = 140;
constexpr int descriptionsOff = 141;
} // namespace SetItCode

// LoadFS's argument. Positive values are slots (the strip from that slot on), so a single
// position needs numbers of its own: -10 - k.
namespace LoadFSCode {
// Back to the box's first picture, all five positions drawn anew.
constexpr int fromStart = 0;
// Position k (0..4) alone is drawn anew; the others keep what they show.
constexpr int position(int k) {
    return -10 - k;
}
// The position a code from position() names; outside 0..4 for every other code.
constexpr int positionOf(int code) {
    return -10 - code;
}
} // namespace LoadFSCode

class AlbumViews {
public:
    virtual ~AlbumViews() = default;

    // Page view
    virtual void setAlbumDescLabel(const QString& /*phpgname*/) {}
    virtual void SetPage() {}
    virtual void SetTotPg() {}
    virtual void Set_it(int /*SetItCode*/) {}
    virtual void showSelMark(int /*position 0..23*/, bool /*visible*/) {}
    virtual void setSelCount(int /*seldisp*/) {}
    virtual void setGroupLabels(int /*pictotal*/, int /*frtotal*/, const QString& /*dispdesc0*/) {}

    // Photo Box
    virtual void LoadFS(int /*slot > 0 or a LoadFSCode*/) {}
    virtual void setPboxScroll(int /*max*/, int /*value*/) {}
    virtual void hidePboxSelMarks() {}
    virtual void setPboxSelCount(int /*fs_selcnt*/) {}
};

} // namespace vimbrel
