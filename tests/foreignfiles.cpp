// SPDX-License-Identifier: GPL-3.0-or-later
#include "foreignfiles.h"

#include <QBuffer>
#include <QImageWriter>
#include <QList>
#include <QtEndian>

#include <libheif/heif.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace vimbrel::test {

namespace {

struct Entry {
    quint16 tag;
    quint16 type; // 1 BYTE, 2 ASCII, 3 SHORT, 4 LONG, 10 SRATIONAL
    quint32 count;
    QByteArray value; // little-endian
};

QByteArray le(quint32 v, int n) {
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b += char((v >> (8 * i)) & 0xff);
    return b;
}

Entry shorts(quint16 tag, std::initializer_list<quint16> v) {
    Entry e{tag, 3, quint32(v.size()), {}};
    for (quint16 x : v)
        e.value += le(x, 2);
    return e;
}
Entry longs(quint16 tag, quint32 v) {
    return {tag, 4, 1, le(v, 4)};
}
Entry ascii(quint16 tag, const QByteArray& t) {
    return {tag, 2, quint32(t.size() + 1), t + '\0'};
}
Entry bytes(quint16 tag, std::initializer_list<quint8> v) {
    Entry e{tag, 1, quint32(v.size()), {}};
    for (quint8 x : v)
        e.value += char(x);
    return e;
}

// An uncompressed picture in one strip: `bits` per sample, one value per sample.
QList<Entry> stripEntries(QSize size, std::initializer_list<quint16> bits, quint16 photometric,
                          qsizetype bytes) {
    const auto w = quint32(size.width()), h = quint32(size.height());
    return {longs(256, w),
            longs(257, h),
            shorts(258, bits),
            shorts(259, {1}),
            shorts(262, {photometric}),
            longs(273, 0),
            shorts(277, {quint16(bits.size())}),
            longs(278, h),
            longs(279, quint32(bytes)),
            shorts(284, {1})};
}

void cameraEntries(const CameraTags& t, QList<Entry>* ifd0, QList<Entry>* exif) {
    if (!t.make.isEmpty())
        ifd0->append(ascii(0x010f, t.make));
    if (!t.model.isEmpty())
        ifd0->append(ascii(0x0110, t.model));
    if (t.orientation != 0)
        ifd0->append(shorts(0x0112, {quint16(t.orientation)}));
    if (!t.taken.isEmpty())
        exif->append(ascii(0x9003, t.taken));
}

// Header, pixels at offset 8, the values too long for an entry, IFD0, the EXIF IFD. Entries
// whose value is the strip's offset take it as 0 and are filled in here (tag 273).
QByteArray tiffFile(QList<Entry> ifd0, const QList<Entry>& exif, const QByteArray& pixels) {
    if (!exif.isEmpty())
        ifd0.append(longs(0x8769, 0));
    std::sort(ifd0.begin(), ifd0.end(),
              [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    for (Entry& e : ifd0)
        if (e.tag == 273)
            e.value = le(8, 4);
    QByteArray data;
    const quint32 dataAt = 8 + quint32(pixels.size() + (pixels.size() & 1));
    const auto ifdSize = [](const QList<Entry>& l) {
        return quint32(2 + 12 * l.size() + 4);
    };
    QList<Entry*> all;
    for (Entry& e : ifd0)
        all.append(&e);
    QList<Entry> ex = exif;
    for (Entry& e : ex)
        all.append(&e);
    QList<quint32> places;
    for (Entry* e : all) {
        places.append(dataAt + quint32(data.size()));
        if (e->value.size() > 4) {
            data += e->value;
            if (data.size() & 1)
                data += '\0';
        }
    }
    const quint32 ifd0At = dataAt + quint32(data.size());
    const quint32 exifAt = ifd0At + ifdSize(ifd0);
    for (Entry& e : ifd0)
        if (e.tag == 0x8769)
            e.value = le(exifAt, 4);
    QByteArray out("II*\0", 4);
    out += le(ifd0At, 4);
    out += pixels;
    if (pixels.size() & 1)
        out += '\0';
    out += data;
    int i = 0;
    const auto writeIfd = [&](const QList<Entry>& l) {
        out += le(quint32(l.size()), 2);
        for (const Entry& e : l) {
            out += le(e.tag, 2) + le(e.type, 2) + le(e.count, 4);
            out += e.value.size() > 4 ? le(places[i], 4) : e.value.leftJustified(4, '\0');
            ++i;
        }
        out += le(0, 4);
    };
    writeIfd(ifd0);
    if (!ex.isEmpty())
        writeIfd(ex);
    return out;
}

QByteArray written(const QImage& img, const char* format, int quality = -1) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter w(&buffer, format);
    if (quality >= 0)
        w.setQuality(quality);
    w.write(img);
    return buffer.data();
}

quint32 crc32(QByteArrayView d) {
    quint32 c = 0xffffffffu;
    for (char ch : d) {
        c ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
    }
    return ~c;
}

QByteArray be32(quint32 v) {
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

} // namespace

QByteArray exifTiff(const CameraTags& tags) {
    QList<Entry> ifd0, exif;
    cameraEntries(tags, &ifd0, &exif);
    return tiffFile(ifd0, exif, {});
}

QByteArray pngWithExif(const QImage& stored, const CameraTags& tags) {
    QByteArray png = written(stored.convertToFormat(QImage::Format_RGB32), "png");
    const QByteArray body = exifTiff(tags);
    const QByteArray chunk = QByteArray("eXIf") + body;
    // After the header chunk (8 signature + 25 IHDR).
    png.insert(33, be32(quint32(body.size())) + chunk + be32(crc32(chunk)));
    return png;
}

QByteArray tiffWithTags(const QImage& stored, const CameraTags& tags) {
    const QImage rgb = stored.convertToFormat(QImage::Format_RGB888);
    QByteArray pixels;
    for (int y = 0; y < rgb.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    QList<Entry> ifd0 = stripEntries(rgb.size(), {8, 8, 8}, 2, pixels.size());
    QList<Entry> exif;
    cameraEntries(tags, &ifd0, &exif);
    return tiffFile(ifd0, exif, pixels);
}

QByteArray webpWithExif(const QImage& stored, const CameraTags& tags) {
    const QByteArray simple = written(stored.convertToFormat(QImage::Format_RGB32), "webp", 100);
    // The extended layout: a VP8X chunk saying EXIF follows, the picture, the EXIF chunk.
    QByteArray vp8x("VP8X", 4);
    vp8x += le(10, 4);
    vp8x += char(0x08);
    vp8x += QByteArray(3, '\0');
    vp8x += le(quint32(stored.width() - 1), 3) + le(quint32(stored.height() - 1), 3);
    const QByteArray body = exifTiff(tags);
    QByteArray exif = QByteArray("EXIF") + le(quint32(body.size()), 4) + body;
    if (body.size() & 1)
        exif += '\0';
    const QByteArray chunks = vp8x + simple.mid(12) + exif;
    return QByteArray("RIFF") + le(quint32(chunks.size() + 4), 4) + "WEBP" + chunks;
}

QByteArray heicBytes(const QImage& stored, const CameraTags& tags) {
    heif_init(nullptr);
    const std::unique_ptr<heif_context, void (*)(heif_context*)> ctx(heif_context_alloc(),
                                                                     heif_context_free);
    heif_encoder* enc = nullptr;
    if (heif_context_get_encoder_for_format(ctx.get(), heif_compression_HEVC, &enc).code !=
        heif_error_Ok)
        return {};
    heif_encoder_set_lossy_quality(enc, 90);
    const QImage rgb = stored.convertToFormat(QImage::Format_RGB888);
    heif_image* img = nullptr;
    heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                      &img);
    heif_image_add_plane(img, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t* p = heif_image_get_plane(img, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        memcpy(p + y * stride, rgb.constScanLine(y), size_t(rgb.width() * 3));
    heif_encoding_options* options = heif_encoding_options_alloc();
    if (tags.orientation != 0)
        options->image_orientation = heif_orientation(tags.orientation);
    heif_image_handle* handle = nullptr;
    const heif_error e = heif_context_encode_image(ctx.get(), img, enc, options, &handle);
    heif_encoding_options_free(options);
    heif_encoder_release(enc);
    heif_image_release(img);
    if (e.code != heif_error_Ok)
        return {};
    CameraTags fields = tags;
    fields.orientation = 0; // the irot/imir boxes carry it
    const QByteArray exif = exifTiff(fields);
    heif_context_add_exif_metadata(ctx.get(), handle, exif.constData(), int(exif.size()));
    heif_image_handle_release(handle);
    QByteArray out;
    heif_writer writer{1, [](heif_context*, const void* data, size_t size, void* user) {
                           static_cast<QByteArray*>(user)->append(static_cast<const char*>(data),
                                                                  qsizetype(size));
                           return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
                       }};
    heif_context_write(ctx.get(), &writer, &out);
    return out;
}

QByteArray dngBytes(const QImage& stored, const CameraTags& tags) {
    const QImage rgb = stored.convertToFormat(QImage::Format_RGB32);
    QByteArray pixels;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = rgb.pixel(x, y);
            // R G / G B
            const int v = (y % 2 == 0) ? (x % 2 == 0 ? qRed(c) : qGreen(c))
                                       : (x % 2 == 0 ? qGreen(c) : qBlue(c));
            pixels += le(quint32(v * 257), 2);
        }
    QList<Entry> ifd0 = stripEntries(rgb.size(), {16}, 32803, pixels.size()); // a colour filter
    ifd0 << longs(254, 0) << shorts(33421, {2, 2}) << bytes(33422, {0, 1, 1, 2})
         << bytes(50706, {1, 4, 0, 0})
         << ascii(50708, tags.model.isEmpty() ? QByteArray("Test") : tags.model);
    // An identity colour matrix and a neutral white: the mosaic's colours are the picture's.
    Entry matrix{50721, 10, 9, {}};
    for (int i = 0; i < 9; ++i)
        matrix.value += le(i % 4 == 0 ? 1 : 0, 4) + le(1, 4);
    ifd0.append(matrix);
    ifd0.append(shorts(50778, {21}));
    Entry neutral{50728, 5, 3, {}};
    for (int i = 0; i < 3; ++i)
        neutral.value += le(1, 4) + le(1, 4);
    ifd0.append(neutral);
    QList<Entry> exif;
    cameraEntries(tags, &ifd0, &exif);
    return tiffFile(ifd0, exif, pixels);
}

} // namespace vimbrel::test

// x265, the encoder behind the test's HEIC files, keeps a few blocks for the process's life.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libx265.so\n";
}
