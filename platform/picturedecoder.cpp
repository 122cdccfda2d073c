#include "picturedecoder.h"

#include "foreignformats.h"
#include "regularfile.h"

#include <QFile>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace vimbrel {

namespace {

// libjpeg pads a cut-off file with a fake end marker and reports only a warning, which Qt
// swallows: the grey remainder would be drawn and converted as if it were the picture. A
// complete file ends with the EOI marker, perhaps followed by a little padding or trailer.
bool jpegHasEnd(const QString& path) {
    QFile f;
    if (!openRegularFile(f, path))
        return false;
    const qint64 tail = std::min<qint64>(f.size(), 64 * 1024);
    if (!f.seek(f.size() - tail))
        return false;
    const QByteArray bytes = f.read(tail);
    return bytes.lastIndexOf(QByteArrayView("\xff\xd9", 2)) >= 0;
}

// Qt's BMP reader fills a short file's missing rows with black and reports success. An
// uncompressed BMP's length follows from its header.
bool bmpIsComplete(const QString& path) {
    QFile f;
    if (!openRegularFile(f, path))
        return false;
    const QByteArray h = f.read(34);
    if (h.size() < 34)
        return false;
    const auto* p = reinterpret_cast<const uchar*>(h.constData());
    const quint32 offset = qFromLittleEndian<quint32>(p + 10);
    const qint64 width = qFromLittleEndian<qint32>(p + 18);
    const qint64 height = qAbs(qint64(qFromLittleEndian<qint32>(p + 22)));
    const int bits = qFromLittleEndian<quint16>(p + 28);
    const quint32 compression = qFromLittleEndian<quint32>(p + 30);
    if (compression != 0 && compression != 3) // run-length data has no fixed length
        return true;
    const qint64 stride = (width * bits + 31) / 32 * 4;
    return f.size() >= qint64(offset) + stride * height;
}

bool inspect(QImageReader& reader, PictureHeader& h) {
    // Decide by content: a JPEG named .bmp still reads, and a non-picture never reaches a codec
    // chosen by its name.
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        h.error = reader.errorString();
        return false;
    }
    h.format = reader.format();
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty()) {
        h.error = reader.errorString();
        if (h.error.isEmpty() || h.error == QLatin1String("Unknown error"))
            h.error = QStringLiteral("Unreadable picture header");
        return false;
    }
    if (qint64(stored.width()) * stored.height() > kMaxPicturePixels) {
        h.error = QStringLiteral("Picture too large (%1 x %2 pixels)")
                      .arg(stored.width())
                      .arg(stored.height());
        return false;
    }
    h.storedSize = stored;
    h.size = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90)
                 ? stored.transposed()
                 : stored;
    return true;
}

} // namespace

QSize coveringSize(QSize full, QSize cover) {
    if (cover.isEmpty() || full.isEmpty())
        return full;
    const double s =
        std::max(double(cover.width()) / full.width(), double(cover.height()) / full.height());
    if (s >= 1.0)
        return full;
    // Round up so the result never falls a pixel short of the box.
    const int w = std::clamp(int(std::ceil(full.width() * s - 1e-6)), 1, full.width());
    const int h = std::clamp(int(std::ceil(full.height() * s - 1e-6)), 1, full.height());
    return {w, h};
}

QSize fittingSize(QSize full, int longest) {
    const int side = std::max(full.width(), full.height());
    if (longest <= 0 || side <= longest)
        return full;
    const double s = double(longest) / side;
    return {std::max(1, int(std::lround(full.width() * s))),
            std::max(1, int(std::lround(full.height() * s)))};
}

PictureHeader readPictureHeader(const QString& path) {
    if (isForeignPicture(path))
        return readForeignHeader(path);
    PictureHeader h;
    QFile file;
    if (!openRegularFile(file, path, &h.error))
        return h;
    QImageReader reader(&file);
    inspect(reader, h);
    return h;
}

DecodedPicture decodePicture(const QString& path, QSize cover, int minLongest) {
    if (isForeignPicture(path))
        return decodeForeignPicture(path, cover, minLongest);
    DecodedPicture d;
    QFile file;
    if (!openRegularFile(file, path, &d.error))
        return d;
    QImageReader reader(&file);
    PictureHeader h;
    if (!inspect(reader, h)) {
        d.error = h.error;
        return d;
    }
    d.fullSize = h.size;
    d.format = h.format;
    if (h.format == "jpeg" && !jpegHasEnd(path)) {
        d.error = QStringLiteral("Premature end of JPEG file");
        return d;
    }
    if (h.format == "bmp" && !bmpIsComplete(path)) {
        d.error = QStringLiteral("Premature end of BMP file");
        return d;
    }

    QSize want = h.size;
    if (!cover.isEmpty() || minLongest > 0) {
        want = coveringSize(h.size, cover.isEmpty() ? QSize(1, 1) : cover);
        if (std::max(want.width(), want.height()) < minLongest)
            want = fittingSize(h.size, minLongest);
    }
    if (want != h.size) {
        // The reader scales before it turns the picture: ask in stored orientation.
        reader.setScaledSize(h.size == h.storedSize ? want : want.transposed());
    }
    d.image = reader.read();
    if (d.image.isNull()) {
        d.error = reader.errorString();
        if (d.error.isEmpty())
            d.error = QStringLiteral("Unreadable picture");
    }
    return d;
}

} // namespace vimbrel
