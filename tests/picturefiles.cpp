// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturefiles.h"

#include "gifwriter.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>

namespace vimbrel::test {

namespace {

// Where stored pixel (x, y) of a w x h picture lands once the orientation is applied.
QPoint shownPosition(int o, int x, int y, int w, int h) {
    switch (o) {
    case 2:
        return {w - 1 - x, y};
    case 3:
        return {w - 1 - x, h - 1 - y};
    case 4:
        return {x, h - 1 - y};
    case 5:
        return {y, x};
    case 6:
        return {h - 1 - y, x};
    case 7:
        return {h - 1 - y, w - 1 - x};
    case 8:
        return {y, w - 1 - x};
    default:
        return {x, y};
    }
}

void put16(QByteArray& b, int v) {
    b += char(v >> 8);
    b += char(v & 0xff);
}

// APP1 with a big-endian TIFF header and one IFD entry: Orientation (0x0112), SHORT, 1 value.
QByteArray exifSegment(int orientation) {
    QByteArray tiff("MM\0\x2a\0\0\0\x08", 8);
    put16(tiff, 1);
    put16(tiff, 0x0112);
    put16(tiff, 3);
    tiff += QByteArray("\0\0\0\x01", 4);
    put16(tiff, orientation);
    put16(tiff, 0);
    tiff += QByteArray(4, '\0'); // no next IFD
    QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray seg("\xff\xe1", 2);
    put16(seg, int(body.size()) + 2);
    return seg + body;
}

void putLe(QByteArray& b, quint32 v, int n) {
    for (int i = 0; i < n; ++i)
        b += char((v >> (8 * i)) & 0xff);
}

} // namespace

QImage markedPicture(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(kBlue);
    QPainter p(&img);
    const int bw = std::max(1, width / 4);
    const int bh = std::max(1, height / 4);
    p.fillRect(0, 0, bw, bh, QColor(kRed));
    if (width > 1)
        p.fillRect(width - bw, 0, bw, bh, QColor(kGreen));
    return img;
}

QImage storedFor(const QImage& shown, int o) {
    const bool turned = o >= 5;
    const int w = turned ? shown.height() : shown.width();
    const int h = turned ? shown.width() : shown.height();
    QImage stored(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            stored.setPixel(x, y, shown.pixel(shownPosition(o, x, y, w, h)));
    return stored;
}

QByteArray jpegBytes(const QImage& img, const JpegOptions& options) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    QImageWriter w(&buf, "jpeg");
    w.setQuality(options.quality);
    w.setProgressiveScanWrite(options.progressive);
    if (!w.write(img))
        throw std::runtime_error("jpeg writer failed");
    if (options.orientation > 0)
        bytes.insert(2, exifSegment(options.orientation));
    return bytes;
}

QByteArray bmpBytes(const QImage& src, int bits) {
    const QImage img = src.convertToFormat(QImage::Format_RGB32);
    const int w = img.width();
    const int h = img.height();
    QList<QRgb> palette;
    if (bits <= 8) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (!palette.contains(img.pixel(x, y)) && palette.size() < (1 << bits))
                    palette.append(img.pixel(x, y));
    }
    const int stride = ((w * bits + 31) / 32) * 4;
    QByteArray pixels(stride * h, '\0');
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uchar*>(pixels.data()) + (h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            const QRgb c = img.pixel(x, y);
            if (bits <= 8) {
                const int i = std::max<int>(0, int(palette.indexOf(c)));
                const int bit = x * bits;
                row[bit / 8] |= uchar(i << (8 - bits - bit % 8));
            } else if (bits == 16) {
                qToLittleEndian<quint16>(
                    quint16((qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | (qBlue(c) >> 3)),
                    row + 2 * x);
            } else {
                uchar* p = row + x * (bits / 8);
                p[0] = uchar(qBlue(c));
                p[1] = uchar(qGreen(c));
                p[2] = uchar(qRed(c));
            }
        }
    }
    const int paletteBytes = bits <= 8 ? (1 << bits) * 4 : 0;
    const int offset = 14 + 40 + paletteBytes;
    QByteArray b("BM");
    // The file header, then the info header: planes and bits are two bytes each, no
    // compression, 72 dpi, the palette's length.
    const quint32 data = quint32(pixels.size()), at = quint32(offset), width = quint32(w),
                  height = quint32(h), planesBits = 1 | quint32(bits) << 16,
                  colours = bits <= 8 ? quint32(1 << bits) : 0;
    for (const quint32 v :
         {at + data, 0u, at, 40u, width, height, planesBits, 0u, data, 2835u, 2835u, colours, 0u})
        putLe(b, v, 4);
    for (int i = 0; bits <= 8 && i < (1 << bits); ++i) {
        const QRgb c = i < palette.size() ? palette[i] : 0;
        b += char(qBlue(c));
        b += char(qGreen(c));
        b += char(qRed(c));
        b += '\0';
    }
    return b + pixels;
}

QByteArray gifBytes(const QImage& img) {
    QString error;
    const QByteArray bytes = encodeGif(img, &error);
    if (bytes.isEmpty())
        throw std::runtime_error(error.toStdString());
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void writeFileAt(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    QFile f;
    if (fd < 0 || !f.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) ||
        f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage readUpright(const QByteArray& bytes, QByteArray* format) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (format)
        *format = reader.format();
    return reader.read();
}

QByteArrayView jpegExif(const QByteArray& jpeg) {
    if (!jpeg.startsWith("\xff\xd8\xff\xe1") || jpeg.mid(6, 6) != QByteArray("Exif\0\0", 6))
        return {};
    const int len = (uchar(jpeg[4]) << 8) | uchar(jpeg[5]);
    return QByteArrayView(jpeg).sliced(12, len - 8);
}

QRgb cornerColour(const QImage& img, char corner) {
    const int x = img.width() / 8;
    const int y = img.height() / 8;
    const int r = img.width() - 1 - x;
    const int b = img.height() - 1 - y;
    switch (corner) {
    case 'a':
        return img.pixel(x, y);
    case 'b':
        return img.pixel(r, y);
    case 'c':
        return img.pixel(x, b);
    default:
        return img.pixel(r, b);
    }
}

bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance &&
           std::abs(qAlpha(a) - qAlpha(b)) <= tolerance;
}

} // namespace vimbrel::test
