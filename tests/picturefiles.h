// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures made by the tests: marked so that orientation mistakes show, in the formats and
// shapes the picture library has to read, and damaged in the ways files get damaged.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vimbrel::test {

inline constexpr QRgb kRed = 0xffff0000;
inline constexpr QRgb kGreen = 0xff00ff00;
inline constexpr QRgb kBlue = 0xff0000ff;

// Blue, with a red block in the top-left quarter's corner and a green one at the top-right:
// any turn or mirror moves one of them.
QImage markedPicture(int width, int height);

// The stored pixels that show as `shown` once EXIF orientation `orientation` (1..8) is applied.
QImage storedFor(const QImage& shown, int orientation);

struct JpegOptions {
    int quality = 95;
    bool progressive = false;
    int orientation = 0; // 1..8 adds an EXIF segment
};
QByteArray jpegBytes(const QImage& img, const JpegOptions& options = {});
// A BMP written byte by byte at 1, 4, 8, 16, 24 or 32 bits per pixel.
QByteArray bmpBytes(const QImage& img, int bits);
QByteArray gifBytes(const QImage& img);

void writeFile(const QString& path, const QByteArray& bytes);
// Under a name given by its bytes, which need not be UTF-8 (QFile's names would be).
void writeFileAt(const QByteArray& path, const QByteArray& bytes);
// Empty when the file cannot be read.
QByteArray readFile(const QString& path);

// `bytes` read as another program would, EXIF orientation applied; its format in `format`.
QImage readUpright(const QByteArray& bytes, QByteArray* format = nullptr);
// The TIFF block of a JPEG's leading EXIF segment; empty when it has none.
QByteArrayView jpegExif(const QByteArray& jpeg);

// The colour at the centre of a corner block: 'a' top-left, 'b' top-right, 'c' bottom-left,
// 'd' bottom-right.
QRgb cornerColour(const QImage& img, char corner);
// Colours within a tolerance, for lossy formats.
bool near(QRgb a, QRgb b, int tolerance = 60);

} // namespace vimbrel::test
