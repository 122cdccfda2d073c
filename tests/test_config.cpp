// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumfixture.h"
#include "config.h"
#include "picturefiles.h"
#include "startup.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vimbrel;
using namespace vimbrel::test;

namespace {

struct ConfigFixture : Fixture {
    QTemporaryDir tmp;
    ConfigFixture() {
        a.cfgfile = tmp.filePath(QStringLiteral("vimbra.cfg"));
        a.pgsize = 1;
        a.descon = 'n';
    }
    // `n` albums A1.vmb .. An.vmb (A1 newest) and the "Other ..." row.
    void remember(int n) {
        for (int i = 1; i <= n; ++i)
            a.cfglist.append(QStringLiteral("A%1.vmb").arg(i), QStringLiteral("/p/A%1.vmb").arg(i));
        a.cfglist.append(AlbumList::other, AlbumList::other);
    }
    void open(const QString& title) {
        a.albtitle = title;
        a.albfile = QStringLiteral("/p/") + title;
    }
};

} // namespace

TEST(ConfigBytes, OneAlbumExample) {
    Fixture f;
    f.a.cfglist.append(QStringLiteral("A.vmb"), QStringLiteral("/B/A.vmb"));
    f.a.cfglist.append(AlbumList::other, AlbumList::other);
    f.a.pgsize = 1;
    f.a.descon = 'n';
    f.a.carddir = QStringLiteral("/media/card/");
    const QByteArray want = le16(1) + le16(5) + "A.vmb" + le16(8) + "/B/A.vmb" // entry
                            + le16(1) + "n"                                    // size, descon
                            + le16(12) + "/media/card/";                       // card folder
    EXPECT_EQ(encodeConfig(f.a).toHex(), want.toHex());

    // Paths are UTF-8 both ways.
    const QString path = QStringLiteral("/home/j\u00fcrgen/\u5199\u771f/Reise.vmb");
    f.a.cfglist.insertFirst(QStringLiteral("Reise.vmb"), path);
    Fixture g;
    decodeConfig(encodeConfig(f.a), g.a);
    EXPECT_EQ(g.a.cfglist.file(0), path);
}

TEST(ConfigBytes, DamagedFilesKeepWhatWasReadAndDefaultsForTheRest) {
    Fixture f;
    f.a.cfglist.append(QStringLiteral("A.vmb"), QStringLiteral("/B/A.vmb"));
    f.a.cfglist.append(QStringLiteral("C.vmb"), QStringLiteral("/D/C.vmb"));
    f.a.pgsize = 3;
    f.a.carddir = QStringLiteral("/media/x/");
    const QByteArray good = encodeConfig(f.a);

    // Every cut keeps whole entries only and never a setting that was not fully there.
    for (qsizetype n = 0; n <= good.size(); ++n) {
        Fixture g;
        g.a.pgsize = 0;
        decodeConfig(QByteArrayView(good).first(n), g.a);
        for (int i = 0; i < g.a.cfglist.count(); ++i)
            EXPECT_TRUE(g.a.cfglist.file(i).endsWith(QStringLiteral(".vmb"))) << n;
        EXPECT_TRUE(g.a.pgsize == 0 || g.a.pgsize == 3) << n;
        EXPECT_TRUE(g.a.carddir.isEmpty() || g.a.carddir == QStringLiteral("/media/x/")) << n;
    }
    const QByteArray bad[] = {le16(11) + good.mid(2), le16(-1) + good.mid(2),
                              le16(1) + le16(32000) + "A.vmb", le16(1) + le16(-4) + "A.vmb"};
    for (const QByteArray& b : bad) {
        Fixture g;
        decodeConfig(b, g.a);
        EXPECT_EQ(g.a.cfglist.count(), 0);
        EXPECT_EQ(g.a.pgsize, 0);
    }
}

TEST(SaveCfg, OpenedAlbumGoesFirstTheEleventhFallsOffAndOtherStays) {
    ConfigFixture f;
    f.remember(10);
    QSignalSpy selected(&f.a.cfglist, &AlbumList::rowSelected);
    f.open(QStringLiteral("A1.vmb"));
    SaveCfg(f.a, -1);
    EXPECT_FALSE(QFileInfo::exists(f.a.cfgfile)); // already first: not written again
    f.open(QStringLiteral("A3.vmb"));
    SaveCfg(f.a, -1);
    EXPECT_EQ(f.a.cfglist.name(0), QStringLiteral("A3.vmb"));
    EXPECT_EQ(f.a.cfglist.name(3), QStringLiteral("A4.vmb"));
    ASSERT_FALSE(selected.isEmpty());
    EXPECT_EQ(selected.last()[0].toInt(), 0);
    f.open(QStringLiteral("NEW.vmb"));
    SaveCfg(f.a, -1);
    EXPECT_EQ(f.a.cfglist.count(), 11);
    EXPECT_EQ(f.a.cfglist.name(9), QStringLiteral("A9.vmb"));
    EXPECT_EQ(readFile(f.a.cfgfile).left(2), le16(10));

    SaveCfg(f.a, 10); // "Other ..." is never forgotten
    EXPECT_EQ(f.a.cfglist.count(), 11);
    SaveCfg(f.a, 0);
    EXPECT_EQ(f.a.cfglist.name(0), QStringLiteral("A3.vmb"));
    Fixture g;
    decodeConfig(readFile(f.a.cfgfile), g.a);
    EXPECT_EQ(g.a.cfglist.count(), 9);
    EXPECT_EQ(g.a.cfglist.name(0), QStringLiteral("A3.vmb"));
}

class StartupTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    Fixture f;
    StartupPlaces places() const {
        StartupPlaces p;
        p.configHome = tmp.filePath(QStringLiteral("config"));
        p.cacheHome = tmp.filePath(QStringLiteral("cache"));
        p.appDir = tmp.filePath(QStringLiteral("bin"));
        return p;
    }
};

TEST_F(StartupTest, FirstStartMakesTheFoldersAndRemembersTheLastRemovableVolumeAsCard) {
    const QList<MountedVolume> vols = {
        {QStringLiteral("/"), QStringLiteral("/dev/sda1"), false},
        {QStringLiteral("/media/e/"), QStringLiteral("/dev/sdb1"), true},
        {QStringLiteral("/media/g/"), QStringLiteral("/dev/sdc1"), true},
        {QStringLiteral("/home/"), QStringLiteral("/dev/sda2"), false}};
    EXPECT_FALSE(InitStore(f.a, places(), vols, QString()));
    EXPECT_EQ(f.a.cfgfile, tmp.filePath(QStringLiteral("config/vimbrel/vimbra.cfg")));
    EXPECT_TRUE(QFileInfo(f.a.maildir).isDir());
    EXPECT_EQ(f.a.carddir, QStringLiteral("/media/g/"));

    Fixture h; // a remembered card folder is kept
    InitStore(h.a, places(), {{QStringLiteral("/media/z/"), QString(), true}}, QString());
    EXPECT_EQ(h.a.carddir, QStringLiteral("/media/g/"));
}

TEST_F(StartupTest, AlbumOnTheCommandLine) {
    const QString path = tmp.filePath(QStringLiteral("Albums/TRIP.vmb"));
    EXPECT_TRUE(InitStore(f.a, places(), {}, path));
    EXPECT_EQ(f.a.albfile, path);
    EXPECT_EQ(f.a.cfglist.name(0), QStringLiteral("TRIP.vmb"));

    const auto quoted = albumFromArgument(QLatin1Char('"') + path + QLatin1Char('"'));
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->albfile, path);
    EXPECT_FALSE(albumFromArgument(tmp.filePath(QStringLiteral("TRIP.VMB"))));
    const auto relative = albumFromArgument(QStringLiteral("T.vmb"));
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->albfile, QDir::current().absoluteFilePath(QStringLiteral("T.vmb")));
}

TEST_F(StartupTest, OnlyOldLeftoversOfAKilledConfigurationWriteGoAtStart) {
    const QString dir = tmp.filePath(QStringLiteral("config/vimbrel/"));
    QDir().mkpath(dir);
    const QDateTime old = QDateTime::currentDateTime().addSecs(-120);
    // The program's own temporary names go once old; a user's backups never, whatever their
    // suffix looks like.
    for (const char* n :
         {".vimbra.cfg.vimbrel-Xy12Zq", ".vimbra.cfg.vimbrel-fresh1", "vimbra.cfg.backup",
          "vimbra.cfg.240101", "vimbra.cfg.Xy12Zq", ".other.vimbrel-Xy12Zq"}) {
        QFile file(dir + QLatin1String(n));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // A younger one may be the write of another instance running without the lock.
        if (n != std::string(".vimbra.cfg.vimbrel-fresh1"))
            ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    InitStore(f.a, places(), {}, QString());
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({QStringLiteral(".other.vimbrel-Xy12Zq"),
                           QStringLiteral(".vimbra.cfg.vimbrel-fresh1"),
                           QStringLiteral("vimbra.cfg.240101"), QStringLiteral("vimbra.cfg.Xy12Zq"),
                           QStringLiteral("vimbra.cfg.backup")}));
}
