// SPDX-License-Identifier: GPL-3.0-or-later
// Imports of other formats: the conversion to upright JPEG copies, when a converted source may
// be deleted, and what converting costs in time and memory.

#include "foreignfiles.h"
#include "foreignformats.h"
#include "importfixture.h"
#include "importrules.h"
#include "importrun.h"
#include "importrunfixture.h"
#include "picturefiles.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace vimbrel;
using namespace vimbrel::test;
using namespace Qt::StringLiterals;

TEST_F(ImportTest, OtherFormatsBecomeUprightJpegCopiesAndDamagedOnesAreLoadErrors) {
    const QImage shown = markedPicture(60, 80);
    const CameraTags tags{6, "Maker Co", "Model X-100", "2024:05:06 07:08:09"};
    const QImage stored = storedFor(shown, 6);
    bytes(u"p.PNG"_s, pngWithExif(stored, tags));
    bytes(u"t.tif"_s, tiffWithTags(stored, tags));
    bytes(u"w.WebP"_s, webpWithExif(stored, tags));
    bytes(u"h.heic"_s, heicBytes(stored, tags));
    bytes(u"r.DNG"_s, dngBytes(stored, tags));
    bytes(u"bad.Nef"_s, "not a raw file");
    QByteArray cut = heicBytes(stored, tags);
    cut.chop(cut.size() / 3);
    bytes(u"cut.HEIF"_s, cut);

    const auto run = import(names("p.PNG bad.Nef t.tif w.WebP cut.HEIF h.heic r.DNG"), true);
    ASSERT_EQ(copies().size(), 5);
    for (const QString& copy : copies())
        EXPECT_TRUE(copy.startsWith(u"vmb"_s) && copy.endsWith(u".jpg"_s)) << qPrintable(copy);
    EXPECT_EQ(run->failedNames(), names("bad.Nef cut.HEIF"));
    ASSERT_EQ(ui.shown.size(), 2);
    EXPECT_EQ(ui.shown[0].title, u"Import Image - Load Error"_s);
    EXPECT_TRUE(ui.shown[0].text.endsWith(u"\rFILE: bad.Nef"_s));
    for (const QString& copy : copies()) {
        const QByteArray jpeg = readFile(a.picdir + copy);
        QByteArray format;
        const QImage img = readUpright(jpeg, &format);
        EXPECT_EQ(format, "jpeg") << qPrintable(copy);
        ASSERT_EQ(img.size(), shown.size()) << qPrintable(copy);
        EXPECT_TRUE(near(cornerColour(img, 'a'), kRed, 80)) << qPrintable(copy);
        EXPECT_TRUE(near(cornerColour(img, 'b'), kGreen, 80)) << qPrintable(copy);
        const ExifFields exif = readExifFields(jpegExif(jpeg));
        EXPECT_EQ(exif.orientation, 1) << qPrintable(copy);
        EXPECT_EQ(exif.dateTimeOriginal, tags.taken) << qPrintable(copy);
        EXPECT_EQ(exif.make, tags.make) << qPrintable(copy);
        EXPECT_EQ(exif.model, tags.model) << qPrintable(copy);
    }
    for (int i = 996; i <= 1000; ++i) {
        EXPECT_EQ(a.pics[i].pwidth, 60) << i;
        EXPECT_EQ(a.pics[i].pheight, 80) << i;
    }
    // Each conversion was read back and checked, so its source could go.
    EXPECT_EQ(run->deletedNames(), names("p.PNG t.tif w.WebP h.heic r.DNG"));
    EXPECT_TRUE(onCard("bad.Nef"));
    EXPECT_TRUE(onCard("cut.HEIF"));
}

TEST_F(ImportTest, AConvertedSourceStaysUnlessItsConversionWasChecked) {
    for (const char* n : {"one.png", "two.png", "three.png"})
        bytes(QLatin1String(n), pngWithExif(markedPicture(40, 30), {}));
    ImportRun::Steps steps;
    steps.convert = [](int source, const QString& name, const QString& target, bool* verified,
                       const std::atomic<bool>* stop) {
        const CopyOutcome c = convertPicture(source, name, target, verified, stop);
        if (name.endsWith(u"two.png"_s) && verified != nullptr)
            *verified = false; // read back differently
        return c;
    };
    const auto run = import(names("one.png two.png three.png"), true, steps);
    EXPECT_EQ(run->deletedNames(), names("one.png three.png"));
    EXPECT_TRUE(onCard("two.png"));

    // Without "Delete Source" nothing is read back, and nothing goes.
    bytes(u"four.png"_s, pngWithExif(markedPicture(40, 30), {}));
    EXPECT_TRUE(import(names("four.png"))->deletedNames().isEmpty());
    EXPECT_TRUE(onCard("four.png"));
}

TEST_F(ImportTest, APictureKeepsTheFormatItsAlbumNameSaysWhateverItsSourceWasCalled) {
    const QImage pic = markedPicture(40, 30);
    bytes(u"png.jpg"_s, pngWithExif(pic, {}));
    bytes(u"tiff.JPG"_s, tiffWithTags(pic, {}));
    bytes(u"webp.jpeg"_s, webpWithExif(pic, {}));
    bytes(u"gif.jpg"_s, gifBytes(pic));
    const QByteArray heic = heicBytes(pic, {});
    bytes(u"heic.jpg"_s, heic.isEmpty() ? pngWithExif(pic, {}) : heic);
    bytes(u"jpeg.heic"_s, jpegBytes(pic));
    bytes(u"jpeg.PNG"_s, jpegBytes(pic));
    bytes(u"png.gif"_s, pngWithExif(pic, {}));
    bytes(u"jpeg.bmp"_s, jpegBytes(pic));

    const auto run = import(
        names("png.jpg tiff.JPG webp.jpeg gif.jpg heic.jpg jpeg.heic jpeg.PNG png.gif jpeg.bmp"),
        true);
    // A GIF or BMP name cannot hold a JPEG: those are load errors, and stay.
    EXPECT_EQ(run->failedNames(), names("png.gif jpeg.bmp"));
    ASSERT_EQ(copies().size(), 7);
    for (const QString& copy : copies()) {
        EXPECT_TRUE(copy.endsWith(u".jpg"_s)) << qPrintable(copy);
        EXPECT_EQ(QImageReader(a.picdir + copy).format(), "jpeg") << qPrintable(copy);
        const QImage img(a.picdir + copy);
        EXPECT_EQ(img.size(), pic.size()) << qPrintable(copy);
        EXPECT_TRUE(near(cornerColour(img, 'a'), kRed, 80)) << qPrintable(copy);
    }
    // A JPEG under another name is kept byte for byte.
    EXPECT_EQ(readFile(a.picdir + u"vmb0001.jpg"_s).left(3), QByteArray("\xff\xd8\xff"));
    EXPECT_EQ(readFile(a.picdir + copies()[6]), jpegBytes(pic));
    // Every copy was checked, so every source that was imported has gone.
    EXPECT_EQ(run->deletedNames(),
              names("png.jpg tiff.JPG webp.jpeg gif.jpg heic.jpg jpeg.heic jpeg.PNG"));
    EXPECT_TRUE(onCard("png.gif"));
    EXPECT_TRUE(onCard("jpeg.bmp"));
}

TEST_F(ImportTest, ASourceReplacedAfterItsCopyWasCheckedIsNotDeleted) {
    const QImage pic = markedPicture(40, 30);
    bytes(u"a.png"_s, pngWithExif(pic, {}));
    jpeg(u"b.jpg"_s);
    bytes(u"c.png"_s, pngWithExif(pic, {}));
    jpeg(u"d.jpg"_s);
    // Another program saves a new file under the name once the copy is checked; for the JPEG
    // one of the same size.
    const auto replace = [this](const QString& target, const QByteArray& with) {
        const QString name = card + QFileInfo(target).fileName();
        writeFile(name + u".new"_s, with);
        ::rename(QFile::encodeName(name + u".new"_s).constData(),
                 QFile::encodeName(name).constData());
    };
    ImportRun::Steps steps;
    steps.convert = [&](int source, const QString& name, const QString& target, bool* verified,
                        const std::atomic<bool>* stop) {
        const CopyOutcome c = convertPicture(source, name, target, verified, stop);
        if (name.endsWith(u"a.png"_s))
            replace(name, "newer");
        return c;
    };
    steps.verify = [&](int source, const QString& target) {
        const bool ok = verifyCopy(source, target);
        struct stat st {};
        ::fstat(source, &st);
        QByteArray same(qsizetype(st.st_size), 'x');
        if (ok && QFileInfo(target).fileName() == u"vmb0002.jpg"_s)
            replace(card + u"b.jpg"_s, same);
        return ok;
    };
    const auto run = import(names("a.png b.jpg c.png d.jpg"), true, steps);
    EXPECT_EQ(copies().size(), 4);
    EXPECT_EQ(run->deletedNames(), names("c.png d.jpg"));
    EXPECT_EQ(readFile(card + u"a.png"_s), "newer");
    EXPECT_TRUE(onCard("b.jpg"));
}

TEST(ImportNames, ConvertedFormatsAreListedAndGetJpegNames) {
    for (const char* n : {"a.PNG", "a.tiff", "a.Heic", "a.cr3", "a.RW2", "a.jpeg"})
        EXPECT_EQ(importExtension(QLatin1String(n)), u"jpg"_s) << n;
    EXPECT_EQ(importExtension(u"a.GIF"_s), u"gif"_s);
    EXPECT_EQ(importExtension(u"a.txt"_s), QString());
    const QStringList globs = importPattern().split(u';');
    for (const QString& suffix : foreignSuffixes())
        EXPECT_TRUE(globs.contains(u"*."_s + suffix)) << qPrintable(suffix);
}

TEST_F(ImportTest, CancelDoesNotWaitForRawFilesBeingDeveloped) {
    const QByteArray raw = dngBytes(markedPicture(2400, 1600), {});
    for (const char* n : {"a.dng", "b.dng", "c.dng", "d.dng", "e.dng"})
        bytes(QLatin1String(n), raw);
    QElapsedTimer timer;
    timer.start();
    import(names("a.dng"));
    const qint64 alone = timer.elapsed();
    ASSERT_EQ(copies().size(), 1);

    // Four files in flight on two cores: waiting for them takes twice as long as one.
    auto run =
        std::make_unique<ImportRun>(a, hub, pictures, card, names("b.dng c.dng d.dng e.dng"), true);
    QThread::msleep(50);
    timer.restart();
    run->cancel();
    EXPECT_LT(timer.elapsed(), alone / 2);
    run->finish();
    EXPECT_EQ(copies().size(), 1); // nothing half-developed is left behind
    EXPECT_TRUE(run->deletedNames().isEmpty());
    EXPECT_TRUE(ui.shown.isEmpty());
}

// The process's peak resident memory since the last reset, in MB.
qint64 peakMegabytes() {
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() / 1024;
    return -1;
}

TEST_F(ImportTest, LargePicturesAreNotAllConvertedAtOnce) {
    {
        QImage big(9000, 9000, QImage::Format_RGB888); // 81 megapixels, a few hundred KB as PNG
        big.fill(Qt::white);
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        ASSERT_TRUE(big.save(&png, "PNG", 9));
        for (const char* n : {"a.png", "b.png", "c.png"})
            bytes(QLatin1String(n), png.data());
    }
    QFile clear(u"/proc/self/clear_refs"_s);
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        GTEST_SKIP() << "the peak memory cannot be reset here";
    clear.close();
    const qint64 before = peakMegabytes();
    import(names("a.png b.png c.png"));
    EXPECT_EQ(copies().size(), 3);
    // One conversion adds about 600 MB at its peak here; two side by side twice that.
    EXPECT_LT(peakMegabytes() - before, 900);
}
