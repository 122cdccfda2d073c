// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The album file NAME.vmb: little-endian, "VMB" + "v 01.00", header, album pictures,
// Photo Box pictures, groups, frame table. Reading checks every count, length and reference
// before it is used, so a damaged or hostile file is refused, never trusted.

#include "album.h"

#include <QByteArray>
#include <QByteArrayView>

namespace vimbrel {

constexpr int picRecBytes = 89;
constexpr int grpRecBytes = 86;
// Header up to the picture folder path, and from its end to the first record.
constexpr int headBytes = 3 + 7 + 8 + 40 + 2;
constexpr int countBytes = 8 + 6;
// No album file can be longer: the largest path, 1000 pictures, 42 groups, 1000 frames.
constexpr qsizetype maxAlbumBytes =
    headBytes + 32767 + countBytes + 1000 * picRecBytes + 42 * grpRecBytes + 2 * 1000;

QByteArray encodeAlbum(const Album& a);

struct AlbumDecode {
    enum Outcome { Ok, BadVersion, Damaged } outcome = Ok;
    QString problem; // what is wrong, for Damaged
};
// Fills the tables, counts and names of `a` from `bytes`; `a` must have been cleared.
// On failure `a` may hold part of the file and must be cleared again.
AlbumDecode decodeAlbum(QByteArrayView bytes, Album& a);

// Saves the model to albfile atomically. On failure the previous file is untouched, the user
// is told ("Save - ERROR") and the album stays changed. Returns whether it was written.
bool WriteAlbum(Album& a);
// Replaces the model by the album in albfile. On any failure the user is told, the model is
// empty and albfile and albtitle are "".
void ReadAlbum(Album& a);

} // namespace vimbrel
