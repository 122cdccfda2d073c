// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures in the formats the import converts, made by the tests themselves: PNG, TIFF, WebP
// (Qt's writers, with EXIF put in by hand), HEIC (libheif's encoder) and a small DNG (a TIFF
// with sensor data and CFA tags), each with orientation and camera fields where the format has
// them.

#include <QByteArray>
#include <QImage>

namespace vimbrel::test {

struct CameraTags {
    int orientation = 0; // 1..8; 0 leaves it out
    QByteArray make;
    QByteArray model;
    QByteArray taken; // DateTimeOriginal, "YYYY:MM:DD HH:MM:SS"
};

// A little-endian TIFF header and IFD0 holding only the tags: an EXIF block.
QByteArray exifTiff(const CameraTags& tags);

QByteArray pngWithExif(const QImage& stored, const CameraTags& tags);
// An 8-bit RGB TIFF, uncompressed, with the tags in its IFD0 (and EXIF IFD).
QByteArray tiffWithTags(const QImage& stored, const CameraTags& tags);
QByteArray webpWithExif(const QImage& stored, const CameraTags& tags);
// Empty when this libheif has no HEVC encoder.
QByteArray heicBytes(const QImage& stored, const CameraTags& tags);
// A raw RGGB mosaic of `stored`, 16 bits a sample.
QByteArray dngBytes(const QImage& stored, const CameraTags& tags);

} // namespace vimbrel::test
