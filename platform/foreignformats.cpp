// SPDX-License-Identifier: GPL-3.0-or-later
#include "foreignformats.h"

#include <QCoreApplication>

#include "regularfile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <libheif/heif.h>
#include <libraw/libraw.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {

namespace {

enum class Kind { None, Qt, Heif, Raw };

struct KindSuffixes {
    Kind kind;
    QStringList suffixes; // lower case
};

const QList<KindSuffixes>& kindSuffixes() {
    static const QList<KindSuffixes> all{
        {Kind::Qt,
         {QStringLiteral("png"), QStringLiteral("tif"), QStringLiteral("tiff"),
          QStringLiteral("webp")}},
        {Kind::Heif, {QStringLiteral("heic"), QStringLiteral("heif")}},
        {Kind::Raw,
         {QStringLiteral("cr2"), QStringLiteral("cr3"), QStringLiteral("nef"),
          QStringLiteral("arw"), QStringLiteral("dng"), QStringLiteral("orf"),
          QStringLiteral("raf"), QStringLiteral("rw2")}},
    };
    return all;
}

// What follows the last dot, in lower case; the whole name when it has none.
QString lowerSuffix(const QString& name) {
    return name.mid(name.lastIndexOf(QLatin1Char('.')) + 1).toLower();
}

Kind kindOf(const QString& name) {
    if (!name.contains(QLatin1Char('.')))
        return Kind::None;
    const QString ext = lowerSuffix(name);
    for (const KindSuffixes& k : kindSuffixes())
        if (k.suffixes.contains(ext))
            return k.kind;
    return Kind::None;
}

// The size decodePicture() would return for these arguments.
QSize wantedSize(QSize full, QSize cover, int minLongest) {
    if (cover.isEmpty() && minLongest <= 0)
        return full;
    QSize want = coveringSize(full, cover.isEmpty() ? QSize(1, 1) : cover);
    if (std::max(want.width(), want.height()) < minLongest)
        want = fittingSize(full, minLongest);
    return want;
}

QString tooLarge(QSize s) {
    return QCoreApplication::translate("impimg", "Picture too large (%1 x %2 pixels)")
        .arg(s.width())
        .arg(s.height());
}

// Why a picture of `full` pixels (as shown) is not read, or nothing when it may be.
QString sizeProblem(QSize full) {
    if (full.isEmpty())
        return QCoreApplication::translate("impimg", "Unreadable picture header");
    if (qint64(full.width()) * full.height() > kMaxPicturePixels)
        return tooLarge(full);
    return {};
}

ForeignPicture readByQt(const QByteArray& bytes, QSize cover, int minLongest, bool headerOnly) {
    ForeignPicture f;
    const QByteArrayView d(bytes);
    QByteArrayView exif;
    if (d.startsWith("\x89PNG\r\n\x1a\n")) {
        if (!pngExif(d, &exif)) {
            f.error = QCoreApplication::translate("impimg", "Premature end of PNG file");
            return f;
        }
    } else if (d.startsWith("II") || d.startsWith("MM")) {
        exif = d;
    } else if (d.startsWith("RIFF") && d.size() >= 12 && d.sliced(8, 4) == "WEBP") {
        exif = webpExif(d);
    } else if (d.startsWith("\xff\xd8\xff")) { // a JPEG named as another format
        exif = jpegExif(d);
    }
    if (!exif.isEmpty())
        f.exif = readExifFields(exif);
    const int o = f.exif.orientation;

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false); // the orientation is applied here, the same for every format
    // Qt's own limit (256 MB) would refuse a large TIFF that the pixel limit allows.
    reader.setAllocationLimit(int(kMaxPicturePixels * 8 / (1 << 20)));
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty()) {
        f.error = reader.errorString();
        return f;
    }
    f.error = sizeProblem(stored);
    if (!f.ok())
        return f;
    f.fullSize = orientationTurns(o) ? stored.transposed() : stored;
    if (headerOnly)
        return f;
    const QSize want = wantedSize(f.fullSize, cover, minLongest);
    if (want != f.fullSize)
        reader.setScaledSize(orientationTurns(o) ? want.transposed() : want);
    const QImage img = reader.read();
    if (img.isNull()) {
        f.error = reader.errorString();
        return f;
    }
    f.image = uprightImage(img, o);
    return f;
}

void heifStarted() {
    static const bool started = [] {
        heif_init(nullptr);
        return true;
    }();
    (void)started;
}

ForeignPicture readHeif(const QByteArray& bytes, QSize cover, int minLongest, bool headerOnly) {
    ForeignPicture f;
    heifStarted();
    const std::unique_ptr<heif_context, void (*)(heif_context*)> ctx(heif_context_alloc(),
                                                                     heif_context_free);
    heif_error e = heif_context_read_from_memory_without_copy(ctx.get(), bytes.constData(),
                                                              size_t(bytes.size()), nullptr);
    heif_image_handle* h = nullptr;
    if (e.code == heif_error_Ok)
        e = heif_context_get_primary_image_handle(ctx.get(), &h);
    if (e.code != heif_error_Ok) {
        f.error = QString::fromUtf8(e.message);
        return f;
    }
    const std::unique_ptr<heif_image_handle, void (*)(const heif_image_handle*)> handle(
        h, heif_image_handle_release);
    // The handle's size is the picture's as shown: libheif turns it by its irot/imir boxes.
    // The EXIF orientation inside is informative only and must not be applied again.
    f.fullSize = QSize(heif_image_handle_get_width(h), heif_image_handle_get_height(h));
    f.error = sizeProblem(f.fullSize);
    if (!f.ok())
        return f;
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(h, "Exif", &id, 1) == 1) {
        QByteArray block(qsizetype(heif_image_handle_get_metadata_size(h, id)), '\0');
        if (block.size() > 4 &&
            heif_image_handle_get_metadata(h, id, block.data()).code == heif_error_Ok) {
            // Four bytes give the offset of the TIFF header.
            const quint32 skip = qFromBigEndian<quint32>(block.constData());
            if (skip < quint64(block.size()) - 4)
                f.exif = readExifFields(QByteArrayView(block).sliced(4 + skip));
        }
    }
    f.exif.orientation = 0;
    if (headerOnly)
        return f;
    heif_image* raw = nullptr;
    e = heif_decode_image(h, &raw, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr);
    if (e.code != heif_error_Ok) {
        f.error = QString::fromUtf8(e.message);
        return f;
    }
    const std::unique_ptr<heif_image, void (*)(const heif_image*)> img(raw, heif_image_release);
    int stride = 0;
    const uint8_t* p = heif_image_get_plane_readonly(raw, heif_channel_interleaved, &stride);
    const int w = heif_image_get_width(raw, heif_channel_interleaved);
    const int ht = heif_image_get_height(raw, heif_channel_interleaved);
    if (p == nullptr || w <= 0 || ht <= 0) {
        f.error = QCoreApplication::translate("impimg", "Unreadable picture");
        return f;
    }
    f.image = QImage(p, w, ht, stride, QImage::Format_RGB888).copy();
    const QSize want = wantedSize(f.fullSize, cover, minLongest);
    if (want != f.image.size())
        f.image = f.image.scaled(want, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return f;
}

QString rawError(int code) {
    return QString::fromUtf8(libraw_strerror(code));
}

QImage rawBitmap(const libraw_processed_image_t* m) {
    if (m == nullptr || m->type != LIBRAW_IMAGE_BITMAP || m->colors != 3 || m->bits != 8)
        return {};
    return QImage(m->data, m->width, m->height, m->width * 3, QImage::Format_RGB888).copy();
}

// The camera's embedded preview, for files whose sensor data libraw cannot develop.
QImage rawPreview(LibRaw& raw) {
    if (raw.unpack_thumb() != LIBRAW_SUCCESS)
        return {};
    int rc = 0;
    libraw_processed_image_t* m = raw.dcraw_make_mem_thumb(&rc);
    const std::unique_ptr<libraw_processed_image_t, void (*)(libraw_processed_image_t*)> release(
        m, LibRaw::dcraw_clear_mem);
    if (m == nullptr)
        return {};
    QImage img = m->type == LIBRAW_IMAGE_JPEG
                     ? QImage::fromData(QByteArrayView(m->data, qsizetype(m->data_size)), "JPEG")
                     : rawBitmap(m);
    // libraw's flip: 3 half a turn, 5 a quarter anticlockwise, 6 a quarter clockwise.
    const int flip = raw.imgdata.sizes.flip;
    return uprightImage(img, flip == 3 ? 3 : flip == 5 ? 8 : flip == 6 ? 6 : 1);
}

int rawProgress(void* stop, LibRaw_progress, int, int) {
    return stop != nullptr && static_cast<const std::atomic<bool>*>(stop)->load() ? 1 : 0;
}

ForeignPicture readRaw(const QByteArray& bytes, QSize cover, int minLongest, bool headerOnly,
                       const std::atomic<bool>* stop) {
    ForeignPicture f;
    const auto raw = std::make_unique<LibRaw>(); // large: not on a worker's stack
    raw->set_progress_handler(rawProgress, const_cast<std::atomic<bool>*>(stop));
    raw->imgdata.params.use_camera_wb = 1;
    raw->imgdata.params.output_bps = 8;
    int rc = raw->open_buffer(const_cast<char*>(bytes.constData()), size_t(bytes.size()));
    if (rc == LIBRAW_SUCCESS)
        rc = raw->adjust_sizes_info_only();
    if (rc != LIBRAW_SUCCESS) {
        f.error = rawError(rc);
        return f;
    }
    const libraw_image_sizes_t& s = raw->imgdata.sizes;
    f.fullSize = QSize(s.iwidth, s.iheight);
    f.error = sizeProblem(f.fullSize);
    if (!f.ok())
        return f;
    // The tags as the camera wrote them where the file is TIFF-based; libraw's own otherwise.
    if (bytes.startsWith("II") || bytes.startsWith("MM"))
        f.exif = readExifFields(bytes);
    f.exif.orientation = 0;
    if (f.exif.make.isEmpty())
        f.exif.make = QByteArray(raw->imgdata.idata.make);
    if (f.exif.model.isEmpty())
        f.exif.model = QByteArray(raw->imgdata.idata.model);
    if (f.exif.dateTimeOriginal.isEmpty() && raw->imgdata.other.timestamp > 0) {
        const time_t t = raw->imgdata.other.timestamp;
        tm local{};
        char text[32];
        if (localtime_r(&t, &local) != nullptr &&
            std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &local) == 19)
            f.exif.dateTimeOriginal = QByteArray(text);
    }
    if (headerOnly)
        return f;

    // libraw reports its sizes already turned by the camera's flip.
    const QSize want = wantedSize(f.fullSize, cover, minLongest);
    // The size probe leaves libraw unable to develop: it opens the file again. Half size
    // skips the interpolation, a quarter of the work for a preview.
    raw->recycle();
    raw->set_progress_handler(rawProgress, const_cast<std::atomic<bool>*>(stop));
    raw->imgdata.params.use_camera_wb = 1;
    raw->imgdata.params.output_bps = 8;
    raw->imgdata.params.half_size =
        want.width() * 2 <= f.fullSize.width() && want.height() * 2 <= f.fullSize.height();
    rc = raw->open_buffer(const_cast<char*>(bytes.constData()), size_t(bytes.size()));
    if (rc != LIBRAW_SUCCESS) {
        f.error = rawError(rc);
        return f;
    }
    rc = raw->unpack();
    if (rc == LIBRAW_SUCCESS)
        rc = raw->dcraw_process();
    if (rc == LIBRAW_SUCCESS) {
        int err = 0;
        libraw_processed_image_t* m = raw->dcraw_make_mem_image(&err);
        f.image = rawBitmap(m);
        LibRaw::dcraw_clear_mem(m);
    }
    if (rc == LIBRAW_CANCELLED_BY_CALLBACK) {
        f.error = rawError(rc);
        return f;
    }
    if (f.image.isNull())
        f.image = rawPreview(*raw);
    if (f.image.isNull()) {
        f.error = rc != LIBRAW_SUCCESS
                      ? rawError(rc)
                      : QCoreApplication::translate("impimg", "Unreadable picture");
        return f;
    }
    if (want != f.image.size())
        f.image = f.image.scaled(want, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return f;
}

// A file is often named after another format than it holds (a PNG saved as .jpg, a phone's
// JPEG as .heic): its bytes choose the reader. TIFF-based RAW files go to libraw by name.
Kind readerFor(QByteArrayView bytes, const QString& name) {
    const QByteArray format = contentFormat(bytes);
    const Kind named = kindOf(name);
    if (format == "heif")
        return Kind::Heif;
    if (format == "tiff")
        return named == Kind::Raw ? Kind::Raw : Kind::Qt;
    if (!format.isEmpty())
        return Kind::Qt;
    return named;
}

ForeignPicture readForeign(const QByteArray& bytes, const QString& name, QSize cover,
                           int minLongest, bool headerOnly,
                           const std::atomic<bool>* stop = nullptr) {
    switch (readerFor(bytes, name)) {
    case Kind::Qt:
        return readByQt(bytes, cover, minLongest, headerOnly);
    case Kind::Heif:
        return readHeif(bytes, cover, minLongest, headerOnly);
    case Kind::Raw:
        return readRaw(bytes, cover, minLongest, headerOnly, stop);
    case Kind::None:
        break;
    }
    ForeignPicture f;
    f.error = QCoreApplication::translate("impimg", "Not a picture format the import converts");
    return f;
}

bool readPath(const QString& path, QByteArray* bytes, QString* error) {
    QFile file;
    return openRegularFile(file, path, error) && readWholeFile(file.handle(), bytes, error);
}

} // namespace

QStringList foreignSuffixes() {
    QStringList all;
    for (const KindSuffixes& k : kindSuffixes())
        all += k.suffixes;
    return all;
}

QByteArray contentFormat(QByteArrayView head) {
    if (head.startsWith("\xff\xd8\xff"))
        return "jpeg";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return "gif";
    if (head.startsWith("BM") && head.size() >= 14)
        return "bmp";
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (head.startsWith(QByteArrayView("II*\0", 4)) || head.startsWith(QByteArrayView("MM\0*", 4)))
        return "tiff";
    if (head.size() >= 12 && head.startsWith("RIFF") && head.sliced(8, 4) == "WEBP")
        return "webp";
    // ISO media files: only HEIF brands, not a Canon CR3 ("crx ") or a video.
    if (head.size() >= 12 && head.sliced(4, 4) == "ftyp") {
        static const QByteArrayView brands[] = {"heic", "heix", "heim", "heis", "hevc",
                                                "hevx", "mif1", "msf1", "heif"};
        for (QByteArrayView b : brands)
            if (head.sliced(8, 4) == b)
                return "heif";
    }
    return {};
}

bool isForeignPicture(const QString& name) {
    return kindOf(name) != Kind::None;
}

bool readWholeFile(int fd, QByteArray* bytes, QString* error) {
    const auto fail = [error](int code) {
        if (error != nullptr)
            *error = code != 0 ? systemError(code)
                               : QStringLiteral("The file changed while it was read");
        return false;
    };
    struct stat before {};
    if (::fstat(fd, &before) != 0 || ::lseek(fd, 0, SEEK_SET) != 0)
        return fail(errno);
    if (!S_ISREG(before.st_mode) || before.st_size > (qint64(1) << 31))
        return fail(EFBIG);
    bytes->resize(qsizetype(before.st_size));
    qsizetype done = 0;
    while (done < bytes->size()) {
        const ssize_t n = ::read(fd, bytes->data() + done, size_t(bytes->size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(errno);
        if (n == 0)
            return fail(0);
        done += n;
    }
    char extra;
    struct stat after {};
    if (::read(fd, &extra, 1) != 0 || ::fstat(fd, &after) != 0 || after.st_size != before.st_size ||
        after.st_mtim.tv_sec != before.st_mtim.tv_sec ||
        after.st_mtim.tv_nsec != before.st_mtim.tv_nsec)
        return fail(0);
    return true;
}

ForeignPicture readForeignPicture(const QByteArray& bytes, const QString& name, QSize cover,
                                  int minLongest, const std::atomic<bool>* stop) {
    return readForeign(bytes, name, cover, minLongest, false, stop);
}

QSize readForeignSize(const QByteArray& bytes, const QString& name) {
    return readForeign(bytes, name, {}, 0, true).fullSize;
}

DecodedPicture decodeForeignPicture(const QString& path, QSize cover, int minLongest) {
    DecodedPicture d;
    QByteArray bytes;
    if (!readPath(path, &bytes, &d.error))
        return d;
    ForeignPicture f = readForeign(bytes, path, cover, minLongest, false);
    d.image = std::move(f.image);
    d.fullSize = f.fullSize;
    d.format = lowerSuffix(path).toLatin1();
    d.error = f.error;
    return d;
}

PictureHeader readForeignHeader(const QString& path) {
    PictureHeader h;
    QByteArray bytes;
    if (!readPath(path, &bytes, &h.error))
        return h;
    const ForeignPicture f = readForeign(bytes, path, {}, 0, true);
    h.size = f.fullSize;
    h.storedSize = orientationTurns(f.exif.orientation) ? f.fullSize.transposed() : f.fullSize;
    h.format = lowerSuffix(path).toLatin1();
    h.error = f.error;
    return h;
}

QByteArray encodeJpeg(const QImage& image, const ExifFields& fields, int quality) {
    QImage flat = image.convertToFormat(QImage::Format_RGB888);
    if (image.hasAlphaChannel()) {
        // JPEG has no transparency: what is see-through shows white, as on a page.
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, image);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (flat.isNull() || !writer.write(flat))
        return {};
    const QByteArray jpeg = buffer.data();
    if (!jpeg.startsWith("\xff\xd8"))
        return {};
    // The EXIF block comes right after the start marker, in place of the JFIF one.
    qsizetype rest = 2;
    if (jpeg.size() > 6 && uchar(jpeg[2]) == 0xff && uchar(jpeg[3]) == 0xe0)
        rest = 4 + qFromBigEndian<quint16>(jpeg.constData() + 4);
    const QByteArray app1 = exifBlock(fields);
    QByteArray out("\xff\xd8\xff\xe1", 4);
    out.append(char((app1.size() + 2) >> 8));
    out.append(char(app1.size() + 2));
    out.append(app1);
    out.append(QByteArrayView(jpeg).sliced(rest));
    return out;
}

} // namespace vimbrel
