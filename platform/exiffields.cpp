// SPDX-License-Identifier: GPL-3.0-or-later
#include "exiffields.h"

#include <QTransform>
#include <QtEndian>

#include <algorithm>

namespace vimbrel {

namespace {

// Reads a TIFF structure in its own byte order; every read is bounds-checked.
struct TiffReader {
    QByteArrayView d;
    bool little = true;

    bool has(quint64 off, quint64 n) const {
        return off <= quint64(d.size()) && n <= d.size() - off;
    }
    quint16 u16(quint64 off) const {
        const auto* p = reinterpret_cast<const uchar*>(d.data()) + off;
        return little ? qFromLittleEndian<quint16>(p) : qFromBigEndian<quint16>(p);
    }
    quint32 u32(quint64 off) const {
        const auto* p = reinterpret_cast<const uchar*>(d.data()) + off;
        return little ? qFromLittleEndian<quint32>(p) : qFromBigEndian<quint32>(p);
    }
    // An ASCII entry's text up to its first NUL.
    QByteArray text(quint64 entry) const {
        const quint32 count = u32(entry + 4);
        const quint64 at = count <= 4 ? entry + 8 : u32(entry + 8);
        if (count == 0 || count > 4096 || !has(at, count))
            return {};
        QByteArray t(d.data() + at, count);
        const qsizetype nul = t.indexOf('\0');
        return nul >= 0 ? t.left(nul) : t;
    }
    // Calls f(tag, entryOffset) for each entry of the IFD at `ifd`.
    template <class F> void entries(quint64 ifd, F f) const {
        if (!has(ifd, 2))
            return;
        const int n = std::min<int>(u16(ifd), 1000);
        for (int i = 0; i < n && has(ifd + 2 + 12 * quint64(i), 12); ++i)
            f(u16(ifd + 2 + 12 * quint64(i)), ifd + 2 + 12 * quint64(i));
    }
};

// Big-endian TIFF data for an EXIF block.
struct TiffWriter {
    QByteArray out;
    void u16(quint16 v) {
        out.append(char(v >> 8));
        out.append(char(v));
    }
    void u32(quint32 v) {
        u16(quint16(v >> 16));
        u16(quint16(v));
    }
};

} // namespace

ExifFields readExifFields(QByteArrayView tiff) {
    ExifFields f;
    TiffReader r{tiff};
    // The magic number is not checked: raw formats put their own there (ORF, RW2).
    if (!r.has(0, 8) || !(tiff.startsWith("II") || tiff.startsWith("MM")))
        return f;
    r.little = tiff.startsWith("II");
    quint64 exifIfd = 0;
    r.entries(r.u32(4), [&](quint16 tag, quint64 e) {
        if (tag == 0x010f)
            f.make = r.text(e);
        else if (tag == 0x0110)
            f.model = r.text(e);
        else if (tag == 0x0112 && r.u16(e + 2) == 3) {
            const int o = r.u16(e + 8);
            f.orientation = o >= 1 && o <= 8 ? o : 0;
        } else if (tag == 0x8769)
            exifIfd = r.u32(e + 8);
    });
    if (exifIfd != 0)
        r.entries(exifIfd, [&](quint16 tag, quint64 e) {
            if (tag == 0x9003)
                f.dateTimeOriginal = r.text(e);
        });
    return f;
}

QImage uprightImage(const QImage& img, int orientation) {
    switch (orientation) {
    case 2:
        return img.mirrored(true, false);
    case 3:
        return img.mirrored(true, true);
    case 4:
        return img.mirrored(false, true);
    case 5: // transposed
        return img.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return img.transformed(QTransform().rotate(90));
    case 7: // transversed
        return img.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return img.transformed(QTransform().rotate(270));
    default:
        return img;
    }
}

bool orientationTurns(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// The EXIF block of a PNG (its eXIf chunk), walking the chunks to IEND: a file cut short
// reads as damaged, not as a picture with a grey or missing remainder.
bool pngExif(QByteArrayView d, QByteArrayView* exif) {
    quint64 at = 8;
    while (at + 12 <= quint64(d.size())) {
        const auto* p = reinterpret_cast<const uchar*>(d.data()) + at;
        const quint32 len = qFromBigEndian<quint32>(p);
        const QByteArrayView type = d.sliced(qsizetype(at + 4), 4);
        if (len > quint64(d.size()) - at - 12)
            return false;
        if (type == "eXIf")
            *exif = d.sliced(qsizetype(at + 8), qsizetype(len));
        if (type == "IEND")
            return true;
        at += 12 + quint64(len);
    }
    return false;
}

// The APP1 EXIF segment of a JPEG, met before its picture data starts.
QByteArrayView jpegExif(QByteArrayView d) {
    qsizetype at = 2;
    while (at + 4 <= d.size() && uchar(d[at]) == 0xff) {
        const uchar marker = uchar(d[at + 1]);
        if (marker == 0xff) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xda || marker == 0xd9) // picture data or the end
            break;
        if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) { // no length
            at += 2;
            continue;
        }
        const qsizetype len = (qsizetype(uchar(d[at + 2])) << 8) | uchar(d[at + 3]);
        if (len < 2 || len > d.size() - at - 2)
            break;
        const QByteArrayView payload = d.sliced(at + 4, len - 2);
        if (marker == 0xe1 && payload.startsWith(QByteArrayView("Exif\0\0", 6)))
            return payload.sliced(6);
        at += 2 + len;
    }
    return {};
}

// The EXIF chunk of a WebP file; some writers keep the JPEG "Exif\0\0" prefix.
QByteArrayView webpExif(QByteArrayView d) {
    quint64 at = 12;
    while (at + 8 <= quint64(d.size())) {
        const quint32 len = qFromLittleEndian<quint32>(d.data() + at + 4);
        if (len > quint64(d.size()) - at - 8)
            break;
        if (d.sliced(qsizetype(at), 4) == "EXIF") {
            QByteArrayView e = d.sliced(qsizetype(at + 8), qsizetype(len));
            return e.startsWith("Exif\0\0") ? e.sliced(6) : e;
        }
        at += 8 + quint64(len) + (len & 1);
    }
    return {};
}

QByteArray exifBlock(const ExifFields& fields) {
    struct Entry {
        quint16 tag;
        quint16 type; // 2 ASCII, 3 SHORT, 4 LONG
        QByteArray text;
        quint32 value = 0;
    };
    const auto ascii = [](quint16 tag, QByteArray t) {
        return Entry{tag, 2, t.left(255).append('\0')};
    };
    QList<Entry> ifd0;
    if (!fields.make.isEmpty())
        ifd0.append(ascii(0x010f, fields.make));
    if (!fields.model.isEmpty())
        ifd0.append(ascii(0x0110, fields.model));
    ifd0.append({0x0112, 3, {}, 1}); // the pixels are upright
    QList<Entry> exifIfd;
    if (fields.dateTimeOriginal.size() == 19)
        exifIfd.append(ascii(0x9003, fields.dateTimeOriginal));
    if (!exifIfd.isEmpty())
        ifd0.append({0x8769, 4, {}, 0});

    const auto ifdBytes = [](const QList<Entry>& e) {
        return quint32(2 + 12 * e.size() + 4);
    };
    const quint32 ifd0At = 8;
    const quint32 exifAt = ifd0At + ifdBytes(ifd0);
    quint32 dataAt = exifAt + (exifIfd.isEmpty() ? 0 : ifdBytes(exifIfd));
    if (!exifIfd.isEmpty())
        ifd0.last().value = exifAt;

    TiffWriter w;
    QByteArray data;
    w.out.append("MM\0\x2a", 4);
    w.u32(ifd0At);
    const auto writeIfd = [&](const QList<Entry>& entries) {
        w.u16(quint16(entries.size()));
        for (const Entry& e : entries) {
            w.u16(e.tag);
            w.u16(e.type);
            if (e.type == 2) {
                w.u32(quint32(e.text.size()));
                if (e.text.size() <= 4) {
                    w.out.append(e.text.leftJustified(4, '\0'));
                } else {
                    w.u32(dataAt + quint32(data.size()));
                    data.append(e.text);
                    if (data.size() & 1)
                        data.append('\0'); // values start on a word boundary
                }
            } else if (e.type == 3) {
                w.u32(1);
                w.u16(quint16(e.value));
                w.u16(0);
            } else {
                w.u32(1);
                w.u32(e.value);
            }
        }
        w.u32(0); // no next IFD
    };
    writeIfd(ifd0);
    if (!exifIfd.isEmpty())
        writeIfd(exifIfd);
    return QByteArray("Exif\0\0", 6) + w.out + data;
}

} // namespace vimbrel
