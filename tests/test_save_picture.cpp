// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumfixture.h"
#include "bindmount.h"
#include "picturefiles.h"
#include "picturelibrary.h"
#include "savepicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vimbrel;
using namespace vimbrel::test;

namespace {

class SavePictureTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Fixture f;
    PictureLibrary lib{dir.filePath(QStringLiteral("cache")), 4 * 1024 * 1024};
    QString source;
    QString out;

    void SetUp() override {
        f.a.picdir = dir.filePath(QStringLiteral("TRIP")) + QLatin1Char('/');
        QDir().mkpath(f.a.picdir);
        QDir().mkpath(dir.filePath(QStringLiteral("out")));
        out = dir.filePath(QStringLiteral("out")) + QLatin1Char('/');
        source = f.a.picdir + QStringLiteral("vmb0005.jpg");
        writeFile(source, jpegBytes(markedPicture(64, 48)));
    }
    QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void expectOneMessage(const QString& text, MsgIcon icon) {
        ASSERT_EQ(f.ui.shown.size(), 1);
        EXPECT_EQ(f.ui.shown[0].title, QStringLiteral("Save - ERROR"));
        EXPECT_EQ(f.ui.shown[0].text, text);
        EXPECT_EQ(f.ui.shown[0].icon, icon);
        f.ui.shown.clear();
    }
};

} // namespace

TEST_F(SavePictureTest, RefusesOtherExtensionsAndTheAlbumFolderAndAsksAgain) {
    for (const char* name : {"x.JPG", "x", "x.png", "x.jpeg", "out/"}) {
        EXPECT_TRUE(savePictureAs(f.a, lib, source, out + QString::fromLatin1(name))) << name;
        expectOneMessage(QStringLiteral("File Extension Must Be  jpg , gif , or bmp"),
                         MsgIcon::Exclamation);
    }
    EXPECT_TRUE(savePictureAs(f.a, lib, source, f.a.picdir + QStringLiteral("copy.jpg")));
    expectOneMessage(QStringLiteral("File Can NOT be Saved to the Album's Picture Folder"),
                     MsgIcon::Critical);
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(f.a.picdir).entryList(QDir::Files).size(), 1);
}

TEST_F(SavePictureTest, SameExtensionCopiesOthersConvert) {
    writeFile(out + QStringLiteral("x.jpg"), QByteArray("older and longer content than needed"));
    EXPECT_FALSE(
        savePictureAs(f.a, lib, source, QStringLiteral("  ") + out + QStringLiteral("x.jpg ")));
    EXPECT_EQ(bytesOf(out + QStringLiteral("x.jpg")), bytesOf(source));
    EXPECT_FALSE(savePictureAs(f.a, lib, source, out + QStringLiteral("x.gif")));
    EXPECT_FALSE(savePictureAs(f.a, lib, source, out + QStringLiteral("x.bmp")));
    EXPECT_TRUE(f.ui.shown.isEmpty());
    for (const auto& [name, format] : {std::pair{"x.gif", "gif"}, std::pair{"x.bmp", "bmp"}}) {
        QImageReader r(out + QString::fromLatin1(name));
        EXPECT_EQ(r.format(), QByteArray(format)) << name;
        EXPECT_TRUE(near(cornerColour(r.read(), 'a'), kRed)) << name;
    }
}

TEST_F(SavePictureTest, ReportsPlatformErrorsAndLibraryFailures) {
    const QString broken = f.a.picdir + QStringLiteral("vmb0007.jpg");
    writeFile(broken, QByteArray("\xff\xd8\xff\xe0 not really a picture"));

    EXPECT_FALSE(savePictureAs(f.a, lib, broken, out + QStringLiteral("b.gif")));
    expectOneMessage(QStringLiteral("Error Saving File"), MsgIcon::Critical);

    EXPECT_FALSE(savePictureAs(f.a, lib, f.a.picdir + QStringLiteral("vmb0999.jpg"),
                               out + QStringLiteral("c.jpg")));
    EXPECT_FALSE(savePictureAs(f.a, lib, source, out + QStringLiteral("missing/d.jpg")));
    EXPECT_EQ(f.ui.shown.size(), 2);

    EXPECT_EQ(f.ui.busyDepth, 0);
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList());
}

TEST_F(SavePictureTest, NoPathIntoThePictureFolderAndNoLinkOntoAnythingButAFile) {
    const QString other = f.a.picdir + QStringLiteral("vmb0002.jpg");
    const QByteArray picture2 = jpegBytes(markedPicture(32, 32));
    writeFile(other, picture2);
    const QString root = dir.path() + QLatin1Char('/');
    QFile::link(root + QStringLiteral("TRIP"), root + QStringLiteral("shortcut"));
    QFile::link(other, out + QStringLiteral("link.jpg"));
    ASSERT_EQ(::link(QFile::encodeName(other).constData(),
                     QFile::encodeName(out + QStringLiteral("hard.jpg")).constData()),
              0);
    const BindMount bound(f.a.picdir, root + QStringLiteral("bound"));

    QStringList refused{QStringLiteral("shortcut/vmb0002.jpg"), QStringLiteral("shortcut/new.gif"),
                        QStringLiteral("out/link.jpg"), QStringLiteral("out/hard.jpg")};
    if (bound.active)
        refused.append(QStringLiteral("bound/vmb0002.bmp"));
    for (const QString& name : refused) {
        EXPECT_TRUE(savePictureAs(f.a, lib, source, root + name)) << qPrintable(name);
        expectOneMessage(QStringLiteral("File Can NOT be Saved to the Album's Picture Folder"),
                         MsgIcon::Critical);
    }
    EXPECT_EQ(bytesOf(other), picture2);
    EXPECT_EQ(QDir(f.a.picdir).entryList(QDir::Files).size(), 2);

    // Outside the folder a link is followed onto a regular file, the copy written through it.
    const QString file = root + QStringLiteral("real.jpg");
    writeFile(file, QByteArray("old"));
    QFile::link(file, out + QStringLiteral("to-file.jpg"));
    EXPECT_FALSE(savePictureAs(f.a, lib, source, out + QStringLiteral("to-file.jpg")));
    EXPECT_TRUE(f.ui.shown.isEmpty());
    EXPECT_EQ(bytesOf(file), bytesOf(source));
    EXPECT_TRUE(QFileInfo(out + QStringLiteral("to-file.jpg")).isSymLink());
}
