// SPDX-License-Identifier: GPL-3.0-or-later
#include "album.h"
#include "albumfile.h"
#include "samplealbum.h"
#include "scriptedui.h"

#include <QDateTime>
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

    static inline std::unique_ptr<QTemporaryDir> folder;
    static inline sample::Result made;
    std::unique_ptr<Album> album = std::make_unique<Album>();
    Album& a = *album;
    ScriptedUi ui;
};

} // namespace

TEST_F(SampleAlbum, OpensWithoutAMessageAndEveryPictureDecodesToItsRecordedSize) {
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_EQ(a.npics + a.npbox, sample::pictureCount);
    EXPECT_EQ(a.npbox, sample::photoBoxCount);
    for (int g = 1; g <= a.ngrps; ++g)
        EXPECT_EQ(a.grps[g].gcount, countGroupPictures(a, Integer(g))) << g;
    for (int slot = 1; slot <= 1000; ++slot) {
        if (slot > a.npics && slot < a.pbfirst)
            continue;
        const PicRec& p = a.pics[slot];
        SCOPED_TRACE(qPrintable(p.pfile.text()));
        QImageReader reader(a.picdir + p.pfile.trimmed());
        reader.setAutoTransform(false);
        EXPECT_EQ(reader.size(), QSize(p.pwidth, p.pheight));
        EXPECT_FALSE(reader.read().isNull()) << qPrintable(reader.errorString());
    }
}

TEST_F(SampleAlbum, SecondRunLeavesTheAlbumAlone) {
    const QDateTime old = QDateTime::currentDateTimeUtc().addYears(-3);
    QFile file(made.albumFile);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    const sample::Result again = sample::makeSampleAlbum(QFileInfo(made.albumFile).absolutePath());
    EXPECT_EQ(again.outcome, sample::Result::AlreadyThere);
    EXPECT_EQ(QFileInfo(made.albumFile).lastModified().toUTC(), old);
}
