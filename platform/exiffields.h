// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The EXIF fields a converted picture keeps: where they sit in a PNG, WebP or TIFF-based file,
// how they are read, how the orientation turns the pixels upright, and the block a JPEG
// carries them in. Every read is bounds-checked: the bytes come from any file.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace vimbrel {

// The EXIF fields a converted picture carries over. Texts are as stored, without their NUL.
struct ExifFields {
    QByteArray dateTimeOriginal; // "YYYY:MM:DD HH:MM:SS"
    QByteArray make;
    QByteArray model;
    int orientation = 0; // 1..8; 0 when the source says nothing
};

// Reads the fields from a TIFF-structured block (starting "II" or "MM"), as EXIF blocks and
// TIFF-based files are. Offsets pointing outside the block are ignored.
ExifFields readExifFields(QByteArrayView tiff);

// `img` as stored with EXIF `orientation`, turned and mirrored upright.
QImage uprightImage(const QImage& img, int orientation);
// Whether that orientation swaps the picture's sides (5 to 8).
bool orientationTurns(int orientation);

// The EXIF block of a PNG (its eXIf chunk) into `exif`, left alone when there is none. False
// when the chunks do not reach IEND: the file is cut short.
bool pngExif(QByteArrayView d, QByteArrayView* exif);
// The EXIF chunk of a WebP file; empty when there is none.
QByteArrayView webpExif(QByteArrayView d);
// The EXIF block of a JPEG's APP1 segment, without its "Exif\0\0"; empty when there is none.
QByteArrayView jpegExif(QByteArrayView d);

// The APP1 payload ("Exif\0\0" and big-endian TIFF data) for `fields`, with orientation 1: the
// pixels it goes with are upright.
QByteArray exifBlock(const ExifFields& fields);

} // namespace vimbrel
