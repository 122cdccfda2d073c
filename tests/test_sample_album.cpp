// The sample album is a real album: the store opens it without a word, its groups, Photo Box
// and frames keep the album's rules, every picture file decodes to the size recorded for it,
// and a second run leaves everything as it was.

#include "album.h"
#include "albumfile.h"
#include "samplealbum.h"
#include "samplealbumscenes.h"
#include "scriptedui.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace vimbrel;

namespace {

class SampleAlbum : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<QTemporaryDir>();
        sample::Options small;
        small.longSide = 240; // the layout is the same at any size
        made = sample::makeSampleAlbum(folder->path() + QStringLiteral("/Samples"), small);
    }
    static void TearDownTestSuite() { folder.reset(); }

    void SetUp() override {
        ASSERT_EQ(made.outcome, sample::Result::Created) << qPrintable(made.error);
        a.ui = &ui;
        a.albfile = made.albumFile;
        ReadAlbum(a);
    }

    QString path(const PicRec& p) const { return a.picdir + p.pfile.trimmed(); }

    static inline std::unique_ptr<QTemporaryDir> folder;
    static inline sample::Result made;
    std::unique_ptr<Album> album = std::make_unique<Album>();
    Album& a = *album;
    ScriptedUi ui;
};

} // namespace

TEST_F(SampleAlbum, OpensInTheStoreWithoutAMessage) {
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_EQ(a.picdir, QFileInfo(made.albumFile).absolutePath() + QStringLiteral("/SAMPLE/"));
}

TEST_F(SampleAlbum, ThreeNamedGroupsOfWholeSpreadsRunningToFrame1000) {
    ASSERT_EQ(a.ngrps, 3);
    EXPECT_EQ(a.grps[1].gfirst, 1);
    EXPECT_EQ(a.nframes, 1000);
    EXPECT_EQ(a.grps[3].glast, 1000);
    for (int g = 1; g <= a.ngrps; ++g) {
        SCOPED_TRACE(g);
        const GrpRec& grp = a.grps[g];
        if (g > 1) {
            EXPECT_EQ(grp.gfirst, a.grps[g - 1].glast + 1);
        }
        if (g < a.ngrps) { // a spread is 24, 6 or 4 frames, by display size
            EXPECT_EQ((grp.glast - grp.gfirst + 1) % 24, 0);
        }
        EXPECT_GT(grp.gcount, 0);
        EXPECT_EQ(grp.gcount, countGroupPictures(a, Integer(g)));
        // Some empty frames between the pictures, not only after them.
        int lastUsed = 0;
        int emptyBefore = 0;
        for (int f = grp.gfirst; f <= grp.glast; ++f)
            if (a.frames[f] > 0)
                lastUsed = f;
        for (int f = grp.gfirst; f < lastUsed; ++f)
            emptyBefore += a.frames[f] == -1;
        EXPECT_GT(emptyBefore, 0);
    }
}

TEST_F(SampleAlbum, PicturesFillTheirFramesAndAFewWaitInThePhotoBox) {
    EXPECT_EQ(a.npics + a.npbox, sample::pictureCount);
    EXPECT_EQ(a.npbox, sample::photoBoxCount);
    EXPECT_EQ(a.pbfirst, 1001 - sample::photoBoxCount);
    QList<int> seen(a.npics + 1, 0);
    for (int f = 1; f <= a.nframes; ++f) {
        const int slot = a.frames[f];
        ASSERT_TRUE(slot == -1 || (slot >= 1 && slot <= a.npics)) << f;
        if (slot > 0)
            ++seen[slot];
    }
    for (int slot = 1; slot <= a.npics; ++slot)
        EXPECT_EQ(seen[slot], 1) << slot;

    int turned = 0;
    int portrait = 0;
    for (int slot = 1; slot <= 1000; ++slot) {
        if (slot > a.npics && slot < a.pbfirst)
            continue;
        const PicRec& p = a.pics[slot];
        SCOPED_TRACE(qPrintable(p.pfile.text()));
        ASSERT_TRUE(p.porient == "L" || p.porient == "P");
        if (p.porient == "P") {
            ++turned;
            EXPECT_GT(p.pwidth, p.pheight); // stored on its side, shown upright
        }
        portrait += p.porient == "L" && p.pheight > p.pwidth;
    }
    EXPECT_GE(turned, 1);
    EXPECT_GE(portrait, 2);
}

TEST_F(SampleAlbum, EveryPictureFileDecodesToItsRecordedSize) {
    QMap<QByteArray, int> formats;
    for (int slot = 1; slot <= 1000; ++slot) {
        if (slot > a.npics && slot < a.pbfirst)
            continue;
        const PicRec& p = a.pics[slot];
        SCOPED_TRACE(qPrintable(p.pfile.text()));
        ASSERT_TRUE(QFileInfo::exists(path(p)));
        QImageReader reader(path(p));
        reader.setAutoTransform(false);
        ++formats[reader.format()];
        EXPECT_EQ(reader.size(), QSize(p.pwidth, p.pheight));
        EXPECT_FALSE(reader.read().isNull()) << qPrintable(reader.errorString());
        // The store found the file by its number.
        EXPECT_EQ(a.fileused[p.pfile.text().mid(3, 4).toInt()], -1);
    }
    EXPECT_EQ(formats.value("jpeg"), sample::jpegCount);
    EXPECT_EQ(formats.value("gif"), 1);
    EXPECT_EQ(formats.value("bmp"), 1);
    EXPECT_EQ(QDir(a.picdir).entryList(QDir::Files).size(), sample::pictureCount);
}

TEST_F(SampleAlbum, SecondRunLeavesEveryFileAsItWas) {
    // Back-date everything so that a rewrite, however quick, shows.
    const QDateTime old = QDateTime::currentDateTimeUtc().addYears(-3);
    QStringList files{made.albumFile};
    for (const QString& name : QDir(a.picdir).entryList(QDir::Files))
        files << a.picdir + name;
    for (const QString& f : files) {
        QFile file(f);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const sample::Result again = sample::makeSampleAlbum(QFileInfo(made.albumFile).absolutePath());
    EXPECT_EQ(again.outcome, sample::Result::AlreadyThere);
    for (const QString& f : files)
        EXPECT_EQ(QFileInfo(f).lastModified().toUTC(), old) << qPrintable(f);
    EXPECT_EQ(QDir(a.picdir).entryList(QDir::Files).size(), sample::pictureCount);
}

TEST(SampleAlbumFolder, FolderThatCannotBeMadeIsReportedNotCrashedOn) {
    const sample::Result r = sample::makeSampleAlbum(QStringLiteral("/proc/vimbrel-no-such"));
    EXPECT_EQ(r.outcome, sample::Result::Failed);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(SampleScenes, SameSeedSamePictureOtherSeedAnother) {
    using sample::Light;
    using sample::Scene;
    for (const Scene scene :
         {Scene::Seaside, Scene::Mountains, Scene::Lake, Scene::Countryside, Scene::Town}) {
        const QImage once = sample::drawScene({160, 120}, scene, Light::Golden, 7);
        EXPECT_EQ(once, sample::drawScene({160, 120}, scene, Light::Golden, 7));
        EXPECT_NE(once, sample::drawScene({160, 120}, scene, Light::Golden, 8));
    }
}
