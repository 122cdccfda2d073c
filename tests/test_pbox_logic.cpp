// SPDX-License-Identifier: GPL-3.0-or-later
// The Photo Box's rules on the model: what the strip shows and redraws after every change,
// adding, removing, page photos dropped into the box, the selection, deleting with files.

#include "albumfile.h"
#include "albumfixture.h"
#include "ownhome.h"
#include "pboxlogic.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace vimbrel;
using vimbrel::test::expectAlbumSound;
using vimbrel::test::Fixture;
using vimbrel::test::OwnHome;

namespace {

int number(const PicRec& p) {
    return p.pfile.trimmed().mid(3, 4).toInt();
}
// The box's pictures in order, by file number.
QList<int> box(const Album& a) {
    QList<int> out;
    for (int s = a.pbfirst; s <= 1000; ++s)
        out.append(number(a.pics[s]));
    return out;
}
// What the strip shows, by file number; 0 for an empty position.
QList<int> strip(const Album& a) {
    QList<int> out;
    for (int k = 0; k < stripPositions; ++k)
        out.append(stripSlot(a, k) ? number(a.pics[stripSlot(a, k)]) : 0);
    return out;
}
using From = std::array<int, stripPositions>;

// Album pictures 1..4 in frames 2, 5, 7, 11 of group 1 (24 frames, group 2 after it) and a
// box of pictures 101, 102, ...
struct BoxFixture : Fixture {
    explicit BoxFixture(int boxed) {
        addPicture(1, 2, 1);
        addPicture(2, 5, 2);
        addPicture(3, 7, 3);
        addPicture(4, 11, 4);
        setGroups({24, 24});
        for (int i = 1; i <= boxed; ++i)
            addPicture(1001 - boxed + i - 1, 0, 100 + i);
        a.npbox = static_cast<Integer>(boxed);
        a.pbfirst = a.pbtop = static_cast<Integer>(1001 - boxed);
        a.canwrite = 'Y';
    }
    void scrollTo(int value) { loadStrip(a, boxFirst(a) + value - 1); }
    void select(std::initializer_list<int> positions) {
        for (int k : positions)
            pressStrip(a, k, false);
    }
    void selectPage(std::initializer_list<int> albumSlots) {
        for (int s : albumSlots)
            a.pics[s].psel = 0;
        a.nsel = static_cast<Integer>(albumSlots.size());
    }
};

} // namespace

TEST(PboxStrip, ScrollingMovesWhatIsDrawnAndDrawsOnlyTheNew) {
    BoxFixture f(12);
    EXPECT_EQ(scrollMaximum(f.a), 8);
    StripUpdate u = loadStrip(f.a, 991); // two to the right
    EXPECT_EQ(u.from, (From{2, 3, 4, -1, -1}));
    EXPECT_EQ(strip(f.a), QList<int>({103, 104, 105, 106, 107}));
    EXPECT_EQ(loadStrip(f.a, 990).from, (From{-1, 0, 1, 2, 3})); // one back
    EXPECT_EQ(loadStrip(f.a, 995).redrawCount(), 5);             // five or more: all new
    EXPECT_EQ(loadStrip(f.a, -13).from, (From{0, 1, 2, -1, 4})); // clamped to the start

    // A cleared album (pbfirst 0) shows nothing and touches no slot outside the table.
    Fixture empty;
    loadStrip(empty.a, 0);
    EXPECT_EQ(strip(empty.a), QList<int>({0, 0, 0, 0, 0}));
}

TEST(PboxAdd, OnePictureAtEachPositionMovesTheRestRight) {
    for (int pos = 0; pos < stripPositions; ++pos) {
        SCOPED_TRACE(pos);
        BoxFixture f(8); // 101..108, strip from the second: 102..106
        f.scrollTo(2);
        f.addPicture(900, 0, 200);
        f.a.tpic = f.a.pics[900];
        f.a.nimps = 1;
        QList<int> shown = strip(f.a);
        const StripUpdate u = addToBox(f.a, pos);
        expectAlbumSound(f.a);
        EXPECT_EQ(u.redrawCount(), 1);
        EXPECT_TRUE(u.redraws(pos));
        shown.insert(pos, 200);
        EXPECT_EQ(strip(f.a), shown.first(5));
    }
}

TEST(PboxAdd, ImportedPicturesGoToTheEndUntilTheAlbumIsFull) {
    BoxFixture f(0);
    f.a.imps[1] = {QStringLiteral("vmb0301.jpg"), 800, 600};
    f.a.imps[2] = {QStringLiteral("vmb0302.gif"), 30, 40};
    f.a.nimps = 2;
    addToBox(f.a, -1);
    expectAlbumSound(f.a);
    EXPECT_EQ(box(f.a), QList<int>({301, 302}));

    f.a.npics = 998; // no room: refused, nothing changes
    f.a.nimps = 1;
    EXPECT_TRUE(addToBox(f.a, -1).unchanged());
    EXPECT_EQ(f.a.npbox, 2);
}

TEST(PboxDelete, OneInViewClosesUpTheStrip) {
    struct Case {
        int boxed, scroll;
        QList<int> presses;
        From from;
        QList<int> shown;
    };
    // At the start the last position fills; in a scrolled strip it closes up from the left.
    // In the first case the last press, dragsrc, is on a picture no longer selected.
    for (const Case& c : {Case{8, 1, {1, 3, 3}, {0, 2, 3, 4, -1}, {101, 103, 104, 105, 106}},
                          Case{9, 3, {2}, {-1, 0, 1, 3, 4}, {102, 103, 104, 106, 107}}}) {
        BoxFixture f(c.boxed);
        f.scrollTo(c.scroll);
        for (int k : c.presses)
            pressStrip(f.a, k, false);
        EXPECT_EQ(deleteFromBox(f.a).from, c.from);
        EXPECT_EQ(strip(f.a), c.shown);
        expectAlbumSound(f.a);
    }
}

TEST(PboxDelete, SeveralCloseUpInOrderAndTheStripStartsAgain) {
    BoxFixture f(7);
    f.scrollTo(3);
    f.select({0, 2, 4}); // 103, 105, 107
    EXPECT_EQ(deleteFromBox(f.a).redrawCount(), 5);
    expectAlbumSound(f.a);
    EXPECT_EQ(box(f.a), QList<int>({101, 102, 104, 106}));
    EXPECT_EQ(scrollValue(f.a), 1);
}

TEST(PboxDrop, PagePhotosJoinTheBox) {
    BoxFixture f(2);
    f.selectPage({3, 1}); // frames 7 and 2: several go to the end in frame order
    EXPECT_TRUE(dropPagePictures(f.a, 1).moved);
    expectAlbumSound(f.a);
    EXPECT_EQ(box(f.a), QList<int>({101, 102, 1, 3}));
    EXPECT_EQ(f.a.nsel, 0);

    BoxFixture g(6);
    g.selectPage({2}); // one, onto a position, takes its place
    g.a.dragsrc = 5;
    const PageDropResult r = dropPagePictures(g.a, 2);
    expectAlbumSound(g.a);
    EXPECT_EQ(r.clearFrame, 5);
    EXPECT_EQ(r.strip.from, (From{0, 1, -1, 2, 3}));
    EXPECT_EQ(strip(g.a), QList<int>({101, 102, 2, 103, 104}));
    EXPECT_EQ(g.a.frames[7], 2); // later frames point one slot lower

    BoxFixture h(2); // a drag whose frame no longer holds a picture moves nothing
    h.a.nsel = 1;
    h.a.dragsrc = 3;
    EXPECT_FALSE(dropPagePictures(h.a, 0).moved);
    EXPECT_EQ(h.a.npbox, 2);
}

TEST(PboxDrop, SelectAllMovesOnlyTheShownGroupAndTheAlbumStillOpens) {
    // Group 2 holds pictures too; Select All marks every slot of the table.
    BoxFixture f(1);
    f.addPicture(5, 30, 5);
    f.addPicture(6, 26, 6);
    f.setGroups({24, 24});
    f.a.curgrp = 1;
    SetAllSel(f.a, 0);
    ASSERT_EQ(f.a.nsel, 4);
    EXPECT_TRUE(dropPagePictures(f.a, appendPosition).moved);
    expectAlbumSound(f.a);
    EXPECT_EQ(box(f.a), QList<int>({101, 1, 2, 3, 4}));
    EXPECT_EQ(f.a.grps[2].gcount, 2);
    EXPECT_EQ(number(f.a.pics[f.a.frames[26]]), 6);
    EXPECT_EQ(number(f.a.pics[f.a.frames[30]]), 5);

    Album back;
    ClearAlbum(back);
    EXPECT_EQ(decodeAlbum(encodeAlbum(f.a), back).outcome, AlbumDecode::Ok);
}

namespace {

// A written album in a temporary folder with a box of three picture files, and a home
// folder of its own.
struct DiskFixture : BoxFixture {
    OwnHome home;
    QTemporaryDir tmp;
    explicit DiskFixture(const QString& dataHome = QStringLiteral("share"))
        : BoxFixture(3), home(dataHome) {
        a.picdir = tmp.filePath(QStringLiteral("TRIP")) + QLatin1Char('/');
        a.albfile = tmp.filePath(QStringLiteral("TRIP.vmb"));
        QDir().mkpath(a.picdir);
        for (int n : {101, 102, 103})
            EXPECT_TRUE(QFile(a.picdir + fileName(n)).open(QIODevice::WriteOnly));
    }
    bool exists(int n) const { return QFile::exists(a.picdir + fileName(n)); }
    BoxDeleteOutcome deleteSelected() {
        return deleteWithFiles(a, [this] { deleteFromBox(a); });
    }
};

} // namespace

// Only names inside the picture folder are deleted: here the last record names the album file.
TEST(PboxDeleteFiles, FilesGoOnlyAfterTheAlbumIsWritten) {
    DiskFixture f;
    f.a.pics[1000].pfile = "../TRIP.vmb";
    f.select({0, 2});
    EXPECT_EQ(selectedBoxFiles(f.a).size(), 1);
    EXPECT_EQ(f.deleteSelected(), BoxDeleteOutcome::Deleted);
    EXPECT_FALSE(f.exists(101));
    EXPECT_TRUE(f.exists(102));
    QFile written(f.a.albfile);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    Fixture back;
    ASSERT_EQ(decodeAlbum(written.readAll(), back.a).outcome, AlbumDecode::Ok);
    EXPECT_EQ(box(back.a), QList<int>({102}));
}

TEST(PboxDeleteFiles, AFileAnotherRecordStillNamesStays) {
    DiskFixture f;
    f.a.pics[1].pfile = Fixture::fileName(102);    // album picture 1 and box picture 2 share a file
    f.a.pics[1000].pfile = Fixture::fileName(101); // so do box pictures 1 and 3
    f.select({0, 1});
    EXPECT_EQ(f.deleteSelected(), BoxDeleteOutcome::Deleted);
    EXPECT_EQ(box(f.a), QList<int>({101}));
    EXPECT_TRUE(f.exists(101));
    EXPECT_TRUE(f.exists(102));
    EXPECT_TRUE(f.ui.shown.isEmpty());

    // The last record naming it takes the file with it.
    f.select({0});
    EXPECT_EQ(f.deleteSelected(), BoxDeleteOutcome::Deleted);
    EXPECT_EQ(f.a.npbox, 0);
    EXPECT_FALSE(f.exists(101));
    EXPECT_TRUE(f.exists(102));
    EXPECT_TRUE(f.ui.shown.isEmpty());
}

TEST(PboxDeleteFiles, AFailedWriteDeletesNothingAndKeepsTheBox) {
    DiskFixture f;
    f.a.albfile = f.tmp.filePath(QStringLiteral("gone/TRIP.vmb"));
    f.select({1});
    EXPECT_EQ(f.deleteSelected(), BoxDeleteOutcome::NotWritten);
    EXPECT_TRUE(f.exists(102));
    EXPECT_EQ(box(f.a), QList<int>({101, 102, 103}));
    ASSERT_EQ(f.ui.shown.size(), 1);
}

TEST(PboxDeleteFiles, DeletedPicturesGoToTheTrashWithTheirInfo) {
    DiskFixture f;
    const OwnHome& home = f.home;
    ASSERT_EQ(QStorageInfo(f.tmp.path()).rootPath(), QStorageInfo(home.home.path()).rootPath());
    f.select({0, 2});
    EXPECT_EQ(f.deleteSelected(), BoxDeleteOutcome::Deleted);
    EXPECT_FALSE(f.exists(101));
    EXPECT_FALSE(f.exists(103));
    for (int n : {101, 103}) {
        EXPECT_TRUE(QFileInfo(home.trashed(Fixture::fileName(n))).isFile()) << n;
        EXPECT_TRUE(QFileInfo::exists(home.home.filePath(QStringLiteral("share/Trash/info/") +
                                                         Fixture::fileName(n) +
                                                         QStringLiteral(".trashinfo"))))
            << n;
    }
    EXPECT_TRUE(f.exists(102));
    EXPECT_TRUE(f.ui.shown.isEmpty());
    EXPECT_TRUE(home.workEmpty());
}

TEST(PboxDeleteFiles, WithoutATrashTheFilesAreErased) {
    // The data folder is a plain file: no Trash can be made on this volume.
    DiskFixture f(QStringLiteral("notafolder"));
    const OwnHome& home = f.home;
    ASSERT_TRUE(QFile(home.home.filePath(QStringLiteral("notafolder"))).open(QIODevice::WriteOnly));
    f.select({1});
    EXPECT_EQ(f.deleteSelected(), BoxDeleteOutcome::Deleted);
    EXPECT_FALSE(f.exists(102));
    EXPECT_TRUE(f.exists(101));
    EXPECT_TRUE(f.ui.shown.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(home.trashed(Fixture::fileName(102))));
    // Not moved into a Trash made somewhere else either.
    EXPECT_TRUE(home.workEmpty());
}

namespace {

// A small volume of its own for the test, as an album on a memory card is: only root may mount
// it, elsewhere `active` stays false and the test skips.
struct OwnVolume {
    QByteArray at;
    bool active = false;
    explicit OwnVolume(const QString& target) : at(QFile::encodeName(target)) {
        QDir().mkpath(target);
        active = ::geteuid() == 0 &&
                 ::mount("none", at.constData(), "tmpfs", 0, "size=1m,mode=1777") == 0;
    }
    ~OwnVolume() {
        if (active)
            ::umount2(at.constData(), MNT_DETACH);
    }
    OwnVolume(const OwnVolume&) = delete;
    OwnVolume& operator=(const OwnVolume&) = delete;
};

} // namespace

// The Trash a volume offers may have been laid out by another user of a shared card or disk;
// the user's own serves even when no Trash can be made in the home folder.
TEST(PboxDeleteFiles, AVolumesTrashThatIsNotTheUsersOwnIsNotUsed) {
    const QString uid = QString::number(::getuid());
    const QString own = QStringLiteral(".Trash-") + uid;
    const QString shared = QStringLiteral(".Trash/") + uid;
    struct Case {
        const char* name;
        std::function<void(const QDir&)> layout;
        bool trashed;                               // into the volume's own .Trash-UID
        QString dataHome = QStringLiteral("share"); // a plain file: no Trash in the home folder
    };
    const QList<Case> cases{
        {"none yet", [](const QDir&) {}, true},
        {"no home Trash", [](const QDir&) {}, true, QStringLiteral("notafolder")},
        {"a link",
         [&](const QDir& v) {
             v.mkdir(QStringLiteral("other"));
             QFile::link(v.filePath(QStringLiteral("other")), v.filePath(own));
         },
         false},
        {"owned by another",
         [&](const QDir& v) {
             v.mkdir(own);
             ASSERT_EQ(::chown(QFile::encodeName(v.filePath(own)).constData(), ::getuid() + 4242,
                               ::getgid()),
                       0);
         },
         false},
        {"writable by all",
         [&](const QDir& v) {
             v.mkdir(own);
             ::chmod(QFile::encodeName(v.filePath(own)).constData(), 0777);
         },
         false},
        {"a link in the shared Trash",
         [&](const QDir& v) {
             v.mkdir(QStringLiteral(".Trash"));
             ::chmod(QFile::encodeName(v.filePath(QStringLiteral(".Trash"))).constData(), 01777);
             v.mkdir(QStringLiteral("other"));
             QFile::link(v.filePath(QStringLiteral("other")), v.filePath(shared));
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OwnHome home(c.dataHome);
        if (c.dataHome == QStringLiteral("notafolder"))
            ASSERT_TRUE(QFile(home.home.filePath(c.dataHome)).open(QIODevice::WriteOnly));
        QTemporaryDir tmp;
        const OwnVolume volume(tmp.filePath(QStringLiteral("card")));
        if (!volume.active)
            GTEST_SKIP() << "mounting needs root";
        const QDir v(tmp.filePath(QStringLiteral("card")));
        c.layout(v);
        const QString pic = v.filePath(QStringLiteral("vmb0001.jpg"));
        QFile file(pic);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("picture");
        file.close();

        EXPECT_TRUE(trashOrRemove(pic));
        EXPECT_FALSE(QFileInfo::exists(pic));
        EXPECT_EQ(QFileInfo::exists(v.filePath(own + QStringLiteral("/files/vmb0001.jpg"))),
                  c.trashed);
        EXPECT_TRUE(QDir(v.filePath(QStringLiteral("other"))).isEmpty());
        EXPECT_TRUE(home.workEmpty());
    }
}

// A picture in the folder may be a link to a file on a card whose Trash is not the user's own:
// that one is erased, but what the card's Trash is like says nothing of the other pictures.
TEST(PboxDeleteFiles, EachPicturesOwnVolumeDecidesWhereItGoes) {
    DiskFixture f;
    const OwnVolume volume(f.tmp.filePath(QStringLiteral("card")));
    if (!volume.active)
        GTEST_SKIP() << "mounting needs root";
    const QDir card(f.tmp.filePath(QStringLiteral("card")));
    const QString own = QStringLiteral(".Trash-") + QString::number(::getuid());
    ASSERT_TRUE(card.mkdir(own));
    ::chmod(QFile::encodeName(card.filePath(own)).constData(), 0777);
    ASSERT_TRUE(QFile(card.filePath(QStringLiteral("onthecard.jpg"))).open(QIODevice::WriteOnly));
    const QString linked = f.a.picdir + Fixture::fileName(101);
    ASSERT_TRUE(QFile::remove(linked));
    ASSERT_TRUE(QFile::link(card.filePath(QStringLiteral("onthecard.jpg")), linked));

    f.select({0, 1});
    EXPECT_EQ(f.deleteSelected(), BoxDeleteOutcome::Deleted);
    EXPECT_FALSE(QFileInfo(linked).isSymLink());
    EXPECT_TRUE(QDir(card.filePath(own)).isEmpty());
    EXPECT_FALSE(f.exists(102));
    EXPECT_TRUE(QFileInfo(f.home.trashed(Fixture::fileName(102))).isFile());
    EXPECT_TRUE(f.home.workEmpty());
}
