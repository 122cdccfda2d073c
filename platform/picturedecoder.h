// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading picture files (JPEG, GIF, BMP): header probes and decoding at reduced scale, with the
// EXIF orientation applied. Every decode checks the header's size before it allocates, so a
// file claiming a huge picture is refused instead of exhausting memory. Thread-safe.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace vimbrel {

// Larger pictures are refused: a full decode would need more than 800 MB.
inline constexpr qint64 kMaxPicturePixels = 200'000'000;
// What a full decode of the largest admitted picture takes, at 4 bytes a pixel.
inline constexpr qint64 kMaxPictureBytes = kMaxPicturePixels * 4;

struct PictureHeader {
    QSize size;        // as shown, EXIF orientation applied
    QSize storedSize;  // as stored in the file
    QByteArray format; // "jpeg", "gif", "bmp", ...
    QString error;     // empty when the picture can be decoded
    bool ok() const { return error.isEmpty(); }
};

// Reads only the header; nothing is decoded.
PictureHeader readPictureHeader(const QString& path);

struct DecodedPicture {
    QImage image;   // EXIF orientation applied
    QSize fullSize; // the whole picture as shown
    QByteArray format;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Decodes at the smallest size that still covers `cover` (as shown) and has a longest side of
// at least `minLongest`, keeping the proportions and never above the picture's own size. An
// empty `cover` with no `minLongest` decodes the whole picture. JPEG is decoded at a reduced DCT
// scale, so a small result costs little more than reading the file.
DecodedPicture decodePicture(const QString& path, QSize cover = {}, int minLongest = 0);

// `full` scaled down with its proportions kept, just enough to cover `cover` in both directions.
QSize coveringSize(QSize full, QSize cover);
// `full` scaled down with its proportions kept so that its longest side is at most `longest`.
QSize fittingSize(QSize full, int longest);

} // namespace vimbrel
