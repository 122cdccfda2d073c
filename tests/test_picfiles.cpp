// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumfile.h"
#include "albumfixture.h"
#include "bindmount.h"
#include "filenames.h"
#include "importjournal.h"
#include "picfiles.h"
#include "picfolder.h"
#include "picturefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vimbrel;
using namespace vimbrel::test;
using namespace Qt::StringLiterals;

namespace {
void touch(const QString& path) {
    writeFile(path, "x");
}

// Writes the album file of `f`, whose records are already set.
void writeAlbum(Fixture& f, const QString& albfile) {
    f.setGroups({10});
    writeFile(albfile, encodeAlbum(f.a));
}
} // namespace

// Each question asked of a name, for the names on which the questions part ways. Columns:
// the folder's own picture files, any three-letter name a record holds, any vmbNNNN.* a copy
// must avoid, the e-mail copies, and what an album file may name.
TEST(PictureNames, EachQuestionAcceptsItsOwnNames) {
    struct Row {
        const char16_t* name;
        int listed, named, reserved;
        bool mail, album;
    };
    const Row rows[] = {
        {u"vmb0001.jpg", 1, 1, 1, true, true},
        {u"vmb1000.gif", 1000, 1000, 1000, true, true},
        {u"vmb0012.bmp", 12, 12, 12, false, true},
        {u"VMB0001.JPG", 1, 1, 1, false, false}, // copied in by hand from a Windows disk
        {u"vmb0001.JPG", 1, 1, 1, false, true},
        {u"Vmb0001.jpg", 1, 1, 1, false, false},
        {u"vmb0001.png", 0, 1, 1, false, true},
        {u"vmb0001.j1g", 0, 1, 1, false, false},
        {u"vmb0000.jpg", 0, 0, 0, false, true}, // no such number, but a well-formed name
        {u"vmb1001.jpg", 0, 0, 0, false, true},
        {u"vmb12a4.jpg", 0, 0, 0, false, false},
        {u"vmb\uFF10\uFF10\uFF10\uFF11.jpg", 0, 0, 0, false, false}, // full-width digits
        {u"vmb0001.jpeg", 0, 0, 1, false, false},
        {u"vmb0001.jp", 0, 0, 1, false, false},
        {u"vmb0001.", 0, 0, 1, false, false},
        {u"vmb0001_jpg", 0, 0, 0, false, false},
        {u"vmb001.jpg", 0, 0, 0, false, false},
        {u"xvmb0001.jpg", 0, 0, 0, false, false},
        {u"", 0, 0, 0, false, false},
    };
    for (const Row& r : rows) {
        const QString name = QString::fromUtf16(r.name);
        EXPECT_EQ(pictureFileNumber(name), r.listed) << qPrintable(name);
        EXPECT_EQ(namedPictureNumber(name), r.named) << qPrintable(name);
        EXPECT_EQ(reservedPictureNumber(name), r.reserved) << qPrintable(name);
        EXPECT_EQ(isMailCopyName(name), r.mail) << qPrintable(name);
        EXPECT_EQ(isAlbumPictureName(name), r.album) << qPrintable(name);
    }
    for (const int n : {1, 7, 1000})
        EXPECT_EQ(pictureFileNumber(pictureFileName(n, u"jpg"_s)), n);
}

TEST(PictureNumbers, NoneWhenAllAreUsed) {
    Fixture f;
    for (int n = 1; n <= 1000; ++n)
        f.a.fileused[n] = -1;
    EXPECT_EQ(GetFileNum(f.a), 0);
}

TEST(PictureNumbers, EveryNumberARecordNamesStaysUsedWhetherOrNotItsFileIsThere) {
    QTemporaryDir tmp;
    Fixture saved;
    saved.addPicture(1, 1, 1);
    saved.addPicture(2, 2, 2); // its file was deleted by hand
    saved.setPhotoBox({1, 5}); // vmb0001 named twice; vmb0005 missing too
    QDir().mkpath(tmp.filePath(QStringLiteral("TRIP")));
    for (const char* n : {"vmb0001.jpg", "vmb0004.gif"})
        touch(tmp.filePath(QStringLiteral("TRIP/")) + QLatin1String(n));
    // Saved after its files: a later one that no record names is a killed import's leftover.
    writeAlbum(saved, tmp.filePath(QStringLiteral("TRIP.vmb")));

    Fixture f;
    f.a.albfile = tmp.filePath(QStringLiteral("TRIP.vmb"));
    ReadAlbum(f.a);
    EXPECT_TRUE(f.ui.shown.isEmpty());
    EXPECT_EQ(f.a.npics, 2);
    EXPECT_EQ(f.a.npbox, 2);
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(f.a.fileused[n], n == 3 || n == 6 ? 0 : -1) << n;
    EXPECT_EQ(GetFileNum(f.a), 3);
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
    touch(f.a.picdir + QStringLiteral("vmb0006.jpg"));
    for (int n : {1, 2, 3, 5, 6})
        f.a.filenew[n] = -1;
    // Whatever the marks say, a picture the saved album names is never taken away.
    Fixture saved;
    saved.addPicture(1, 1, 6);
    f.a.albfile = tmp.filePath(QStringLiteral("TRIP.vmb"));
    writeAlbum(saved, f.a.albfile);

    removeNewFiles(f.a);
    EXPECT_EQ(QDir(f.a.picdir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList({QStringLiteral("notes.txt"), QStringLiteral("vmb0004.jpg"),
                           QStringLiteral("vmb0005.jpg"), QStringLiteral("vmb0006.jpg")}));
    EXPECT_TRUE(QFileInfo::exists(tmp.filePath(QStringLiteral("vmb0001.jpg"))));
}

TEST(MailFolder, OnlyTheProgramsOwnCopiesGoAndNothingThroughALinkOrALinkedFolder) {
    QTemporaryDir tmp;
    const QString mail = tmp.filePath(QStringLiteral("VIMBRA_EMAIL_PICS"));
    const QString keep = tmp.filePath(QStringLiteral("precious.jpg"));
    QDir().mkpath(mail + QStringLiteral("/sub"));
    for (const char* n : {"vmb0001.jpg", "vmb0002.gif", "vmb0003.bmp", "VMB0004.JPG", ".hidden",
                          "notes.txt", "holiday1.jpg", "vmb0005.jpg.txt", "sub/vmb0006.jpg"})
        touch(mail + QLatin1Char('/') + QLatin1String(n));
    touch(keep);
    QFile::link(keep, mail + QStringLiteral("/vmb0007.jpg"));
    QFile::link(tmp.path(), mail + QStringLiteral("/vmb0008.jpg"));

    emptyMailDir(mail);
    EXPECT_EQ(
        QDir(mail).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDir::Name),
        QStringList({u".hidden"_s, u"VMB0004.JPG"_s, u"holiday1.jpg"_s, u"notes.txt"_s, u"sub"_s,
                     u"vmb0003.bmp"_s, u"vmb0005.jpg.txt"_s, u"vmb0007.jpg"_s, u"vmb0008.jpg"_s}));
    EXPECT_TRUE(QFileInfo::exists(mail + QStringLiteral("/sub/vmb0006.jpg")));
    EXPECT_TRUE(QFileInfo::exists(keep));

    // A mail folder that is itself a link is not emptied through it.
    const QString pictures = tmp.filePath(u"Pictures"_s), linked = tmp.filePath(u"linked"_s);
    const QStringList mine{u"holiday1.jpg"_s, u"notes.txt"_s, u"vmb0001.jpg"_s};
    QDir().mkpath(pictures);
    for (const QString& n : mine)
        touch(pictures + QLatin1Char('/') + n);
    ASSERT_TRUE(QFile::link(pictures, linked));
    for (const QString& m : {linked, linked + QLatin1Char('/')})
        emptyMailDir(m);
    EXPECT_EQ(QDir(pictures).entryList(QDir::Files, QDir::Name), mine);
}

TEST(PictureFolderIdentity, EveryWayIntoTheFolderCountsAndNothingElse) {
    QTemporaryDir tmp;
    const QString root = tmp.path() + QLatin1Char('/');
    const QString picdir = root + QStringLiteral("TRIP/");
    QDir().mkpath(picdir + QStringLiteral("sub"));
    QDir().mkpath(root + QStringLiteral("out"));
    touch(picdir + QStringLiteral("vmb0001.jpg"));
    touch(root + QStringLiteral("out/other.jpg"));
    QFile::link(root + QStringLiteral("TRIP"), root + QStringLiteral("shortcut"));
    QFile::link(picdir + QStringLiteral("vmb0001.jpg"), root + QStringLiteral("out/link.jpg"));
    QFile::link(picdir + QStringLiteral("vmb0009.jpg"), root + QStringLiteral("out/dangling.jpg"));
    QFile::link(root + QStringLiteral("out/other.jpg"), picdir + QStringLiteral("vmb0002.jpg"));
    ASSERT_EQ(::link(QFile::encodeName(picdir + QStringLiteral("vmb0001.jpg")).constData(),
                     QFile::encodeName(root + QStringLiteral("out/hard.jpg")).constData()),
              0);
    const PictureFolder own(picdir);

    struct Folder {
        const char* path;
        bool is, inside;
    };
    for (const Folder& c :
         {Folder{"TRIP", true, true}, Folder{"TRIP/", true, true}, Folder{"shortcut", true, true},
          Folder{"out/../TRIP", true, true}, Folder{"shortcut/sub", false, true},
          Folder{"TRIP/new", false, true}, Folder{"out", false, false}, Folder{"", false, false}}) {
        const QString folder = c.path[0] ? root + QLatin1String(c.path) : QString();
        EXPECT_EQ(isPictureFolder(folder, picdir), c.is) << c.path;
        EXPECT_EQ(own.contains(folder), c.inside) << c.path;
    }

    struct File {
        const char* path;
        bool held;
    };
    for (const File& c : {File{"TRIP/vmb0001.jpg", true}, File{"shortcut/vmb0002.jpg", true},
                          File{"shortcut/sub/new.jpg", true}, File{"out/link.jpg", true},
                          File{"out/dangling.jpg", true}, File{"out/hard.jpg", true},
                          File{"out/other.jpg", true}, // what vmb0002.jpg stands for
                          File{"out/new.jpg", false}, File{"vmb0001.jpg", false}})
        EXPECT_EQ(own.holds(root + QLatin1String(c.path)), c.held) << c.path;

    EXPECT_FALSE(PictureFolder(QString()).holds(root + QStringLiteral("out/new.jpg")));
    EXPECT_FALSE(isPictureFolder(root + QStringLiteral("out"), root + QStringLiteral("gone/")));

    // A bind mount shows the folder under a path no link resolution leads back from.
    const BindMount bound(picdir, root + QStringLiteral("bound"));
    if (!bound.active)
        GTEST_SKIP() << "bind mounts need root";
    EXPECT_TRUE(isPictureFolder(root + QStringLiteral("bound"), picdir));
    EXPECT_TRUE(own.contains(root + QStringLiteral("bound/sub")));
    EXPECT_TRUE(own.holds(root + QStringLiteral("bound/vmb0001.jpg")));
    EXPECT_TRUE(own.holds(root + QStringLiteral("bound/x.jpg")));
}

// A way in whose name is not UTF-8 (an old card's Latin-1 folder) is still a way in: the
// import window and a drop hand such names over by their bytes.
TEST(PictureFolderIdentity, WaysInWhoseNamesAreNotUtf8Count) {
    QTemporaryDir tmp;
    const QByteArray root = QFile::encodeName(tmp.path()) + '/';
    const QString picdir = tmp.path() + QStringLiteral("/TRIP/");
    QDir().mkpath(picdir + QStringLiteral("sub"));
    touch(picdir + QStringLiteral("vmb0001.jpg"));
    const QByteArray folder = root + "M\xfcller", link = root + "Kl\xe9";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    ASSERT_EQ(::symlink("TRIP", link.constData()), 0);
    ASSERT_EQ(::symlink("../TRIP/vmb0001.jpg", (folder + "/a.jpg").constData()), 0);
    ASSERT_EQ(::link((root + "TRIP/vmb0001.jpg").constData(), (folder + "/b.jpg").constData()), 0);
    ASSERT_EQ(::close(::open((folder + "/c.jpg").constData(), O_WRONLY | O_CREAT, 0644)), 0);
    // QTemporaryDir removes by decoded names, which miss these.
    const auto cleanUp = qScopeGuard([&] {
        for (const char* f : {"/a.jpg", "/b.jpg", "/c.jpg"})
            ::unlink((folder + f).constData());
        ::rmdir(folder.constData());
        ::unlink(link.constData());
    });

    const PictureFolder own(picdir);
    EXPECT_TRUE(isPictureFolder(nameText(link), picdir));
    EXPECT_TRUE(own.contains(nameText(link + "/sub")));
    EXPECT_FALSE(own.contains(nameText(folder)));
    EXPECT_TRUE(own.holds(nameText(link + "/vmb0001.jpg")));
    EXPECT_TRUE(own.holds(nameText(folder + "/a.jpg")));
    EXPECT_TRUE(own.holds(nameText(folder + "/b.jpg")));
    EXPECT_FALSE(own.holds(nameText(folder + "/c.jpg")));
}

// ".." after a linked folder leads where the system says, not where the text seems to: the
// folder's files, existing or about to be, are found through such ways too.
TEST(PictureFolderIdentity, DotDotAfterALinkedFolderIsTheSystemsBusiness) {
    QTemporaryDir tmp;
    const QString root = tmp.path() + QLatin1Char('/');
    const QString picdir = root + u"album/TRIP/"_s;
    QDir().mkpath(picdir);
    QDir().mkpath(root + u"album/other"_s);
    QDir().mkpath(root + u"card"_s);
    touch(picdir + u"vmb0001.jpg"_s);
    // card/into leads to album/other, so card/into/.. is album, not card.
    ASSERT_TRUE(QFile::link(root + u"album/other"_s, root + u"card/into"_s));
    ASSERT_TRUE(QFile::link(u"into/../TRIP/vmb0009.jpg"_s, root + u"card/dangling.jpg"_s));
    ASSERT_TRUE(QDir().mkpath(root + u"card/TRIP"_s)); // what the text seems to point at
    const PictureFolder own(picdir);

    EXPECT_TRUE(own.contains(root + u"card/into/../TRIP"_s));
    EXPECT_TRUE(own.contains(root + u"card/into/../TRIP/new"_s));
    EXPECT_TRUE(own.holds(root + u"card/into/../TRIP/new.jpg"_s));
    EXPECT_TRUE(own.holds(root + u"card/dangling.jpg"_s));
    EXPECT_FALSE(own.holds(root + u"card/TRIP/new.jpg"_s));
    EXPECT_FALSE(own.contains(root + u"card/into/.."_s));
}

namespace {

// An album that names vmb0001.jpg, and what a killed import and a killed save left beside it
// and in its picture folder, next to files that only look like leftovers.
struct KilledSession {
    QTemporaryDir tmp;
    QString albfile = tmp.filePath(u"TRIP.vmb"_s);
    QString picdir = tmp.filePath(u"TRIP/"_s);
    KilledSession() {
        Fixture saved;
        saved.addPicture(1, 1, 1);
        writeAlbum(saved, albfile);
        QDir().mkpath(picdir + u"vmb0008.jpg"_s); // a folder is never removed
        // The import had noted 1 (named after all), 3, 4, 7 (a link) and 8 (a folder); 5 and
        // 9 are pictures imported after a backup this album was restored from: not noted.
        for (const char* n : {"vmb0001.jpg", "vmb0003.jpg", "vmb0004.gif", "vmb0005.jpg",
                              "vmb0009.jpg", "VMB0006.JPG", "notes.txt"})
            touch(picdir + QLatin1String(n));
        touch(tmp.filePath(u"elsewhere.jpg"_s));
        QFile::link(tmp.filePath(u"elsewhere.jpg"_s), picdir + u"vmb0007.jpg"_s);
        for (const char* n : {"vmb0001.jpg", "vmb0003.jpg", "vmb0004.gif", "vmb0007.jpg",
                              "vmb0008.jpg", "../TRIP.vmb", "notes.txt"})
            EXPECT_TRUE(noteImportCopy(albfile, QLatin1String(n)));
        for (const char* n : {".TRIP.vmb.vimbrel-Ab12Cd", "TRIP.vmb.backup", "TRIP.vmb.240101",
                              ".TRIP.vmb.vimbrel-Ab12C"})
            touch(tmp.filePath(QLatin1String(n)));
    }
    QStringList pictures() const {
        return QDir(picdir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    }
    QStringList beside() const {
        QStringList names =
            QDir(tmp.path()).entryList({u"*TRIP.vmb*"_s}, QDir::Files | QDir::Hidden, QDir::Name);
        names.removeIf([](const QString& n) { return n.endsWith(u".lock"_s); });
        return names;
    }
};

} // namespace

TEST(Leftovers, AKilledImportsCopiesAndAKilledSavesFileGoWhenTheAlbumIsOpened) {
    KilledSession k;
    Fixture f;
    f.a.albfile = k.albfile;
    ReadAlbum(f.a);
    ASSERT_TRUE(f.ui.shown.isEmpty());
    ASSERT_EQ(f.a.canwrite, 'Y');
    // Only the noted copies the album does not name, plain files: no link, no folder, nothing
    // outside the picture folder, nothing the import did not note.
    EXPECT_EQ(k.pictures(),
              QStringList({u"VMB0006.JPG"_s, u"notes.txt"_s, u"vmb0001.jpg"_s, u"vmb0005.jpg"_s,
                           u"vmb0007.jpg"_s, u"vmb0008.jpg"_s, u"vmb0009.jpg"_s}));
    EXPECT_EQ(k.beside(), QStringList({u".TRIP.vmb.vimbrel-Ab12C"_s, u"TRIP.vmb"_s,
                                       u"TRIP.vmb.240101"_s, u"TRIP.vmb.backup"_s}));
    EXPECT_TRUE(QFileInfo::exists(k.tmp.filePath(u"elsewhere.jpg"_s)));
    // The numbers of the removed copies are free again.
    EXPECT_EQ(f.a.fileused[3], 0);
    EXPECT_EQ(f.a.fileused[4], 0);
    EXPECT_EQ(f.a.fileused[5], -1);
    EXPECT_EQ(GetFileNum(f.a), 2);
}

TEST(Leftovers, NothingGoesFromAnAlbumThisSessionMayNotChange) {
    for (const bool heldElsewhere : {true, false}) {
        KilledSession k;
        const QStringList pictures = k.pictures();
        const QStringList beside = k.beside();
        AlbumLock other; // another session, still importing
        Fixture f;
        if (heldElsewhere)
            ASSERT_EQ(other.lock(k.albfile), AlbumLock::Outcome::Locked);
        else
            f.a.volumeStatus = [](const QString&) {
                return VolumeStatus{true, 1 << 20, true, false};
            };
        f.a.albfile = k.albfile;
        ReadAlbum(f.a);
        ASSERT_EQ(f.a.canwrite, 'N');
        EXPECT_EQ(k.pictures(), pictures) << heldElsewhere;
        EXPECT_EQ(k.beside(), beside) << heldElsewhere;
    }
}
