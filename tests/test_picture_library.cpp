// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturedecoder.h"
#include "picturefiles.h"
#include "picturelibrary.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

#include <jpeglib.h>

using namespace vimbrel;
using namespace vimbrel::test;

namespace {

class PictureLibraryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    PictureLibrary lib{dir.filePath(QStringLiteral("cache")), 16 * 1024 * 1024};

    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        writeFile(path, bytes);
        return path;
    }
    // What DispPic leaves on a yellow 100 x 100 canvas.
    QImage drawn(const QString& path, QRect r, int angle) {
        QImage canvas(100, 100, QImage::Format_RGB32);
        canvas.fill(Qt::yellow);
        QPainter p(&canvas);
        lib.DispPic(p, path, r.left(), r.top(), r.width(), r.height(), angle);
        return canvas;
    }
    static QImage read(const QString& path, QByteArray* format = nullptr) {
        QImageReader r(path);
        if (format)
            *format = r.format();
        return r.read();
    }
    // A cut picture: no size, no thumbnail, no copy; the reason when the cut is in the picture.
    void expectRefused(const QString& name, const QByteArray& bytes, bool cutInPicture) {
        const QString path = file(name, bytes);
        const auto m = lib.MeasurePic(path);
        EXPECT_FALSE(m.ok()) << qPrintable(name);
        if (cutInPicture)
            EXPECT_EQ(m.error.toStdString(), "Premature end of JPEG file") << qPrintable(name);
        EXPECT_TRUE(lib.thumbnail(path, QSize(64, 48), 0).isNull()) << qPrintable(name);
        const QString out = dir.filePath(QStringLiteral("cut.gif"));
        EXPECT_NE(lib.SavePic(path, out, 80, PictureLibrary::Gif), 0) << qPrintable(name);
    }
};

// Where a JPEG's first scan starts: the segments before it are walked, a preview skipped.
qsizetype scanStart(const QByteArray& jpeg) {
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && jpeg.at(at + 1) != '\xda')
        at += 2 + (uchar(jpeg.at(at + 2)) << 8 | uchar(jpeg.at(at + 3)));
    return at;
}

constexpr QRgb kYellow = 0xffffff00;

} // namespace

// The content decides the format, not the name.
TEST_F(PictureLibraryTest, MeasuresAndDrawsEveryShapeInEveryFormat) {
    for (const QSize s : {QSize(64, 48), QSize(48, 64), QSize(1, 1)}) {
        const QImage img = markedPicture(s.width(), s.height());
        const QString tag = QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
        const std::pair<const char*, QByteArray> kinds[] = {
            {".jpg", jpegBytes(img)},      {"p.jpg", jpegBytes(img, {.progressive = true})},
            {"j.bmp", jpegBytes(img)},     {".gif", gifBytes(img)},
            {"1.bmp", bmpBytes(img, 1)},   {"4.bmp", bmpBytes(img, 4)},
            {"8.bmp", bmpBytes(img, 8)},   {"16.bmp", bmpBytes(img, 16)},
            {"24.bmp", bmpBytes(img, 24)}, {"32.bmp", bmpBytes(img, 32)}};
        for (const auto& [suffix, bytes] : kinds) {
            const QString path = file(tag + QLatin1String(suffix), bytes);
            const auto m = lib.MeasurePic(path);
            EXPECT_EQ(m.size, s) << qPrintable(path) << qPrintable(m.error);
            const QImage t = lib.thumbnail(path, s, 0);
            ASSERT_EQ(t.size(), s) << qPrintable(path);
            EXPECT_TRUE(near(cornerColour(t, 'a'), kRed)) << qPrintable(path);
        }
    }
}

TEST_F(PictureLibraryTest, ExifOrientationIsAppliedWhenMeasuringDrawingAndConverting) {
    const QImage shown = markedPicture(256, 192);
    for (int o = 1; o <= 8; ++o) {
        const QString path = file(QStringLiteral("orient%1.jpg").arg(o),
                                  jpegBytes(storedFor(shown, o), {.orientation = o}));
        EXPECT_EQ(lib.MeasurePic(path).size, QSize(256, 192)) << o;

        // 32 x 24 decodes at 1/8 scale: the reduced size has to be asked in stored orientation.
        EXPECT_EQ(decodePicture(path, QSize(32, 24)).image.size(), QSize(32, 24)) << o;
        const QImage t = lib.thumbnail(path, QSize(32, 24), 0);
        ASSERT_EQ(t.size(), QSize(32, 24)) << o;
        EXPECT_TRUE(near(cornerColour(t, 'a'), kRed)) << o;
        EXPECT_TRUE(near(cornerColour(t, 'b'), kGreen)) << o;

        const QString gif = dir.filePath(QStringLiteral("orient%1.gif").arg(o));
        ASSERT_EQ(lib.SavePic(path, gif, 80, PictureLibrary::Gif), 0) << o;
        EXPECT_TRUE(near(cornerColour(read(gif), 'b'), kGreen)) << o;
    }
}

TEST_F(PictureLibraryTest, DrawsTurnedClockwiseIntoExactlyTheRectangle) {
    const QString path = file(QStringLiteral("marked.jpg"), jpegBytes(markedPicture(320, 240)));

    QImage c = drawn(path, QRect(10, 20, 40, 30), 0);
    EXPECT_TRUE(near(c.pixel(15, 23), kRed));
    EXPECT_TRUE(near(c.pixel(49, 49), kBlue));
    for (const QPoint outside : {QPoint(9, 20), QPoint(50, 20), QPoint(10, 50)})
        EXPECT_EQ(c.pixel(outside), kYellow);

    // 90: the top-left corner goes to the top-right, the top-right to the bottom-right.
    c = drawn(path, QRect(10, 20, 30, 40), 90);
    EXPECT_TRUE(near(c.pixel(36, 25), kRed));
    EXPECT_TRUE(near(c.pixel(36, 55), kGreen));

    // Angles the library does not know draw nothing.
    c = drawn(path, QRect(10, 20, 40, 30), 45);
    EXPECT_EQ(c.pixel(15, 23), kYellow);
}

TEST_F(PictureLibraryTest, TransparentGifKeepsItsTransparency) {
    QImage img(800, 600, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter(&img).fillRect(0, 0, 400, 300, QColor(kRed));
    const QString path = file(QStringLiteral("clear.gif"), gifBytes(img));

    const QImage c = drawn(path, QRect(0, 0, 40, 30), 0);
    EXPECT_TRUE(near(c.pixel(5, 5), kRed, 10));
    EXPECT_EQ(c.pixel(35, 25), kYellow);

    // As JPEG the transparent part becomes white, not an arbitrary colour.
    const QString jpg = dir.filePath(QStringLiteral("clear.jpg"));
    ASSERT_EQ(lib.SavePic(path, jpg, 90, PictureLibrary::Jpeg), 0);
    EXPECT_TRUE(near(read(jpg).pixel(700, 500), 0xffffffff, 10));
}

TEST_F(PictureLibraryTest, DamagedFilesFailCleanly) {
    QByteArray jpeg = jpegBytes(markedPicture(640, 480));
    QByteArray absurdJpeg = jpeg;
    const qsizetype sof = absurdJpeg.indexOf(QByteArrayView("\xff\xc0", 2));
    ASSERT_GT(sof, 0);
    absurdJpeg[sof + 5] = absurdJpeg[sof + 6] = absurdJpeg[sof + 7] = absurdJpeg[sof + 8] =
        char(0xff); // 65535 x 65535
    QByteArray absurdBmp = bmpBytes(markedPicture(4, 4), 24);
    for (int at : {18, 22}) // width, height: 100000
        for (int i = 0; i < 4; ++i)
            absurdBmp[at + i] = char((100000 >> (8 * i)) & 0xff);
    const QByteArray gif = gifBytes(markedPicture(64, 48));

    const std::pair<const char*, QByteArray> cases[] = {
        {"empty.jpg", QByteArray()},
        {"truncated.jpg", jpeg.left(jpeg.size() / 2)},
        {"garbage.jpg", jpeg.left(20) + QByteArray(5000, 'x')},
        {"absurd.jpg", absurdJpeg},
        {"absurd.bmp", absurdBmp},
        {"truncated.gif", gif.left(gif.size() / 2)},
        {"text.gif", QByteArray("not a picture at all")},
    };
    for (const auto& [name, bytes] : cases) {
        const QString path = file(QString::fromLatin1(name), bytes);
        EXPECT_FALSE(lib.MeasurePic(path).ok()) << name;
        const QImage c = drawn(path, QRect(0, 0, 100, 100), 0);
        EXPECT_EQ(c.pixel(50, 50), kYellow) << name;
        const QString out = dir.filePath(QStringLiteral("out.jpg"));
        EXPECT_NE(lib.SavePic(path, out, 80, PictureLibrary::Jpeg), 0) << name;
        EXPECT_NE(lib.SaveResizePic(path, out, 50, 0, 0, 32, 24), 0) << name;
        EXPECT_FALSE(QFile::exists(out)) << name;
    }
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("cache")))
                    .entryList({QStringLiteral("*.vthumb")})
                    .isEmpty());
    EXPECT_FALSE(lib.MeasurePic(dir.filePath(QStringLiteral("missing.jpg"))).ok());
}

TEST_F(PictureLibraryTest, ConversionsWriteTheRightTypeAndSize) {
    const QImage marked = markedPicture(256, 192);
    const QString jpg = file(QStringLiteral("src.jpg"), jpegBytes(marked));
    const QString gif = file(QStringLiteral("src.gif"), gifBytes(marked));
    const QString bmp = file(QStringLiteral("src.bmp"), bmpBytes(marked, 24));
    auto out = [this](const char* name) {
        return dir.filePath(QString::fromLatin1(name));
    };
    QByteArray format;

    for (const auto& [from, to, type, want] :
         {std::tuple{gif, "a.jpg", PictureLibrary::Jpeg, "jpeg"},
          {bmp, "a.gif", PictureLibrary::Gif, "gif"}}) {
        ASSERT_EQ(lib.SavePic(from, out(to), 80, type), 0) << to;
        EXPECT_EQ(read(out(to), &format).size(), QSize(256, 192)) << to;
        EXPECT_EQ(format, want);
    }

    // The caller has swapped width and height for 90: the copy is upright-turned and exact.
    ASSERT_EQ(lib.SaveResizePic(jpg, out("r90.jpg"), 50, 90, 0, 48, 64), 0);
    const QImage r = read(out("r90.jpg"));
    ASSERT_EQ(r.size(), QSize(48, 64));
    EXPECT_TRUE(near(cornerColour(r, 'b'), kRed));
    EXPECT_TRUE(near(cornerColour(r, 'd'), kGreen));

    const QList<int> batch = lib.saveResized({{jpg, out("b1.jpg"), 50, 0, 0, 64, 48},
                                              {bmp, out("b2.jpg"), 50, 45, 2, 64, 48},
                                              {gif, out("b3.gif"), 50, 90, 1, 48, 64}});
    EXPECT_EQ(batch, QList<int>({0, PictureLibrary::BadArguments, 0}));
    EXPECT_EQ(read(out("b3.gif")).size(), QSize(48, 64));

    EXPECT_NE(lib.SaveResizePic(jpg, out("x.jpg"), 50, 0, 0, 100000, 100000), 0);
    EXPECT_NE(lib.SavePic(jpg, dir.filePath(QStringLiteral("no/such/folder.jpg")), 80, 0), 0);
}

namespace {

QByteArray segment(char marker, const QByteArray& body) {
    const int n = int(body.size()) + 2;
    return QByteArray("\xff", 1) + marker + char(n >> 8) + char(n & 0xff) + body;
}

// A camera file's preview: a small JPEG inside the EXIF segment, with an end marker of its own.
QByteArray withPreview(QByteArray jpeg) {
    const QByteArray tiff("MM\0\x2a\0\0\0\x08\0\0\0\0\0\0", 14); // no entries, no next IFD
    const QByteArray preview = jpegBytes(markedPicture(160, 120), {.quality = 75});
    jpeg.insert(2, segment('\xe1', QByteArray("Exif\0\0", 6) + tiff + preview));
    return jpeg;
}

// A phone's motion photo: the XMP note, then an MP4 after the picture's end marker.
QByteArray motionPhoto(QByteArray jpeg) {
    const QByteArray xmp = QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) +
                           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf="
                           "\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
                           "xmlns:GCamera=\"http://ns.google.com/photos/1.0/camera/\" "
                           "GCamera:MotionPhoto=\"1\" GCamera:MotionPhotoVersion=\"1\"/>"
                           "</rdf:RDF></x:xmpmeta>";
    jpeg.insert(2, segment('\xe1', xmp));
    QByteArray video("\0\0\0\x18"
                     "ftypmp42\0\0\0\0isommp42\0\x30\0\0mdat",
                     32);
    // Compressed video looks random; an end marker anywhere in it must not matter, and none
    // near its end may rescue a check that only looks there.
    quint32 seed = 12345;
    for (int i = 0; i < 3 << 20; ++i) {
        seed = seed * 1103515245u + 12345u;
        char c = char(seed >> 24);
        if (c == '\xd9' && video.endsWith('\xff'))
            c = 'x';
        video += c;
    }
    return jpeg + video;
}

} // namespace

TEST_F(PictureLibraryTest, DataAfterThePictureIsNoDamage) {
    const QImage marked = markedPicture(640, 480);
    const QByteArray plain = jpegBytes(marked);
    QByteArray trailer;
    for (int i = 0; i < 100 * 1024; ++i)
        trailer += char('a' + i % 26);
    const std::pair<const char*, QByteArray> cases[] = {
        {"motion.jpg", motionPhoto(withPreview(plain))},
        {"trailer.jpg", plain + trailer},
        {"progressive-trailer.jpg", jpegBytes(marked, {.progressive = true}) + trailer},
        {"padded.jpg", plain + QByteArray(4096, '\0')},
    };
    for (const auto& [name, bytes] : cases) {
        const QString path = file(QString::fromLatin1(name), bytes);
        const auto m = lib.MeasurePic(path);
        EXPECT_EQ(m.size, QSize(640, 480)) << name << ": " << qPrintable(m.error);
        const QImage c = drawn(path, QRect(0, 0, 64, 48), 0);
        EXPECT_TRUE(near(cornerColour(c.copy(0, 0, 64, 48), 'b'), kGreen)) << name;
        const QString out = dir.filePath(QStringLiteral("saved.gif"));
        EXPECT_EQ(lib.SavePic(path, out, 80, PictureLibrary::Gif), 0) << name;
        EXPECT_EQ(read(out).size(), QSize(640, 480)) << name;
    }
}

// Anywhere a copy or a download breaks off, the rest would be drawn grey.
TEST_F(PictureLibraryTest, CutFilesAreRefusedWhereverTheyEnd) {
    const QImage marked = markedPicture(640, 480);
    const std::pair<const char*, QByteArray> sources[] = {
        {"camera", withPreview(jpegBytes(marked))},
        {"progressive", jpegBytes(marked, {.progressive = true})},
    };
    for (const auto& [kind, whole] : sources) {
        const qsizetype scan = scanStart(whole);
        ASSERT_LT(scan, whole.size()) << kind;
        const qsizetype n = whole.size();
        // Right after the preview's end marker the file ends with one, as a whole file does.
        const qsizetype afterPreview = whole.indexOf(QByteArrayView("\xff\xd9", 2)) + 2;
        QList<qsizetype> cuts = {
            scan - 8, scan + 40, scan + (n - scan) / 4, (scan + n) / 2, n - 100, n - 2, n - 1};
        if (afterPreview < scan)
            cuts.append(afterPreview);
        for (const qsizetype cut : cuts)
            expectRefused(QStringLiteral("%1-%2.jpg").arg(QLatin1String(kind)).arg(cut),
                          whole.left(cut), cut > scan);
        const auto m = lib.MeasurePic(file(QLatin1String(kind) + QStringLiteral(".jpg"), whole));
        EXPECT_TRUE(m.ok()) << kind << ": " << qPrintable(m.error);
    }
}

namespace {

// Qt writes no CMYK JPEG: a print shop's file, made with libjpeg. Ink as Adobe stores it,
// inverted, and stored as YCCK as Photoshop does, or as plain CMYK.
QByteArray cmykJpegBytes(const QImage& img, bool ycck) {
    // R, G, B and 255 in memory: cyan, magenta, yellow and no black, inverted.
    const QImage rgb = img.convertToFormat(QImage::Format_RGBX8888);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(rgb.width());
    cinfo.image_height = JDIMENSION(rgb.height());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    if (ycck)
        jpeg_set_colorspace(&cinfo, JCS_YCCK);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW r = const_cast<JSAMPLE*>(rgb.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

} // namespace

// A file that breaks off inside its picture and still ends with an end marker: a repair tool
// that closes cut files, a header claiming more rows than the data holds. The rest would be drawn
// grey.
TEST_F(PictureLibraryTest, CutPicturesClosedByAnEndMarkerAreRefused) {
    const QImage marked = markedPicture(640, 480);
    const QByteArray eoi("\xff\xd9", 2);
    QList<std::pair<QString, QByteArray>> cases;
    const std::pair<const char*, QByteArray> sources[] = {
        {"plain", jpegBytes(marked)},
        {"turned", jpegBytes(storedFor(marked, 6), {.orientation = 6})},
        {"progressive", jpegBytes(marked, {.progressive = true})},
        {"cmyk", cmykJpegBytes(marked, false)},
        {"ycck", cmykJpegBytes(marked, true)},
    };
    for (const auto& [kind, whole] : sources) {
        const qsizetype scan = scanStart(whole);
        const qsizetype n = whole.size();
        for (const qsizetype cut : {scan + 40, (scan + n) / 2, n - 600})
            if (cut > scan &&
                (QLatin1String(kind) != QLatin1String("progressive") || cut == scan + 40))
                cases.append({QStringLiteral("%1-%2.jpg").arg(QLatin1String(kind)).arg(cut),
                              whole.left(cut) + eoi});
    }
    // The height in the frame header says 4800 rows; the data holds 480.
    QByteArray tall = jpegBytes(marked);
    const qsizetype sof = tall.indexOf(QByteArrayView("\xff\xc0", 2));
    ASSERT_GT(sof, 0);
    tall[sof + 5] = char(4800 >> 8);
    tall[sof + 6] = char(4800 & 0xff);
    cases.append({QStringLiteral("tall.jpg"), tall});
    for (const auto& [name, bytes] : cases)
        expectRefused(name, bytes, true);

    // Whole pictures with grey where the cut's remainder would be still pass.
    QImage grey(640, 480, QImage::Format_RGB32);
    grey.fill(qRgb(128, 128, 128));
    for (const bool progressive : {false, true}) {
        const QString path = file(QStringLiteral("grey%1.jpg").arg(progressive),
                                  jpegBytes(grey, {.progressive = progressive}));
        const auto m = lib.MeasurePic(path);
        EXPECT_EQ(m.size, QSize(640, 480)) << progressive << ": " << qPrintable(m.error);
        EXPECT_FALSE(lib.thumbnail(path, QSize(64, 48), 0).isNull()) << progressive;
    }
    for (const bool ycck : {false, true}) {
        const auto m = lib.MeasurePic(
            file(QStringLiteral("cmyk%1.jpg").arg(ycck), cmykJpegBytes(marked, ycck)));
        EXPECT_EQ(m.size, QSize(640, 480)) << ycck << ": " << qPrintable(m.error);
    }
}
