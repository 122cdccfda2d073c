// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of the album's picture files, "vmb" + four digits + "." + extension (vmb0007.jpg),
// made and read here only. Each question asked of a name is a predicate of its own below,
// because each caller needs a different answer for the same name (a mail copy is never
// "VMB0007.JPG"; a file copied by hand may well be).

#include <QString>
#include <QStringView>

#include <optional>

namespace vimbrel {

// Picture numbers run from 1 to this.
inline constexpr int maxPictureNumber = 1000;

// "vmb" + four digits + "." + extension: the file name of picture number n (1..1000).
QString pictureFileName(int n, const QString& extension);

struct PictureName {
    bool lowerCaseVmb = false; // "vmb", not "VMB" or "Vmb"
    int number = 0;            // the four digits as written, 0..9999
    QStringView extension;     // everything after the dot, as written
};

// The parts of a name "vmb" (any letter case) + four ASCII digits + "." + anything; nothing
// for any other name. The extension is a view into `name`.
std::optional<PictureName> splitPictureName(QStringView name);

// The number of a picture file this program makes, as the folder lists it: 11 characters,
// 1..1000, extension bmp, gif or jpg, all in any letter case (copied in by hand from a
// Windows disk, say). Else 0.
int pictureFileNumber(QStringView name);

// The number of an 11-character "vmbNNNN.xxx" of any extension, 1..1000, else 0: what a
// record names, and what leaving without saving may delete.
int namedPictureNumber(QStringView name);

// The number of any "vmbNNNN.<anything>" in the folder (vmb0007.jpeg too), 1..1000, else 0:
// a new copy never takes a number that such a file already uses.
int reservedPictureNumber(QStringView name);

// The names the e-mail window gives its copies: vmbNNNN.jpg or vmbNNNN.gif, 1..1000, all in
// lower case.
bool isMailCopyName(QStringView name);

// What an album file may name: lower-case "vmb", four digits (any number), three ASCII letters
// in any case. Nothing else may name a file of the album, so nothing else is ever deleted
// as one.
bool isAlbumPictureName(QStringView name);

} // namespace vimbrel
