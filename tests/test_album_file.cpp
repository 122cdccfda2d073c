// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumfile.h"
#include "albumfixture.h"
#include "config.h"
#include "picfiles.h"
#include "picturefiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <vector>

using namespace vimbrel;
using namespace vimbrel::test;

namespace {

QByteArray padded(const char* s, int n) {
    return QByteArray(s).leftJustified(n, ' ', true);
}

QByteArray picRecord(const char* file, char orient, const char* sdesc, const char* ldesc, int w,
                     int h) {
    return padded(file, 11) + "n" + QByteArray(1, orient) + padded(sdesc, 20) + padded(ldesc, 50) +
           le16(w) + le16(h) + le16(-1);
}
QByteArray grpRecord(const char* name, const char* desc, int first, int last, int count) {
    return padded(name, 30) + padded(desc, 50) + le16(first) + le16(last) + le16(count);
}

// An album folder in a temporary directory: TRIP.vmb and TRIP/.
struct AlbumOnDisk : Fixture {
    QTemporaryDir tmp;
    QString file = tmp.filePath(QStringLiteral("TRIP.vmb"));
    QString picdir = tmp.filePath(QStringLiteral("TRIP")) + QLatin1Char('/');

    AlbumOnDisk() {
        QDir().mkpath(picdir);
        a.cfgfile = tmp.filePath(QStringLiteral("vimbra.cfg"));
        a.cfglist.append(AlbumList::other, AlbumList::other);
        a.albfile = file;
        a.albtitle = QStringLiteral("TRIP.vmb");
        a.volumeStatus = [](const QString&) {
            return VolumeStatus{true, 1 << 20, false, true};
        };
    }

    // Two pictures in frames 2 and 30, one in the Photo Box, groups of 24 and 26 frames.
    QByteArray sampleBytes(const QByteArray& dir) const {
        QByteArray b = "VMB" + QByteArray("v 01.00") + padded("TRIP", 8) +
                       padded("Summer at the sea", 40) + le16(dir.size()) + dir;
        b += le16(2) + le16(1) + le16(50) + le16(2) + le16(0) + le16(0) + le16(0);
        b += picRecord("vmb0001.jpg", 'L', "Beach", "The long beach at noon", 640, 480);
        b += picRecord("vmb0002.gif", 'P', "", "", 300, 200);
        b += picRecord("vmb0007.bmp", 'L', "Aside", "", 100, 50);
        b += grpRecord("Day one", "Arrival", 1, 24, 1);
        b += grpRecord("Day two", "", 25, 50, 1);
        for (int F = 1; F <= 50; ++F)
            b += le16(F == 2 ? 1 : F == 30 ? 2 : -1);
        return b;
    }
};

} // namespace

TEST(AlbumFileBytes, FreshAlbumIsExactlyTheDocumentedLayout) {
    Fixture f;
    f.a.albname = QStringLiteral("TRIP");
    f.a.picdir = QStringLiteral("/home/u/TRIP/");
    const QByteArray got = encodeAlbum(f.a);

    const QByteArray dir = "/home/u/TRIP/";
    QByteArray want = "VMB"                    // magic
                      "v 01.00"                // version
                      "TRIP    "               // albname, 8
                      + QByteArray(40, ' ')    // albdesc, 40
                      + le16(dir.size()) + dir // L, picdir
                      + le16(0) + le16(0)      // npics, npbox
                      + le16(1000) + le16(1)   // nframes, ngrps
                      + QByteArray(6, '\0')    // reserved
                      + grpRecord("Group Name", "Group Description", 1, 1000, 0);
    for (int F = 1; F <= 1000; ++F)
        want += le16(-1);
    EXPECT_EQ(got.toHex(), want.toHex());
}

TEST(AlbumFileBytes, ReadThenWriteGivesTheSameBytes) {
    AlbumOnDisk d;
    const QByteArray bytes = d.sampleBytes(QFile::encodeName(d.picdir));
    writeFile(d.file, bytes);
    ReadAlbum(d.a);
    ASSERT_TRUE(d.ui.shown.isEmpty()) << d.ui.shown.value(0).text.toStdString();
    d.a.pics[1].psel = -1; // stored as read; SetAllSel(-1) gave every slot -1 already
    ASSERT_TRUE(WriteAlbum(d.a));
    EXPECT_EQ(readFile(d.file).toHex(), bytes.toHex());
}

TEST(ReadAlbum, FillsTheModelAndTellsTheWindowsInOrder) {
    AlbumOnDisk d;
    writeFile(d.file, d.sampleBytes("C:\\Old\\Place\\TRIP\\"));
    for (const char* n : {"vmb0001.jpg", "VMB0002.GIF", "vmb0007.bmp", "vmb0000.jpg", "vmb1001.jpg",
                          "vmb01.jpg", "vmb0009.png"})
        writeFile(d.picdir + QLatin1String(n), "x");
    QDir().mkpath(d.picdir + QStringLiteral("vmb0011.jpg")); // a folder counts as a name too

    ReadAlbum(d.a);
    Album& a = d.a;
    ASSERT_TRUE(d.ui.shown.isEmpty());
    EXPECT_EQ(a.picdir, d.picdir); // the file's own place, not the stored one
    EXPECT_EQ(a.npbox, 1);
    EXPECT_EQ(a.pics[1000].pfile, "vmb0007.bmp");
    EXPECT_EQ(a.frames[30], 2);
    QList<int> used;
    for (int n = 1; n <= 1000; ++n)
        if (a.fileused[n])
            used.append(n);
    EXPECT_EQ(used, QList<int>({1, 2, 7, 11}));

    QStringList calls = d.views.calls;
    calls.removeAll(QStringLiteral("frsel 0 off"));
    EXPECT_EQ(calls.mid(2, 4),
              QStringList({QStringLiteral("LoadFS 0"), QStringLiteral("fs_scroll 1 1"),
                           QStringLiteral("labels 1 24 Group: Day one   - Arrival"),
                           QStringLiteral("phpgname=Summer at the sea")}));
    EXPECT_EQ(calls.last(), QStringLiteral("Set_it 101"));
}

// Each damage is refused with a message and an empty model; so are other files and newer versions.
TEST(ReadAlbum, RefusesDamagedFiles) {
    struct Damage {
        const char* what;
        qsizetype at; // -1: appended, or with no bytes the file is cut inside the header
        QByteArray bytes;
    };
    const int counts = 3 + 7 + 8 + 40 + 2 + 1; // offset of npics with the 1-byte folder "x"
    const int pics = counts + 14, grps = pics + 3 * 89, frames = grps + 2 * 86;
    const std::vector<Damage> damages = {
        {"newer version", 3, "v 01.01"},
        {"other magic", 0, "VMX"},
        {"folder length negative", counts - 3, le16(-5)},
        {"folder length past the end", counts - 3, le16(30000)},
        {"negative pictures", counts, le16(-1)},
        {"too many pictures", counts + 2, le16(999)},
        {"1001 frames", counts + 4, le16(1001)},
        {"43 groups", counts + 6, le16(43)},
        {"picture in two frames", frames, le16(1)},
        {"frame beyond the pictures", frames + 2, le16(3)},
        {"gap between groups", grps + 86 + 80, le16(26)},
        {"groups end early", grps + 86 + 82, le16(49)},
        {"path in a file name", pics, "../../x.jpg"},
        {"Photo Box name", pics + 2 * 89, "vmb0007/bmp"},
        {"cut inside the header", -1, QByteArray()},
        {"larger than any album", -1, QByteArray(maxAlbumBytes, 'x')},
    };
    for (const Damage& dm : damages) {
        AlbumOnDisk d;
        QByteArray b = d.sampleBytes("x");
        if (dm.at >= 0)
            b.replace(dm.at, dm.bytes.size(), dm.bytes);
        else if (dm.bytes.isEmpty())
            b.truncate(40);
        else
            b.append(dm.bytes);
        writeFile(d.file, b);
        ReadAlbum(d.a);
        ASSERT_EQ(d.ui.shown.size(), 1) << dm.what;
        EXPECT_TRUE(d.ui.shown[0].title.startsWith(QStringLiteral("Open - "))) << dm.what;
        EXPECT_TRUE(d.a.albfile.isEmpty()) << dm.what;
        EXPECT_EQ(d.a.npics + d.a.npbox, 0) << dm.what;
        EXPECT_EQ(d.a.frames[2], -1) << dm.what;
        EXPECT_EQ(d.ui.busyDepth, 0) << dm.what;
    }
}

TEST(DecodeAlbum, EveryPrefixOfAFileIsRefusedWithoutHarm) {
    AlbumOnDisk d;
    const QByteArray full = d.sampleBytes("C:\\A\\TRIP\\");
    for (qsizetype n = 0; n < full.size(); ++n) {
        Fixture f;
        const AlbumDecode r = decodeAlbum(QByteArrayView(full).first(n), f.a);
        ASSERT_NE(r.outcome, AlbumDecode::Ok) << n;
    }
}

TEST(WriteAlbum, SavesAndAFailedWriteKeepsThePreviousFileAndTheChanges) {
    AlbumOnDisk d;
    d.a.cfglist.insertFirst(QStringLiteral("OLD.vmb"), QStringLiteral("/x/OLD.vmb"));
    d.a.picdir = d.picdir;
    d.a.filenew[3] = -1;
    d.a.changed = 'y';
    ASSERT_TRUE(WriteAlbum(d.a)); // about 2 KB
    EXPECT_EQ(d.a.changed, 'n');
    EXPECT_EQ(d.a.filenew[3], 0);
    EXPECT_EQ(d.a.cfglist.name(0), QStringLiteral("TRIP.vmb"));
    const QByteArray before = readFile(d.file);
    EXPECT_EQ(before, encodeAlbum(d.a));

    for (int i = 1; i <= 40; ++i) {
        d.a.pics[i].pfile = QStringLiteral("vmb%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        d.a.frames[i] = static_cast<Integer>(i);
    }
    d.a.npics = 40;
    d.a.filenew[5] = -1;
    d.a.changed = 'y';
    // The disk "fills up" after 3000 bytes: the new file is about 5.6 KB.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 3000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteAlbum(d.a);
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(written);
    ASSERT_EQ(d.ui.shown.size(), 1);
    EXPECT_EQ(d.a.changed, 'y');
    EXPECT_EQ(d.a.filenew[5], -1);
    EXPECT_EQ(readFile(d.file), before);
    EXPECT_EQ(QDir(d.tmp.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no litter
}

TEST(FreeSpace, MoreThan256WritableBytesMakeTheAlbumChangeable) {
    Fixture f;
    f.a.albfile = QStringLiteral("/albums/TRIP.vmb");
    f.a.picdir = QStringLiteral("/albums/TRIP/");
    VolumeStatus st{true, 257, false, true};
    f.a.volumeStatus = [&](const QString&) {
        return st;
    };
    EXPECT_EQ(freeSpaceTest(f.a), 'Y');
    st.available = 256;
    EXPECT_EQ(freeSpaceTest(f.a), 'N');
    st = {true, 257, true, true}; // read-only
    EXPECT_EQ(freeSpaceTest(f.a), 'N');
}

// An album that does not open says what is missing and is not remembered; one that opens is.
TEST(ReadAlbum, OnlyAnAlbumThatOpensIsRemembered) {
    AlbumOnDisk whole, noFolder;
    for (AlbumOnDisk* d : {&whole, &noFolder})
        writeFile(d->file, d->sampleBytes("x"));
    QDir(noFolder.picdir).removeRecursively();
    ReadAlbum(whole.a);
    ReadAlbum(noFolder.a);
    EXPECT_GE(whole.a.cfglist.rowOf(whole.file), 0);
    EXPECT_FALSE(whole.a.albfile.isEmpty());
    EXPECT_LT(noFolder.a.cfglist.rowOf(noFolder.file), 0);
    EXPECT_TRUE(noFolder.a.albfile.isEmpty());
    ASSERT_EQ(noFolder.ui.shown.size(), 1);
    const QString text = noFolder.ui.shown[0].text;
    EXPECT_TRUE(
        text.contains(QStringLiteral("Folder: ") + noFolder.picdir.chopped(1) + QLatin1Char('\r')))
        << qPrintable(text);
    EXPECT_TRUE(text.endsWith(QStringLiteral("File: ") + noFolder.file));
}
