// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The description editor's rules on the album, without the window: which picture it edits
// and what "&Accept Changes" stores and refreshes.

#include "album.h"

#include <QString>

namespace vimbrel {

class WindowHub;

// The slot of the one selected picture, or -1. It is the picture of curframe; when curframe
// does not hold the selected picture (a selection made by Select All leaves it where it was),
// the current group is searched for it.
int selectedPhoto(const Album& a);

struct DescTexts {
    QString adesc;
    QString psdesc;
    QString pldesc;
};
enum class AcceptResult {
    Stored,        // the window closes
    BlankAlbumDesc // nothing stored; the window stays with the focus in adesc
};
// Stores the trimmed texts that differ from the model (photo texts only when dpic >= 1), sets
// changed and refreshes the page view's labels. Shows the blank-description message itself.
AcceptResult acceptDescriptions(Album& a, WindowHub& hub, int dpic, const DescTexts& t);

} // namespace vimbrel
