// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the formats the import converts (PNG, TIFF, WebP, HEIC, camera RAW) upright with
// their camera fields, damaged files refused, and the JPEG they become.

#include "foreignfiles.h"
#include "foreignformats.h"
#include "picturedecoder.h"
#include "picturefiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace vimbrel;
using namespace vimbrel::test;
using namespace Qt::StringLiterals;

namespace {

struct Format {
    const char* name; // as a file would be named, letter case included
    std::function<QByteArray(const QImage&, const CameraTags&)> make;
    bool orientationFromExif; // else the format's own boxes or the raw flip carry it
};

const QList<Format>& formats() {
    static const QList<Format> all = {
        {"a.PNG", pngWithExif, true},   {"a.tif", tiffWithTags, true},
        {"a.Tiff", tiffWithTags, true}, {"a.webp", webpWithExif, true},
        {"a.HEIC", heicBytes, false},   {"a.heif", heicBytes, false},
        {"a.dng", dngBytes, false},
    };
    return all;
}

CameraTags camera(int orientation) {
    return {orientation, "Maker Co", "Model X-100", "2024:05:06 07:08:09"};
}

void expectUpright(const QImage& img, QSize size, const std::string& what) {
    ASSERT_EQ(img.size(), size) << what;
    EXPECT_TRUE(near(cornerColour(img, 'a'), kRed, 80)) << what;
    EXPECT_TRUE(near(cornerColour(img, 'b'), kGreen, 80)) << what;
    EXPECT_TRUE(near(cornerColour(img, 'c'), kBlue, 80)) << what;
}

} // namespace

TEST(ForeignFormats, EachReadsUprightAtFullSizeWithItsCameraFields) {
    const QImage shown = markedPicture(96, 64);
    for (const Format& f : formats()) {
        for (int o : {1, 2, 3, 5, 6, 8}) {
            if (!f.orientationFromExif && (o == 2 || o == 5))
                continue; // mirrors: the raw flip has none
            const std::string what = std::string(f.name) + " orientation " + std::to_string(o);
            const QByteArray bytes = f.make(storedFor(shown, o), camera(o));
            ASSERT_FALSE(bytes.isEmpty()) << what;
            const ForeignPicture p = readForeignPicture(bytes, QLatin1String(f.name));
            ASSERT_TRUE(p.ok()) << what << ": " << p.error.toStdString();
            EXPECT_EQ(p.fullSize, shown.size()) << what;
            expectUpright(p.image, shown.size(), what);
            EXPECT_EQ(p.exif.dateTimeOriginal, "2024:05:06 07:08:09") << what;
            EXPECT_EQ(p.exif.make, "Maker Co") << what;
            EXPECT_EQ(p.exif.model, "Model X-100") << what;
        }
    }
}

TEST(ForeignFormats, ThePreviewDecodesThemByNameAtReducedSize) {
    QTemporaryDir tmp;
    const QImage shown = markedPicture(160, 120);
    for (const Format& f : formats()) {
        const QString path = tmp.filePath(QLatin1String(f.name));
        writeFile(path, f.make(storedFor(shown, 6), camera(6)));
        const DecodedPicture d = decodePicture(path, QSize(40, 30));
        ASSERT_TRUE(d.ok()) << f.name << ": " << d.error.toStdString();
        EXPECT_EQ(d.fullSize, shown.size()) << f.name;
        expectUpright(d.image, QSize(40, 30), f.name);
        const PictureHeader h = readPictureHeader(path);
        EXPECT_TRUE(h.ok()) << f.name;
        EXPECT_EQ(h.size, shown.size()) << f.name;
    }
}

// A phone's JPEG saved as .heic, or a JPEG renamed .png: its bytes choose the reader, and its
// own EXIF orientation still turns it upright, in the import and in its preview.
TEST(ForeignFormats, AJpegNamedAsAnotherFormatIsUpright) {
    QTemporaryDir tmp;
    const QImage shown = markedPicture(96, 64);
    for (const char* name : {"a.png", "a.HEIC", "a.tif"}) {
        for (int o : {3, 6, 8}) {
            const std::string what = std::string(name) + " orientation " + std::to_string(o);
            const QByteArray bytes = jpegBytes(storedFor(shown, o), {95, false, o});
            const ForeignPicture p = readForeignPicture(bytes, QLatin1String(name));
            ASSERT_TRUE(p.ok()) << what << ": " << p.error.toStdString();
            EXPECT_EQ(p.fullSize, shown.size()) << what;
            expectUpright(p.image, shown.size(), what);
            const QString path = tmp.filePath(QLatin1String(name));
            writeFile(path, bytes);
            EXPECT_EQ(readPictureHeader(path).size, shown.size()) << what;
            expectUpright(decodePicture(path, QSize(48, 32)).image, QSize(48, 32), what);
        }
    }
    // Cut anywhere in its segments, a JPEG has no EXIF rather than one read past its end.
    const QByteArray bytes = jpegBytes(shown, {95, false, 6});
    for (qsizetype cut : {3, 5, 12, 30})
        EXPECT_TRUE(jpegExif(QByteArrayView(bytes).first(cut)).isEmpty()) << cut;
    EXPECT_EQ(readExifFields(jpegExif(bytes)).orientation, 6);
}

TEST(ForeignFormats, DamagedFilesAreErrorsNeverPictures) {
    QTemporaryDir tmp;
    const QImage stored = markedPicture(96, 64);
    for (const Format& f : formats()) {
        const QByteArray whole = f.make(stored, camera(1));
        const QList<QByteArray> damaged = {whole.left(whole.size() / 2), whole.left(40),
                                           QByteArray("not a picture at all"), QByteArray()};
        for (const QByteArray& bytes : damaged) {
            const std::string what =
                std::string(f.name) + " cut to " + std::to_string(bytes.size());
            EXPECT_FALSE(readForeignPicture(bytes, QLatin1String(f.name)).ok()) << what;
            const QString path = tmp.filePath(QLatin1String(f.name));
            writeFile(path, bytes);
            const DecodedPicture d = decodePicture(path);
            EXPECT_FALSE(d.ok()) << what;
            EXPECT_FALSE(d.error.isEmpty()) << what;
        }
    }
}

TEST(ForeignFormats, TheJpegIsUprightWithOrientationOneAndTheFieldsThatWereThere) {
    const QImage shown = markedPicture(96, 64);
    struct Case {
        ExifFields fields;
        ExifFields expected;
    } cases[] = {
        {{"2024:05:06 07:08:09", "Maker Co", "Model X-100", 6},
         {"2024:05:06 07:08:09", "Maker Co", "Model X-100", 1}},
        {{{}, "Cam", {}, 0}, {{}, "Cam", {}, 1}},
        {{"not a date", {}, "M", 0}, {{}, {}, "M", 1}}, // a date of the wrong length is left out
    };
    for (const Case& c : cases) {
        const QByteArray jpeg = encodeJpeg(shown, c.fields);
        const ExifFields got = readExifFields(jpegExif(jpeg));
        EXPECT_EQ(got.dateTimeOriginal, c.expected.dateTimeOriginal);
        EXPECT_EQ(got.make, c.expected.make);
        EXPECT_EQ(got.model, c.expected.model);
        EXPECT_EQ(got.orientation, 1);
        // Another reader sees a JPEG of the picture, turned by nothing.
        QByteArray format;
        expectUpright(readUpright(jpeg, &format), shown.size(), c.fields.make.toStdString());
        EXPECT_EQ(format, "jpeg");
    }
    // What cannot be seen through shows white, not black.
    QImage clear(8, 8, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const QImage flat = QImage::fromData(encodeJpeg(clear, {}), "JPEG");
    EXPECT_TRUE(near(flat.pixel(4, 4), 0xffffffff, 8));
}

TEST(ForeignFormats, ExifBlocksThatPointOutsideThemselvesReadAsEmpty) {
    QByteArray block = exifTiff(camera(6));
    EXPECT_EQ(readExifFields(block).orientation, 6);
    for (int cut : {0, 7, 20, int(block.size()) - 10}) {
        const ExifFields f = readExifFields(QByteArrayView(block).first(cut));
        EXPECT_TRUE(f.dateTimeOriginal.isEmpty()) << cut;
    }
    block[4] = char(0xff); // IFD0 far beyond the end
    EXPECT_EQ(readExifFields(block).orientation, 0);
    EXPECT_TRUE(readExifFields(block).make.isEmpty());
}

TEST(ForeignFormats, SuffixesCountInAnyLetterCase) {
    for (const char* n : {"x.png", "X.TIF", "x.tiff", "x.WebP", "x.heic", "x.HEIF", "x.Cr2",
                          "x.cr3", "x.NEF", "x.arw", "x.dng", "x.ORF", "x.raf", "x.Rw2"})
        EXPECT_TRUE(isForeignPicture(QLatin1String(n))) << n;
    for (const char* n : {"x.jpg", "x.gif", "x.bmp", "png", "x.png.txt", "x.rw", ""})
        EXPECT_FALSE(isForeignPicture(QLatin1String(n))) << n;
}
