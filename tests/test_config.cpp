#include "albumfixture.h"
#include "config.h"
#include "startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace vimbrel;
using vimbrel::test::Fixture;

namespace {

QByteArray le16(int v) {
    char b[2];
    qToLittleEndian<qint16>(static_cast<qint16>(v), b);
    return QByteArray(b, 2);
}
QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

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
        a.albfile = QStringLiteral("/q/") + title;
    }
    QStringList names() const {
        QStringList out;
        for (int i = 0; i < a.cfglist.count(); ++i)
            out.append(a.cfglist.name(i));
        return out;
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
    EXPECT_EQ(g.a.carddir, QStringLiteral("/media/card/"));
}

TEST(ConfigBytes, DamagedFilesKeepWhatWasReadAndDefaultsForTheRest) {
    Fixture f;
    f.a.cfglist.append(QStringLiteral("A.vmb"), QStringLiteral("/B/A.vmb"));
    f.a.cfglist.append(QStringLiteral("C.vmb"), QStringLiteral("/D/C.vmb"));
    f.a.pgsize = 3;
    f.a.descon = 'y';
    f.a.carddir = QStringLiteral("/media/x/");
    const QByteArray good = encodeConfig(f.a);

    // Every cut keeps whole entries only and never a setting that was not fully there.
    for (qsizetype n = 0; n <= good.size(); ++n) {
        Fixture g;
        g.a.pgsize = 0;
        g.a.descon = ' ';
        decodeConfig(QByteArrayView(good).first(n), g.a);
        EXPECT_LE(g.a.cfglist.count(), 2);
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
    QRandomGenerator rng(7);
    for (int i = 0; i < 2000; ++i) {
        QByteArray junk(static_cast<int>(rng.bounded(64)), '\0');
        for (char& c : junk)
            c = static_cast<char>(rng.bounded(256));
        Fixture g;
        decodeConfig(junk, g.a);
        EXPECT_LE(g.a.cfglist.count(), 10);
    }
}

TEST(SaveCfg, OpeningMovesTheAlbumToTheTop) {
    ConfigFixture f;
    f.remember(3);
    QSignalSpy selected(&f.a.cfglist, &AlbumList::rowSelected);
    f.open(QStringLiteral("A3.vmb"));
    SaveCfg(f.a, -1);
    EXPECT_EQ(f.names(), QStringList({QStringLiteral("A3.vmb"), QStringLiteral("A1.vmb"),
                                      QStringLiteral("A2.vmb"), AlbumList::other}));
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0][0].toInt(), 0);

    Fixture g;
    decodeConfig(readFile(f.a.cfgfile), g.a);
    EXPECT_EQ(g.a.cfglist.name(0), QStringLiteral("A3.vmb"));
}

TEST(SaveCfg, AlreadyFirstIsNotWrittenAgain) {
    ConfigFixture f;
    f.remember(2);
    f.open(QStringLiteral("A1.vmb"));
    SaveCfg(f.a, -1);
    EXPECT_FALSE(QFileInfo::exists(f.a.cfgfile));
    EXPECT_EQ(f.a.cfglist.file(0), QStringLiteral("/p/A1.vmb")); // the row's path is kept
}

TEST(SaveCfg, AnEleventhAlbumPushesOutTheOldest) {
    ConfigFixture f;
    f.remember(10);
    f.open(QStringLiteral("NEW.vmb"));
    SaveCfg(f.a, -1);
    EXPECT_EQ(f.a.cfglist.count(), 11);
    EXPECT_EQ(f.a.cfglist.name(9), QStringLiteral("A9.vmb"));
    EXPECT_EQ(f.a.cfglist.name(10), AlbumList::other);
    EXPECT_EQ(readFile(f.a.cfgfile).left(2), le16(10));
}

TEST(SaveCfg, ForgettingARowButNeverOther) {
    ConfigFixture f;
    f.remember(2);
    SaveCfg(f.a, 2); // "Other ..."
    EXPECT_EQ(f.a.cfglist.count(), 3);
    EXPECT_FALSE(QFileInfo::exists(f.a.cfgfile));
    EXPECT_EQ(f.a.cfglist.selectedRow(), -1);

    SaveCfg(f.a, 0);
    EXPECT_EQ(f.names(), QStringList({QStringLiteral("A2.vmb"), AlbumList::other}));
    EXPECT_EQ(readFile(f.a.cfgfile).left(2), le16(1));

    f.a.pgsize = 2;
    SaveCfg(f.a, -9);
    Fixture g;
    decodeConfig(readFile(f.a.cfgfile), g.a);
    EXPECT_EQ(g.a.pgsize, 2);
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

TEST_F(StartupTest, FirstStartUsesTheDefaultsAndMakesTheFolders) {
    EXPECT_FALSE(InitStore(f.a, places(), {}, QString()));
    EXPECT_EQ(f.a.cfgfile, tmp.filePath(QStringLiteral("config/vimbrel/vimbra.cfg")));
    EXPECT_EQ(f.a.cfglist.count(), 1);
    EXPECT_TRUE(QFileInfo(f.a.maildir).isDir());
    EXPECT_FALSE(QFileInfo::exists(f.a.cfgfile)); // nothing to remember yet
}

TEST_F(StartupTest, WindirPlacesTheConfigurationAndBadSizesBecomeSmall) {
    StartupPlaces p = places();
    p.windir = tmp.filePath(QStringLiteral("win"));
    for (int size : {0, 4, -1, 3}) {
        QDir().mkpath(*p.windir);
        writeFile(*p.windir + QStringLiteral("/vimbra.cfg"), le16(0) + le16(size) + "y" + le16(0));
        Fixture g;
        InitStore(g.a, p, {}, QString());
        EXPECT_EQ(g.a.cfgfile, *p.windir + QStringLiteral("/vimbra.cfg"));
        EXPECT_EQ(g.a.pgsize, size == 3 ? 3 : 1) << size;
        EXPECT_EQ(g.a.descon, 'y');
    }
}

TEST_F(StartupTest, TheLastRemovableVolumeBecomesTheCardAndIsRemembered) {
    const QList<MountedVolume> vols = {
        {QStringLiteral("/"), QStringLiteral("/dev/sda1"), false},
        {QStringLiteral("/media/e/"), QStringLiteral("/dev/sdb1"), true},
        {QStringLiteral("/home/"), QStringLiteral("/dev/sda2"), false},
        {QStringLiteral("/media/g/"), QStringLiteral("/dev/sdc1"), true}};
    EXPECT_EQ(FindCardDrive(vols), QStringLiteral("/media/g/"));
    InitStore(f.a, places(), vols, QString());
    EXPECT_EQ(f.a.carddir, QStringLiteral("/media/g/"));
    Fixture g;
    decodeConfig(readFile(f.a.cfgfile), g.a);
    EXPECT_EQ(g.a.carddir, QStringLiteral("/media/g/"));

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
    EXPECT_FALSE(albumFromArgument(tmp.filePath(QStringLiteral("TRIP.vmbx"))));
    EXPECT_FALSE(albumFromArgument(QString()));
    const auto relative = albumFromArgument(QStringLiteral("T.vmb"));
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->albfile, QDir::current().absoluteFilePath(QStringLiteral("T.vmb")));
}
