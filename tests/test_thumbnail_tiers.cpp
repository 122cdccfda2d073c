// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturefiles.h"
#include "picturelibrary.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace vimbrel;
using namespace vimbrel::test;

namespace {

class ThumbnailTiersTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString cache = dir.filePath(QStringLiteral("thumbnails"));

    QString picture(const QString& name, const QImage& img) {
        const QString path = dir.filePath(name);
        writeFile(path, jpegBytes(img));
        return path;
    }
    QStringList cacheFiles() const {
        return QDir(cache).entryList({QStringLiteral("*.vthumb")}, QDir::Files);
    }
    // Last changed `seconds` ago (a negative value: in the future).
    static void age(const QString& path, qint64 seconds) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                      QFileDevice::FileModificationTime);
    }
    static void expectStats(const PictureLibrary& lib, int memory, int disk, int decodes) {
        const auto s = lib.stats();
        EXPECT_EQ(s.memoryHits, memory);
        EXPECT_EQ(s.diskHits, disk);
        EXPECT_EQ(s.decodes, decodes);
    }
};

} // namespace

TEST_F(ThumbnailTiersTest, MemoryThenDiskThenDecode) {
    const QString path = picture(QStringLiteral("a.jpg"), markedPicture(1600, 1200));
    {
        PictureLibrary lib(cache, 1 << 20);
        EXPECT_EQ(lib.thumbnail(path, QSize(108, 72), 0).size(), QSize(108, 72));
        expectStats(lib, 0, 0, 1);
        ASSERT_EQ(cacheFiles().size(), 1);
        lib.thumbnail(path, QSize(108, 72), 0);
        expectStats(lib, 1, 0, 1);
        // Another size or angle is another memory entry, served by the disk tier.
        lib.thumbnail(path, QSize(72, 108), 90);
        expectStats(lib, 1, 1, 1);
    }
    // A new process finds the disk tier, with the thumbnail at 512 on its longest side.
    PictureLibrary fresh(cache, 1 << 20);
    QImage stored;
    QSize full;
    ASSERT_EQ(fresh.disk().read(PictureSource::of(path), {}, &stored, &full),
              DiskThumbnails::Lookup::Hit);
    EXPECT_EQ(stored.size(), QSize(512, 384));
    EXPECT_EQ(full, QSize(1600, 1200));
    fresh.thumbnail(path, QSize(324, 216), 0);
    // Larger than the disk thumbnail: decoded again at the size needed.
    EXPECT_EQ(fresh.thumbnail(path, QSize(800, 600), 0).size(), QSize(800, 600));
    expectStats(fresh, 0, 1, 1);
}

TEST_F(ThumbnailTiersTest, ChangedPictureMissesAndMeasureFillsTheDiskTier) {
    const QString path = picture(QStringLiteral("a.jpg"), markedPicture(800, 600));
    PictureLibrary lib(cache, 1 << 20);
    EXPECT_EQ(lib.MeasurePic(path).size, QSize(800, 600));
    expectStats(lib, 0, 0, 1);
    EXPECT_EQ(lib.MeasurePic(path).size, QSize(800, 600)); // from the header of the thumbnail
    lib.thumbnail(path, QSize(80, 60), 0);
    expectStats(lib, 0, 1, 1);

    // Replaced by a green picture of another shape, with a later time.
    QImage green(600, 800, QImage::Format_RGB32);
    green.fill(kGreen);
    writeFile(path, jpegBytes(green));
    age(path, -60);

    EXPECT_EQ(lib.MeasurePic(path).size, QSize(600, 800));
    const QImage t = lib.thumbnail(path, QSize(60, 80), 0);
    EXPECT_TRUE(near(cornerColour(t, 'a'), kGreen));
    expectStats(lib, 0, 2, 2);
}

TEST_F(ThumbnailTiersTest, DamagedCacheFileIsAMissAndIsMadeAgain) {
    const QString path = picture(QStringLiteral("a.jpg"), markedPicture(1024, 768));
    const PictureSource src = PictureSource::of(path);
    PictureLibrary(cache, 1 << 20).thumbnail(path, QSize(64, 48), 0);
    const QString cached = PictureLibrary(cache, 1 << 20).disk().fileFor(src);
    const QByteArray good = readFile(cached);
    ASSERT_FALSE(good.isEmpty());

    QByteArray flipped = good;
    flipped[flipped.size() - 100] = char(flipped[flipped.size() - 100] ^ 0x55);
    QByteArray hugeSize = good;
    hugeSize[8] = hugeSize[9] = hugeSize[10] = char(0xff);
    for (const QByteArray& damage :
         {QByteArray(), good.left(good.size() / 2), flipped, hugeSize, QByteArray(4096, '\xff')}) {
        writeFile(cached, damage);
        PictureLibrary lib(cache, 1 << 20);
        const QImage t = lib.thumbnail(path, QSize(64, 48), 0);
        EXPECT_TRUE(near(cornerColour(t, 'a'), kRed));
        expectStats(lib, 0, 0, 1);
    }
    // The last decode rewrote it.
    PictureLibrary lib(cache, 1 << 20);
    lib.thumbnail(path, QSize(64, 48), 0);
    expectStats(lib, 0, 1, 0);
}

TEST_F(ThumbnailTiersTest, DiskBudgetDropsTheLeastRecentlyUsed) {
    QStringList paths;
    for (int i = 0; i < 4; ++i)
        paths << picture(QStringLiteral("p%1.jpg").arg(i), markedPicture(640, 480));
    qint64 one = 0;
    {
        PictureLibrary probe(dir.filePath(QStringLiteral("probe")), 0);
        probe.MeasurePic(paths[0]);
        one = QFileInfo(probe.disk().fileFor(PictureSource::of(paths[0]))).size();
        ASSERT_GT(one, 0);
    }
    PictureLibrary lib(cache, 0, one * 3 + one / 2);
    auto thumb = [&](int i) {
        return lib.disk().fileFor(PictureSource::of(paths[i]));
    };
    for (int i = 0; i < 3; ++i)
        lib.MeasurePic(paths[i]);
    for (const auto& [i, days] : {std::pair{0, 2}, {1, 2}, {2, 1}})
        age(thumb(i), days * 86400);
    lib.thumbnail(paths[0], QSize(64, 48), 0); // used again: now the newest
    lib.MeasurePic(paths[3]);                  // over budget: trimmed to three quarters
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(QFile::exists(thumb(i)), i == 0 || i == 3) << i;
}

TEST_F(ThumbnailTiersTest, HalfWrittenFilesCountAndThoseAKilledWriterLeftGo) {
    ASSERT_TRUE(QDir().mkpath(cache));
    const auto part = [this](const char* name, qsizetype bytes, int ageSeconds) {
        const QString path = QDir(cache).filePath(QLatin1String(name));
        writeFile(path, QByteArray(bytes, '\0'));
        age(path, ageSeconds);
    };
    part("Ab12Cd.part", 4096, 120);    // a killed writer's
    part("Fresh1.part", 2 << 20, 0);   // being written right now
    part("notes.part.txt", 4096, 120); // not the cache's
    const QString path = picture(QStringLiteral("a.jpg"), markedPicture(1600, 1200));

    PictureLibrary lib(cache, 1 << 20, 1 << 20);
    EXPECT_EQ(QDir(cache).entryList(QDir::Files, QDir::Name),
              QStringList({QStringLiteral("Fresh1.part"), QStringLiteral("notes.part.txt")}));
    // The file being written fills the budget on its own, so the new thumbnail is trimmed away.
    EXPECT_FALSE(lib.thumbnail(path, QSize(108, 72), 0).isNull());
    EXPECT_TRUE(cacheFiles().isEmpty());
}

// The fuzz target relies on this to reach the decoder behind a checksum that holds.
TEST_F(ThumbnailTiersTest, SealedFileIsReadWithThePictureItNowHolds) {
    const QString path = picture(QStringLiteral("a.jpg"), markedPicture(1024, 768));
    const PictureSource src = PictureSource::of(path);
    DiskThumbnails disk(cache, 1 << 20);
    QImage red(64, 48, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    ASSERT_TRUE(disk.write(src, red, QSize(1024, 768)));
    const QByteArray good = readFile(disk.fileFor(src));

    // The same header (36 bytes, the payload length at 24) before another picture.
    QImage blue(64, 48, QImage::Format_RGB32);
    blue.fill(qRgb(0, 0, 255));
    const QByteArray payload = jpegBytes(blue);
    QByteArray swapped = good.left(36) + payload;
    qToLittleEndian<quint32>(quint32(payload.size()), swapped.data() + 24);
    QImage img;
    QSize full;
    writeFile(disk.fileFor(src), swapped);
    EXPECT_EQ(disk.read(src, QSize(), &img, &full), DiskThumbnails::Lookup::Missing);

    ASSERT_TRUE(DiskThumbnails::sealChecksum(swapped));
    writeFile(disk.fileFor(src), swapped);
    ASSERT_EQ(disk.read(src, QSize(), &img, &full), DiskThumbnails::Lookup::Hit);
    EXPECT_EQ(full, QSize(1024, 768));
    EXPECT_TRUE(near(img.pixel(32, 24), qRgb(0, 0, 255)));

    QByteArray shortFile(35, 'x');
    EXPECT_FALSE(DiskThumbnails::sealChecksum(shortFile));
    EXPECT_EQ(shortFile, QByteArray(35, 'x'));
}
