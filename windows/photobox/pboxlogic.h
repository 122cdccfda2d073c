// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Photo Box's rules on the album model, without the window: which slot each strip
// position shows, adding and removing pictures, page photos dropped into the box, the
// selection, and deleting pictures with their files.
//
// Every change that affects the strip returns a StripUpdate: the window moves the thumbnails
// it has already drawn and draws only the positions whose picture is new, so a scroll by a
// few positions, an insert or a removal decodes just what it must.

#include "album.h"
#include "windowhub.h"

#include <QStringList>
#include <array>
#include <functional>
#include <sys/types.h>

namespace vimbrel {

constexpr int stripPositions = 5;
// Drops and appends name this position: after the last picture of the box.
constexpr int appendPosition = BoxPosition::append;

// What the strip shows after a change. Position k takes over the drawn picture, caption and
// number that position from[k] showed before (all at once, from the old contents); -1 means
// it is drawn anew from the model.
struct StripUpdate {
    std::array<int, stripPositions> from{0, 1, 2, 3, 4};

    static StripUpdate redrawAll();
    bool redraws(int k) const { return from[static_cast<std::size_t>(k)] < 0; }
    int redrawCount() const;
    bool unchanged() const { return from == StripUpdate().from; }
};

// The first slot of the box, from the count alone: 1001 when empty. (pbfirst itself is 0 in a
// cleared album, and PackPics holds it elsewhere while the strip reloads.)
int boxFirst(const Album& a);
// The slot shown at strip position k, or 0 when the position is empty.
int stripSlot(const Album& a, int k);
// The position number shown at k (1 = the first picture of the box), 0 when empty.
int stripNumber(const Album& a, int k);
// The scroll bar's maximum: 1 up to five pictures, else one position per picture beyond four.
int scrollMaximum(const Album& a);
// The scroll bar value that shows the strip from pbtop.
int scrollValue(const Album& a);

// LoadFS(t): t a LoadFSCode (the start, or one position alone), or t > 0 the strip from slot t.
StripUpdate loadStrip(Album& a, int t);

// AddToFS(pos): pos 0..4 puts tpic at that strip position (an empty position appends); any
// other pos >= 0 appends tpic; pos < 0 appends the nimps pictures of imps. imps is emptied.
// Refused (nothing changes) when the album has no room for them.
StripUpdate addToBox(Album& a, int pos);

// DeletePbox: removes the selected box pictures (the wpics marks) from the box, not their files.
StripUpdate deleteFromBox(Album& a);

// The "pb" drop of page photos onto strip position index. What the page view must do then:
struct PageDropResult {
    bool moved = false;   // anything left the pages
    bool several = false; // PackPics path: both pages are redrawn, the strip was reloaded
    int clearFrame = 0;   // one photo: the frame it left (the page view clears its position)
    StripUpdate strip;    // one photo: the strip change of the insertion
};
PageDropResult dropPagePictures(Album& a, int index);

// A mouse press on strip position k. What the window must show:
struct StripPress {
    bool hideButtons = false; // read-only album: fs_del and fs_select go away
    bool handled = false;     // the position held a picture
    bool startDrag = false;
    bool several = false; // the drag carries several pictures
};
StripPress pressStrip(Album& a, int k, bool leftButton);

// Whether the picture at strip position k carries the box selection mark.
bool stripSelected(const Album& a, int k);

// Select all when nothing is selected, else none.
void selectAllOrNone(Album& a);

// The delete button after the user said Yes. The album is written without the selected
// pictures first (removeFromBox takes them out of the model and the strip); only when that
// write succeeded are their files moved to the Trash (erased where there is none), except a file
// that a record left in the album still names (it is that record's picture too). A failed write
// restores the box as it was, so the model keeps matching the album file on disk, and no file is
// touched.
enum class BoxDeleteOutcome { Deleted, NotWritten };
BoxDeleteOutcome deleteWithFiles(Album& a, const std::function<void()>& removeFromBox);

// Moves a file to the Trash of its volume, or erases it where that volume has none. False,
// with the system's text, when the file is still there.
bool trashOrRemove(const QString& path, QString* error = nullptr);
// Whether the Trash the volume mounted at `root` offers user `uid` is that user's alone (or
// not made yet): neither a link nor a folder another user owns or may write in.
bool volumeTrashSafe(const QString& root, uid_t uid);

// The picture file names of the selected box pictures that may be deleted: only vmbNNNN.ext,
// so nothing outside the picture folder is named.
QStringList selectedBoxFiles(const Album& a);

} // namespace vimbrel
