// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Save Picture: exports one album picture under the name and in the format the user chose.
// The window shows the file dialog and calls savePictureAs with each chosen path for as long as
// it returns true (the choice was refused and the dialog must come back).

#include <QString>

namespace vimbrel {

struct Album;
class PictureLibrary;

// `source`: the picture in the album's folder; `chosen`: the full path taken from the dialog.
// The same extension copies the file (replacing an existing one), "bmp" converts through the
// platform's loader and BMP writer, "jpg" and "gif" through the picture library at quality 80.
// Errors are shown through the album's Ui; the album itself is not changed.
bool savePictureAs(Album& a, PictureLibrary& pictures, const QString& source,
                   const QString& chosen);

} // namespace vimbrel
