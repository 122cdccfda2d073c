#include "albumfixture.h"
#include "picfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vimbrel;
using vimbrel::test::Fixture;

namespace {
void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}
} // namespace

TEST(PictureNumbers, LowestFreeNumberOrNoneWhenFull) {
    Fixture f;
    EXPECT_EQ(GetFileNum(f.a), 1);
    f.a.fileused[1] = f.a.fileused[2] = f.a.fileused[4] = -1;
    EXPECT_EQ(GetFileNum(f.a), 3);
    for (int n = 1; n <= 1000; ++n)
        f.a.fileused[n] = -1;
    EXPECT_EQ(GetFileNum(f.a), 0);
    EXPECT_EQ(pictureFileName(7, QStringLiteral("jpg")), QStringLiteral("vmb0007.jpg"));
}

TEST(LeavingWithoutSaving, OnlyNewPicturesOfThePictureFolderGo) {
    QTemporaryDir tmp;
    Fixture f;
    f.a.picdir = tmp.filePath(QStringLiteral("TRIP")) + QLatin1Char('/');
    QDir().mkpath(f.a.picdir);
    for (const char* n : {"vmb0001.jpg", "vmb0002.gif", "VMB0003.BMP", "vmb0004.jpg", "notes.txt"})
        touch(f.a.picdir + QLatin1String(n));
    touch(tmp.filePath(QStringLiteral("vmb0001.jpg")));        // beside the folder, not in it
    QDir().mkpath(f.a.picdir + QStringLiteral("vmb0005.jpg")); // a folder is never deleted
    for (int n : {1, 2, 3, 5})
        f.a.filenew[n] = -1;

    removeNewFiles(f.a);
    EXPECT_EQ(QDir(f.a.picdir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList({QStringLiteral("notes.txt"), QStringLiteral("vmb0004.jpg"),
                           QStringLiteral("vmb0005.jpg")}));
    EXPECT_TRUE(QFileInfo::exists(tmp.filePath(QStringLiteral("vmb0001.jpg"))));
}

TEST(MailFolder, EmptiedOfPlainFilesWithoutRecursingOrFollowingLinks) {
    QTemporaryDir tmp;
    const QString mail = tmp.filePath(QStringLiteral("VIMBRA_EMAIL_PICS"));
    const QString keep = tmp.filePath(QStringLiteral("precious.jpg"));
    QDir().mkpath(mail + QStringLiteral("/sub"));
    for (const QString& p :
         {mail + QStringLiteral("/.hidden"), mail + QStringLiteral("/sub/b.jpg"), keep})
        touch(p);
    QFile::link(keep, mail + QStringLiteral("/link.jpg"));
    QFile::link(tmp.path(), mail + QStringLiteral("/dirlink"));

    emptyMailDir(mail);
    EXPECT_EQ(
        QDir(mail).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        QStringList({QStringLiteral("sub")}));
    EXPECT_TRUE(QFileInfo::exists(mail + QStringLiteral("/sub/b.jpg")));
    EXPECT_TRUE(QFileInfo::exists(keep));
}
