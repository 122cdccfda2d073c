// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules behind the album chooser, without the window.

#include "album.h"

namespace vimbrel {

// Asked only when the album may be changed and has unsaved changes: Yes saves, No goes on
// without saving, Cancel stops. False when the command must stop (Cancel, or a failed save).
bool savePrompt(Album& a, const QString& text, const QString& title);

struct ChooserButtons {
    bool cbReturn = false; // an album is open
    bool cbSave = false;   // the selected row is the open album and it may be changed
    bool cbRename = false;
};
// `selectedRow` is the chooser's selected row of cfglist, -1 for none. A row is the open
// album only when its file is the album file that is open, whatever the names say.
ChooserButtons chooserButtons(const Album& a, int selectedRow);

// A listed name that stands for "choose another file": the "Other ..." row, or any name
// beginning with "Other".
bool isOtherRow(const QString& name);

} // namespace vimbrel
