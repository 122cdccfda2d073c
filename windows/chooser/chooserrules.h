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
ChooserButtons chooserButtons(const Album& a, const QString& selectedName);

// A listed name that stands for "choose another file": the "Other ..." row, or any name
// beginning with "Other".
bool isOtherRow(const QString& name);

} // namespace vimbrel
