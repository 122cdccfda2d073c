// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Save Picture: a Save-As dialog for a copy of one album picture, asked again for as long as
// the chosen name is refused.

#include <QString>

namespace vimbrel {

struct Album;
class PictureLibrary;

// `source`: the full path of the picture in the album's folder.
void SavePicAs(Album& a, PictureLibrary& pictures, const QString& source);

} // namespace vimbrel
