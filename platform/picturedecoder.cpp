// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturedecoder.h"

#include <QCoreApplication>

#include "foreignformats.h"
#include "regularfile.h"

#include <QFile>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {

namespace {

// Whether libjpeg runs into the end of the file before the end of the picture. It pads a cut-off
// file with a fake end marker and reports only a warning, which Qt swallows: the grey remainder
// would be drawn and converted as if it were the picture. Data after the end marker (the video
// of a motion photo, a long trailer) is never read, so it cannot look like damage. The picture
// is decoded at 1/8 scale in grey: the entropy decoding, where a cut shows, is all that runs.
struct CheckSource {
    jpeg_source_mgr mgr;
    int fd;
    off_t at;
    JOCTET buffer[64 * 1024];
};

struct CheckErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf failed;
    volatile bool cutShort; // read again after the error exit's jump
};

boolean fillCheckBuffer(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<CheckSource*>(cinfo->src);
    ssize_t n;
    do
        n = ::pread(src->fd, src->buffer, sizeof src->buffer, src->at);
    while (n < 0 && errno == EINTR);
    if (n <= 0) {
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = 0xff;
        src->buffer[1] = JPEG_EOI;
        n = 2;
    } else {
        src->at += n;
    }
    src->mgr.next_input_byte = src->buffer;
    src->mgr.bytes_in_buffer = size_t(n);
    return TRUE;
}

void skipCheckInput(j_decompress_ptr cinfo, long count) {
    auto* src = reinterpret_cast<CheckSource*>(cinfo->src);
    if (count <= 0)
        return;
    if (size_t(count) <= src->mgr.bytes_in_buffer) {
        src->mgr.next_input_byte += count;
        src->mgr.bytes_in_buffer -= size_t(count);
        return;
    }
    // Skipping past the end shows up at the next fill.
    src->at += off_t(size_t(count) - src->mgr.bytes_in_buffer);
    src->mgr.bytes_in_buffer = 0;
}

void noSourceAction(j_decompress_ptr) {}

[[noreturn]] void checkFailed(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<CheckErrors*>(cinfo->err)->failed, 1);
}

void checkMessage(j_common_ptr cinfo, int level) {
    // A scan that meets a marker before its last block was cut and closed again, or its
    // header claims more rows than the data holds.
    if (level < 0 &&
        (cinfo->err->msg_code == JWRN_JPEG_EOF || cinfo->err->msg_code == JWRN_HIT_MARKER))
        reinterpret_cast<CheckErrors*>(cinfo->err)->cutShort = true;
}

// Only plain data here: the error exit jumps out of libjpeg past this frame.
bool jpegCutShort(int fd) {
    jpeg_decompress_struct cinfo;
    CheckErrors errors;
    cinfo.err = jpeg_std_error(&errors.mgr);
    errors.mgr.error_exit = checkFailed;
    errors.mgr.emit_message = checkMessage;
    errors.cutShort = false;
    jpeg_create_decompress(&cinfo);
    if (setjmp(errors.failed)) {
        // The fake end marker can break a table the cut went through: still a cut. Other
        // damage is the decoder's to report.
        jpeg_destroy_decompress(&cinfo);
        return errors.cutShort;
    }
    auto* src = static_cast<CheckSource*>((*cinfo.mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_PERMANENT, sizeof(CheckSource)));
    src->mgr.init_source = noSourceAction;
    src->mgr.fill_input_buffer = fillCheckBuffer;
    src->mgr.skip_input_data = skipCheckInput;
    src->mgr.resync_to_restart = jpeg_resync_to_restart;
    src->mgr.term_source = noSourceAction;
    src->mgr.bytes_in_buffer = 0;
    src->mgr.next_input_byte = nullptr;
    src->fd = fd;
    src->at = 0;
    cinfo.src = &src->mgr;

    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = 8;
    if (cinfo.jpeg_color_space == JCS_YCbCr)
        cinfo.out_color_space = JCS_GRAYSCALE;
    cinfo.dct_method = JDCT_IFAST;
    cinfo.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&cinfo);
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * cinfo.output_components, 1);
    while (cinfo.output_scanline < cinfo.output_height && !errors.cutShort)
        jpeg_read_scanlines(&cinfo, row, 1);
    // A file cut just before its end marker shows only here.
    if (!errors.cutShort)
        jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return errors.cutShort;
}

// Nearly every complete JPEG ends with its end marker, and no cut file does: the marker cannot
// occur inside the compressed data, and a file cut within its header fails to read anyway.
// Only the others are decoded to tell a trailer from a cut; `checked` says whether that ran.
bool jpegIsComplete(const QFile& file, bool* checked) {
    // pread and fstat leave the reader's file position alone.
    const int fd = file.handle();
    struct stat st {};
    unsigned char last[2] = {0, 0};
    if (::fstat(fd, &st) == 0 && st.st_size >= 2 && ::pread(fd, last, 2, st.st_size - 2) == 2 &&
        last[0] == 0xff && last[1] == 0xd9) {
        *checked = false;
        return true;
    }
    *checked = true;
    return !jpegCutShort(fd);
}

// A cut file closed by an end marker leaves its remainder in the grey of empty blocks (inverted
// CMYK shows it darker: 64, or 63 from YCCK). Only a picture with such a corner pays for the
// full check.
bool mayEndInEmptyBlocks(const QImage& image) {
    const int r = image.width() - 1;
    const int b = image.height() - 1;
    for (const QPoint p : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)}) {
        const QRgb c = image.pixel(p);
        if (qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) &&
            (qRed(c) == 128 || qRed(c) == 64 || qRed(c) == 63))
            return true;
    }
    return false;
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
    // Qt's own limit (128 MB) stops full decodes above about 33 megapixels; the size check
    // below is what keeps a decode bounded here.
    reader.setAllocationLimit(int((kMaxPictureBytes + (1 << 20) - 1) >> 20));
    if (!reader.canRead()) {
        h.error = reader.errorString();
        return false;
    }
    h.format = reader.format();
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty()) {
        h.error = reader.errorString();
        // Qt's own text, as Qt's catalogue gives it in the user's language.
        static const char unknown[] = "Unknown error";
        if (h.error.isEmpty() || h.error == QCoreApplication::translate("QImageReader", unknown))
            h.error = QCoreApplication::translate("impimg", "Unreadable picture header");
        return false;
    }
    if (qint64(stored.width()) * stored.height() > kMaxPicturePixels) {
        h.error = QCoreApplication::translate("impimg", "Picture too large (%1 x %2 pixels)")
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
    bool endChecked = true;
    if (h.format == "jpeg" && !jpegIsComplete(file, &endChecked)) {
        d.error = QCoreApplication::translate("impimg", "Premature end of JPEG file");
        return d;
    }
    if (h.format == "bmp" && !bmpIsComplete(path)) {
        d.error = QCoreApplication::translate("impimg", "Premature end of BMP file");
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
            d.error = QCoreApplication::translate("impimg", "Unreadable picture");
    } else if (!endChecked && mayEndInEmptyBlocks(d.image) && jpegCutShort(file.handle())) {
        d.image = QImage();
        d.error = QCoreApplication::translate("impimg", "Premature end of JPEG file");
    }
    return d;
}

} // namespace vimbrel
