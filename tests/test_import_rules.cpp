// The import without its window: names, numbers, capacity, copying, the verified delete of
// sources, measuring, and what a run that stops part-way leaves behind.

#include "albumfile.h"
#include "albumfixture.h"
#include "importrules.h"
#include "importrun.h"
#include "picfiles.h"
#include "picturefiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace vimbrel;
using namespace vimbrel::test;

namespace {

// The Photo Box's append, as far as the import needs it, and the order of events.
struct RecordingHub : WindowHub {
    Album* a = nullptr;
    QStringList calls;
    void AddToFS(int pos) override {
        QStringList names;
        for (int i = 1; i <= a->nimps; ++i)
            names.append(a->imps[i].ifile.trimmed());
        calls.append(QStringLiteral("AddToFS %1 ").arg(pos) + names.join(QLatin1Char(',')));
        const int n = a->nimps;
        a->npbox = static_cast<Integer>(a->npbox + n);
        a->pbfirst = static_cast<Integer>(1001 - a->npbox);
        for (int s = a->pbfirst; s <= 1000 - n; ++s)
            a->pics[s] = a->pics[s + n];
        for (int i = 1; i <= n; ++i) {
            PicRec& p = a->pics[1000 - n + i];
            p = PicRec();
            p.pfile = a->imps[i].ifile.trimmed();
            p.porient = "L";
            p.pwidth = a->imps[i].iwidth;
            p.pheight = a->imps[i].iheight;
        }
    }
};

// Notes, with every message, whether the album file was already on disk.
struct WitnessUi : ScriptedUi {
    QString albfile;
    QList<bool> albumWritten;
    MsgAnswer message(const QString& title, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override {
        albumWritten.append(QFile::exists(albfile));
        return ScriptedUi::message(title, text, icon, buttons);
    }
};

struct ImportTest : ::testing::Test {
    QTemporaryDir tmp;
    Fixture f;
    Album& a = f.a;
    WitnessUi ui;
    RecordingHub hub;
    PictureLibrary pictures{tmp.filePath(QStringLiteral("thumbs")), 16 << 20};
    QString card = tmp.filePath(QStringLiteral("card/"));

    void SetUp() override {
        a.ui = &ui;
        hub.a = &a;
        a.albname = QStringLiteral("TRIP");
        a.albtitle = QStringLiteral("TRIP.vmb");
        a.albfile = tmp.filePath(QStringLiteral("TRIP.vmb"));
        a.picdir = tmp.filePath(QStringLiteral("TRIP/"));
        a.cfgfile = tmp.filePath(QStringLiteral("vimbra.cfg"));
        a.cfglist.append(AlbumList::other, AlbumList::other);
        a.canwrite = 'Y';
        ui.albfile = a.albfile;
        QDir().mkpath(a.picdir);
        QDir().mkpath(card);
    }

    void jpeg(const QString& name, int w = 64, int h = 48, int orientation = 0) {
        writeFile(card + name, jpegBytes(markedPicture(w, h), {90, false, orientation}));
    }
    void bytes(const QString& name, const QByteArray& b) { writeFile(card + name, b); }
    QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList pictureFolder() { return QDir(a.picdir).entryList(QDir::Files, QDir::Name); }
    // Runs to the end, as the window does for a few files.
    std::unique_ptr<ImportRun> import(const QStringList& names, bool del = false) {
        auto run = std::make_unique<ImportRun>(a, hub, pictures, card, names, del);
        while (run->next()) {
        }
        run->finish();
        return run;
    }
};

} // namespace

TEST_F(ImportTest, CopiesGetLowerCaseElevenCharacterNamesThatTheListingFinds) {
    EXPECT_EQ(importExtension(QStringLiteral("IMG_1.JPG")), QStringLiteral("jpg"));
    EXPECT_EQ(importExtension(QStringLiteral("a.b.Jpeg")), QStringLiteral("jpg"));
    EXPECT_EQ(importExtension(QStringLiteral("x.GIF")), QStringLiteral("gif"));
    EXPECT_EQ(importExtension(QStringLiteral("notes.png")), QString());
    EXPECT_EQ(importExtension(QStringLiteral("jpeg")), QString());

    jpeg(QStringLiteral("A.JPG"));
    jpeg(QStringLiteral("b.jpeg"));
    bytes(QStringLiteral("C.Gif"), gifBytes(markedPicture(30, 20)));
    bytes(QStringLiteral("d.BMP"), bmpBytes(markedPicture(30, 20), 24));
    const auto run = import({QStringLiteral("A.JPG"), QStringLiteral("b.jpeg"),
                             QStringLiteral("C.Gif"), QStringLiteral("d.BMP")});
    EXPECT_EQ(pictureFolder(),
              QStringList({QStringLiteral("vmb0001.jpg"), QStringLiteral("vmb0002.jpg"),
                           QStringLiteral("vmb0003.gif"), QStringLiteral("vmb0004.bmp")}));
    EXPECT_EQ(read(a.picdir + QStringLiteral("vmb0003.gif")), read(card + QStringLiteral("C.Gif")));
    EXPECT_TRUE(ui.shown.isEmpty());

    // A fresh listing of the folder counts every copy as used.
    Fixture fresh;
    fresh.a.picdir = a.picdir;
    ASSERT_TRUE(rebuildFileUsed(fresh.a, nullptr));
    EXPECT_EQ(GetFileNum(fresh.a), 5);
}

TEST_F(ImportTest, NumbersReuseFreedOnesAndSkipFilesAlreadyOnDisk) {
    a.fileused[1] = -1; // 2 was freed when the album was read
    a.fileused[3] = -1;
    writeFile(a.picdir + QStringLiteral("vmb0004.GIF"), "someone else's");
    for (const char* n : {"p.jpg", "q.jpg", "r.jpg"})
        jpeg(QLatin1String(n));
    import({QStringLiteral("p.jpg"), QStringLiteral("q.jpg"), QStringLiteral("r.jpg")});
    EXPECT_EQ(hub.calls,
              QStringList(QStringLiteral("AddToFS -1 vmb0002.jpg,vmb0005.jpg,vmb0006.jpg")));
    EXPECT_EQ(read(a.picdir + QStringLiteral("vmb0004.GIF")), QByteArray("someone else's"));
    EXPECT_EQ(a.fileused[4], -1);
    EXPECT_EQ(a.filenew[2], 0); // cleared again by the album write
    EXPECT_EQ(a.changed, 'n');

    // An existing target is never overwritten, whoever made it.
    const QString taken = a.picdir + QStringLiteral("vmb0007.jpg");
    writeFile(taken, "mine");
    EXPECT_EQ(copyPicture(card + QStringLiteral("p.jpg"), taken).kind, CopyOutcome::Exists);
    EXPECT_EQ(read(taken), QByteArray("mine"));

    for (int n = 1; n <= 1000; ++n)
        a.fileused[n] = -1;
    EXPECT_EQ(takeFileNum(a, {}), 0);
}

TEST_F(ImportTest, CapacityCountsAlbumAndPhotoBoxAndNamesTheLimitWithItsBlank) {
    a.npics = 990;
    a.npbox = 8;
    EXPECT_TRUE(capacityAllows(a, 2));
    EXPECT_FALSE(capacityAllows(a, 3));
    EXPECT_EQ(capacityText(1000),
              QStringLiteral("Can Not Add Selected Images.\rAlbum Can Only Have  1000 Images."));
}

TEST_F(ImportTest, UnreadablePicturesAreSkippedAndTheRestImported) {
    jpeg(QStringLiteral("good.jpg"), 640, 480);
    QByteArray cut = jpegBytes(markedPicture(200, 150));
    cut.chop(cut.size() / 2);
    bytes(QStringLiteral("cut.jpg"), cut);
    bytes(QStringLiteral("text.jpg"), "not a picture at all");
    // Sizes are 16-bit in the album: a wider picture cannot be stored.
    QImage wide(32768, 8, QImage::Format_RGB32);
    wide.fill(Qt::gray);
    bytes(QStringLiteral("wide.jpg"), jpegBytes(wide));
    jpeg(QStringLiteral("upright.jpg"), 80, 60, 6); // stored landscape, shown portrait

    const auto run =
        import({QStringLiteral("cut.jpg"), QStringLiteral("good.jpg"), QStringLiteral("text.jpg"),
                QStringLiteral("wide.jpg"), QStringLiteral("upright.jpg")});
    EXPECT_EQ(run->failedNames(),
              QStringList({QStringLiteral("cut.jpg"), QStringLiteral("text.jpg"),
                           QStringLiteral("wide.jpg")}));
    ASSERT_EQ(ui.shown.size(), 3);
    for (const auto& m : ui.shown) {
        EXPECT_EQ(m.title, QStringLiteral("Import Image - Load Error"));
        EXPECT_EQ(m.icon, MsgIcon::Information);
    }
    EXPECT_TRUE(ui.shown[0].text.endsWith(QStringLiteral("\rFILE: cut.jpg")));
    EXPECT_TRUE(ui.shown[2].text.contains(QStringLiteral("32767")));
    // A skipped file takes no number and leaves no file.
    EXPECT_EQ(pictureFolder(),
              QStringList({QStringLiteral("vmb0001.jpg"), QStringLiteral("vmb0002.jpg")}));
    EXPECT_EQ(a.pics[999].pwidth, 640);
    EXPECT_EQ(a.pics[1000].pwidth, 60);
    EXPECT_EQ(a.pics[1000].pheight, 80);
    // The measuring decode filled the disk tier for the album's own copy.
    QSize full;
    EXPECT_TRUE(
        pictures.disk().fullSize(PictureSource::of(a.picdir + a.pics[999].pfile.trimmed()), &full));
    EXPECT_EQ(full, QSize(640, 480));
}

TEST_F(ImportTest, NothingReadableMeansNoHandOverAndNoWrite) {
    bytes(QStringLiteral("a.gif"), "GIF89a broken");
    const auto run = import({QStringLiteral("a.gif"), QStringLiteral("missing.bmp")});
    EXPECT_EQ(run->copied(), 0);
    EXPECT_EQ(run->stop(), ImportRun::Stop::None);
    EXPECT_TRUE(hub.calls.isEmpty());
    EXPECT_FALSE(QFile::exists(a.albfile));
    EXPECT_EQ(ui.shown.size(), 2);
    EXPECT_EQ(a.fileused[1], 0);
}

TEST_F(ImportTest, SourcesGoOnlyAfterAVerifiedCopyIsListedInAWrittenAlbum) {
    jpeg(QStringLiteral("one.jpg"));
    jpeg(QStringLiteral("two.jpg"));
    const QByteArray original = read(card + QStringLiteral("one.jpg"));
    import({QStringLiteral("one.jpg"), QStringLiteral("two.jpg")}, true);
    EXPECT_FALSE(QFile::exists(card + QStringLiteral("one.jpg")));
    EXPECT_FALSE(QFile::exists(card + QStringLiteral("two.jpg")));
    EXPECT_EQ(read(a.picdir + QStringLiteral("vmb0001.jpg")), original);

    // The album cannot be written: the copies are not safe yet, so the sources stay.
    jpeg(QStringLiteral("three.jpg"));
    a.albfile = tmp.filePath(QStringLiteral("gone/TRIP.vmb"));
    const auto run = import({QStringLiteral("three.jpg")}, true);
    EXPECT_FALSE(run->written());
    EXPECT_TRUE(QFile::exists(card + QStringLiteral("three.jpg")));

    // Never a picture of the album itself, never a copy that differs.
    const QString own = a.picdir + QStringLiteral("vmb0001.jpg");
    const QString copy = tmp.filePath(QStringLiteral("copy.jpg"));
    QFile::copy(own, copy);
    EXPECT_FALSE(deleteSource(own, copy, a.picdir));
    EXPECT_TRUE(QFile::exists(own));
    EXPECT_TRUE(verifyCopy(own, copy));
    QByteArray changed = read(copy);
    changed[changed.size() / 2] = char(changed[changed.size() / 2] ^ 1);
    writeFile(copy, changed);
    EXPECT_FALSE(verifyCopy(own, copy));
    writeFile(copy, read(own) + "x");
    EXPECT_FALSE(verifyCopy(own, copy));
    EXPECT_FALSE(verifyCopy(own, own));
}

TEST_F(ImportTest, NoFreeNumberHandsOverWhatWasCopiedBeforeTheMessage) {
    for (int n = 1; n <= 1000; ++n)
        a.fileused[n] = -1;
    a.fileused[10] = 0;
    a.fileused[20] = 0;
    for (const char* n : {"1.jpg", "2.jpg", "3.jpg", "4.jpg"})
        jpeg(QLatin1String(n));
    const auto run = import({QStringLiteral("1.jpg"), QStringLiteral("2.jpg"),
                             QStringLiteral("3.jpg"), QStringLiteral("4.jpg")});
    EXPECT_EQ(run->stop(), ImportRun::Stop::Full);
    EXPECT_EQ(hub.calls, QStringList(QStringLiteral("AddToFS -1 vmb0010.jpg,vmb0020.jpg")));
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].title, QStringLiteral("Import Images - Error"));
    EXPECT_EQ(ui.shown[0].text, QStringLiteral("Album Directory is FULL\rImport Cancelled."));
    EXPECT_EQ(ui.shown[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(ui.albumWritten[0]);
    EXPECT_EQ(pictureFolder().size(), 2);

    // The written album lists both in its Photo Box.
    Fixture back;
    back.a.albfile = a.albfile;
    ReadAlbum(back.a);
    EXPECT_EQ(back.a.npbox, 2);
    EXPECT_EQ(back.a.pics[1000].pfile.trimmed(), QStringLiteral("vmb0020.jpg"));
}

TEST_F(ImportTest, CopyErrorStopsTheRunAfterHandingOverAndLeavesNoPartialFile) {
    jpeg(QStringLiteral("a.jpg"));
    bytes(QStringLiteral("big.bmp"), bmpBytes(markedPicture(400, 400), 24)); // 480 KB
    jpeg(QStringLiteral("c.jpg"));
    // A file-size limit makes the big copy fail on the target's side, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 200 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const auto run =
        import({QStringLiteral("a.jpg"), QStringLiteral("big.bmp"), QStringLiteral("c.jpg")}, true);
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_EQ(run->stop(), ImportRun::Stop::CopyError);
    EXPECT_EQ(hub.calls, QStringList(QStringLiteral("AddToFS -1 vmb0001.jpg")));
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].title, QStringLiteral("Import Image - Copy Error"));
    EXPECT_TRUE(
        ui.shown[0].text.endsWith(QStringLiteral("\rFrom FILE: big.bmp\r  To FILE: vmb0002.bmp")));
    EXPECT_TRUE(ui.albumWritten[0]);
    EXPECT_EQ(pictureFolder(), QStringList(QStringLiteral("vmb0001.jpg")));
    // Only the source that was copied and listed is gone.
    EXPECT_FALSE(QFile::exists(card + QStringLiteral("a.jpg")));
    EXPECT_TRUE(QFile::exists(card + QStringLiteral("big.bmp")));
    EXPECT_TRUE(QFile::exists(card + QStringLiteral("c.jpg")));
    EXPECT_EQ(a.fileused[2], 0);
}

TEST_F(ImportTest, CancelKeepsTheSettledCopiesAndRemovesTheOnesInFlight) {
    QStringList names;
    for (int i = 0; i < 8; ++i) {
        names.append(QStringLiteral("%1.jpg").arg(i));
        jpeg(names.last(), 320, 240);
    }
    ImportRun run(a, hub, pictures, card, names, false);
    ASSERT_TRUE(run.next());
    ASSERT_TRUE(run.next());
    run.cancel();
    EXPECT_FALSE(run.next());
    run.finish();
    EXPECT_EQ(run.stop(), ImportRun::Stop::Cancelled);
    EXPECT_EQ(hub.calls, QStringList(QStringLiteral("AddToFS -1 vmb0001.jpg,vmb0002.jpg")));
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_EQ(pictureFolder().size(), 2);
    EXPECT_EQ(a.fileused[3], 0);
    EXPECT_TRUE(QFile::exists(a.albfile));
}

TEST_F(ImportTest, FoldersTheWindowOpensOnAndThePictureFolderTest) {
    const QList<MountedVolume> volumes = {{QStringLiteral("/media/u/A/"), {}, true},
                                          {QStringLiteral("/home/"), {}, false},
                                          {QStringLiteral("/media/u/B/"), {}, true}};
    EXPECT_EQ(openingFolders(QStringLiteral("/cards/x/"), volumes, QStringLiteral("/home/u")),
              QStringList({QStringLiteral("/cards/x"), QStringLiteral("/media/u/B"),
                           QStringLiteral("/home/u")}));
    EXPECT_EQ(openingFolders({}, {}, QStringLiteral("/home/u")),
              QStringList(QStringLiteral("/home/u")));

    EXPECT_TRUE(isPictureFolder(tmp.filePath(QStringLiteral("TRIP")), a.picdir));
    QFile::link(tmp.filePath(QStringLiteral("TRIP")), tmp.filePath(QStringLiteral("link")));
    EXPECT_TRUE(isPictureFolder(tmp.filePath(QStringLiteral("link")), a.picdir));
    EXPECT_FALSE(isPictureFolder(card, a.picdir));
    EXPECT_FALSE(isPictureFolder(tmp.path(), a.picdir));
}
