// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures the album does not keep as they are: PNG, TIFF, WebP (Qt's image plugins), HEIC/HEIF
// (libheif) and camera RAW files (libraw). They are read upright, with the EXIF fields worth
// keeping, and turned once into a JPEG that carries those fields. Thread-safe.

#include "exiffields.h"
#include "picturedecoder.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>

namespace vimbrel {

// Lower-case suffixes of the formats read here.
QStringList foreignSuffixes();
// Whether a file name ends in one of them, in any letter case.
bool isForeignPicture(const QString& name);

// The format a file's first bytes show, whatever its name: "jpeg", "gif", "bmp", "png", "tiff",
// "webp" or "heif"; empty for anything else (most camera RAW formats among them).
QByteArray contentFormat(QByteArrayView head);

struct ForeignPicture {
    QImage image;   // upright; scaled when a smaller size was asked for
    QSize fullSize; // the whole picture as shown
    ExifFields exif;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Decodes the file's `bytes`, with the reader chosen by their content, or by `name`'s suffix
// where the content does not tell (camera RAW). With a `cover` or
// `minLongest` (as decodePicture() takes them) the result may be smaller than the picture.
// Once `stop` is set, a long decode (a camera RAW being developed) gives up early.
ForeignPicture readForeignPicture(const QByteArray& bytes, const QString& name, QSize cover = {},
                                  int minLongest = 0, const std::atomic<bool>* stop = nullptr);
// The picture's size as shown, from its header only; empty when it cannot be read.
QSize readForeignSize(const QByteArray& bytes, const QString& name);
// The whole file read from a descriptor opened without blocking (a regular file), from its
// start. Fails when the file changes length while it is read.
bool readWholeFile(int fd, QByteArray* bytes, QString* error);

// decodePicture() and readPictureHeader() for these formats, by path.
DecodedPicture decodeForeignPicture(const QString& path, QSize cover = {}, int minLongest = 0);
PictureHeader readForeignHeader(const QString& path);

// A JPEG of `image` at `quality` whose EXIF block says orientation 1 and carries the date and
// camera fields that are set. Empty when the image cannot be encoded.
QByteArray encodeJpeg(const QImage& image, const ExifFields& fields, int quality = 92);

} // namespace vimbrel
