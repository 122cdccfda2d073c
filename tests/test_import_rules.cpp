// The import without its window: names, numbers, capacity, copying, the verified delete of
// sources, and what a run that stops part-way leaves behind.

#include "albumfile.h"
#include "importfixture.h"
#include "importrules.h"
#include "importrun.h"
#include "picfiles.h"
#include "picturefiles.h"

#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace vimbrel;
using namespace vimbrel::test;
using namespace Qt::StringLiterals;

namespace {

// The Photo Box's append, as far as the import needs it, and the order of events.
struct RecordingHub : WindowHub {
    Album* a = nullptr;
    QStringList calls;
    void AddToFS(int pos) override {
        QStringList files;
        for (int i = 1; i <= a->nimps; ++i)
            files.append(a->imps[i].ifile.trimmed());
        calls.append(u"AddToFS %1 "_s.arg(pos) + files.join(QLatin1Char(',')));
        const int n = a->nimps;
        a->npbox = static_cast<Integer>(a->npbox + n);
        a->pbfirst = static_cast<Integer>(1001 - a->npbox); // the box starts empty here
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

struct ImportTest : ::testing::Test, ImportAlbum {
    WitnessUi ui;
    RecordingHub hub;
    QString card = tmp.filePath(u"card/"_s);

    void SetUp() override {
        a.ui = &ui;
        hub.a = &a;
        ui.albfile = a.albfile;
        QDir().mkpath(card);
    }

    void jpeg(const QString& name, int w = 64, int h = 48, int orientation = 0) {
        writeFile(card + name, jpegBytes(markedPicture(w, h), {90, false, orientation}));
    }
    void bytes(const QString& name, const QByteArray& b) { writeFile(card + name, b); }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool onCard(const char* name) const { return QFile::exists(card + QLatin1String(name)); }
    // Runs to the end, as the window does for a few files.
    std::unique_ptr<ImportRun> import(const QStringList& files, bool del = false) {
        auto run = std::make_unique<ImportRun>(a, hub, pictures, card, files, del);
        while (run->next()) {
        }
        run->finish();
        return run;
    }
};

} // namespace

TEST_F(ImportTest, CopiesGetLowerCaseElevenCharacterNamesThatTheListingFinds) {
    EXPECT_EQ(importExtension(u"jpeg"_s), QString());
    jpeg(u"A.JPG"_s);
    jpeg(u"b.jpeg"_s);
    bytes(u"C.Gif"_s, gifBytes(markedPicture(30, 20)));
    bytes(u"d.BMP"_s, bmpBytes(markedPicture(30, 20), 24));
    import(names("A.JPG b.jpeg C.Gif d.BMP"));
    EXPECT_EQ(copies(), names("vmb0001.jpg vmb0002.jpg vmb0003.gif vmb0004.bmp"));
    EXPECT_EQ(read(a.picdir + u"vmb0003.gif"_s), read(card + u"C.Gif"_s));
    EXPECT_TRUE(ui.shown.isEmpty());

    // A fresh listing of the folder counts every copy as used.
    Fixture fresh;
    fresh.a.picdir = a.picdir;
    ASSERT_TRUE(rebuildFileUsed(fresh.a, nullptr));
    EXPECT_EQ(GetFileNum(fresh.a), 5);
}

TEST_F(ImportTest, NumbersReuseFreedOnesAndNeverOverwriteFilesOnDisk) {
    a.fileused[1] = -1; // 2 was freed when the album was read
    a.fileused[3] = -1;
    writeFile(a.picdir + u"vmb0004.GIF"_s, "someone else's");
    for (const QString& n : names("p.jpg q.jpg r.jpg"))
        jpeg(n);
    import(names("p.jpg q.jpg r.jpg"));
    EXPECT_EQ(hub.calls, QStringList(u"AddToFS -1 vmb0002.jpg,vmb0005.jpg,vmb0006.jpg"_s));
    EXPECT_EQ(read(a.picdir + u"vmb0004.GIF"_s), QByteArray("someone else's"));
    EXPECT_EQ(a.fileused[4], -1);
    EXPECT_EQ(a.filenew[2], 0); // cleared again by the album write
    EXPECT_EQ(a.changed, 'n');

    const QString taken = a.picdir + u"vmb0007.jpg"_s;
    writeFile(taken, "mine");
    EXPECT_EQ(copyPicture(card + u"p.jpg"_s, taken).kind, CopyOutcome::Exists);
    EXPECT_EQ(read(taken), QByteArray("mine"));
}

TEST_F(ImportTest, UnreadablePicturesAreSkippedAndTheRestImported) {
    jpeg(u"good.jpg"_s, 640, 480);
    QByteArray cut = jpegBytes(markedPicture(200, 150));
    cut.chop(cut.size() / 2);
    bytes(u"cut.jpg"_s, cut);
    bytes(u"text.jpg"_s, "not a picture at all");
    // Sizes are 16-bit in the album: a wider picture cannot be stored.
    QImage wide(32768, 8, QImage::Format_RGB32);
    wide.fill(Qt::gray);
    bytes(u"wide.jpg"_s, jpegBytes(wide));
    jpeg(u"upright.jpg"_s, 80, 60, 6); // stored landscape, shown portrait

    const auto run = import(names("cut.jpg good.jpg text.jpg wide.jpg upright.jpg"));
    EXPECT_EQ(run->failedNames(), names("cut.jpg text.jpg wide.jpg"));
    ASSERT_EQ(ui.shown.size(), 3);
    EXPECT_TRUE(ui.shown[0].text.endsWith(u"\rFILE: cut.jpg"_s));
    // A skipped file takes no number and leaves no file.
    EXPECT_EQ(copies(), names("vmb0001.jpg vmb0002.jpg"));
    EXPECT_EQ(a.pics[999].pwidth, 640);
    EXPECT_EQ(a.pics[1000].pwidth, 60);
    EXPECT_EQ(a.pics[1000].pheight, 80);
}

TEST_F(ImportTest, SourcesGoOnlyAfterAVerifiedCopyIsListedInAWrittenAlbum) {
    jpeg(u"one.jpg"_s);
    jpeg(u"two.jpg"_s);
    const QByteArray original = read(card + u"one.jpg"_s);
    import(names("one.jpg two.jpg"), true);
    EXPECT_FALSE(onCard("one.jpg"));
    EXPECT_FALSE(onCard("two.jpg"));
    EXPECT_EQ(read(a.picdir + u"vmb0001.jpg"_s), original);

    // The album cannot be written: the copies are not safe yet, so the sources stay.
    jpeg(u"three.jpg"_s);
    a.albfile = tmp.filePath(u"gone/TRIP.vmb"_s);
    EXPECT_FALSE(import(names("three.jpg"), true)->written());
    EXPECT_TRUE(onCard("three.jpg"));

    // Never a picture of the album itself, never a copy that differs.
    const QString own = a.picdir + u"vmb0001.jpg"_s;
    const QString copy = tmp.filePath(u"copy.jpg"_s);
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
    for (const QString& n : names("1.jpg 2.jpg 3.jpg 4.jpg"))
        jpeg(n);
    const auto run = import(names("1.jpg 2.jpg 3.jpg 4.jpg"));
    EXPECT_EQ(run->stop(), ImportRun::Stop::Full);
    EXPECT_EQ(hub.calls, QStringList(u"AddToFS -1 vmb0010.jpg,vmb0020.jpg"_s));
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_TRUE(ui.albumWritten[0]);

    // The written album lists both in its Photo Box.
    Fixture back;
    back.a.albfile = a.albfile;
    ReadAlbum(back.a);
    EXPECT_EQ(back.a.npbox, 2);
    EXPECT_EQ(back.a.pics[1000].pfile.trimmed(), u"vmb0020.jpg"_s);
}

TEST_F(ImportTest, CopyErrorStopsTheRunAfterHandingOverAndLeavesNoPartialFile) {
    jpeg(u"a.jpg"_s);
    bytes(u"big.bmp"_s, bmpBytes(markedPicture(400, 400), 24)); // 480 KB
    jpeg(u"c.jpg"_s);
    // A file-size limit makes the big copy fail on the target's side, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 200 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const auto run = import(names("a.jpg big.bmp c.jpg"), true);
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_EQ(run->stop(), ImportRun::Stop::CopyError);
    EXPECT_EQ(hub.calls, QStringList(u"AddToFS -1 vmb0001.jpg"_s));
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_TRUE(ui.albumWritten[0]);
    EXPECT_EQ(copies(), QStringList(u"vmb0001.jpg"_s));
    // Only the source that was copied and listed is gone.
    EXPECT_FALSE(onCard("a.jpg"));
    EXPECT_TRUE(onCard("big.bmp"));
    EXPECT_TRUE(onCard("c.jpg"));
    EXPECT_EQ(a.fileused[2], 0);
}

TEST_F(ImportTest, CancelKeepsTheSettledCopiesAndRemovesTheOnesInFlight) {
    QStringList files;
    for (int i = 0; i < 8; ++i) {
        files.append(u"%1.jpg"_s.arg(i));
        jpeg(files.last(), 320, 240);
    }
    ImportRun run(a, hub, pictures, card, files, false);
    ASSERT_TRUE(run.next());
    ASSERT_TRUE(run.next());
    run.cancel();
    EXPECT_FALSE(run.next());
    run.finish();
    EXPECT_EQ(run.stop(), ImportRun::Stop::Cancelled);
    EXPECT_EQ(hub.calls, QStringList(u"AddToFS -1 vmb0001.jpg,vmb0002.jpg"_s));
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_EQ(copies().size(), 2);
    EXPECT_EQ(a.fileused[3], 0);
    EXPECT_TRUE(QFile::exists(a.albfile));
}

TEST_F(ImportTest, FoldersTheWindowOpensOnAndThePictureFolderTest) {
    const QList<MountedVolume> volumes = {
        {u"/media/u/A/"_s, {}, true}, {u"/home/"_s, {}, false}, {u"/media/u/B/"_s, {}, true}};
    EXPECT_EQ(openingFolders(u"/cards/x/"_s, volumes, u"/home/u"_s),
              names("/cards/x /media/u/B /home/u"));
    EXPECT_EQ(openingFolders({}, {}, u"/home/u"_s), QStringList(u"/home/u"_s));

    EXPECT_TRUE(isPictureFolder(tmp.filePath(u"TRIP"_s), a.picdir));
    QFile::link(tmp.filePath(u"TRIP"_s), tmp.filePath(u"link"_s));
    EXPECT_TRUE(isPictureFolder(tmp.filePath(u"link"_s), a.picdir));
    EXPECT_FALSE(isPictureFolder(card, a.picdir));
    EXPECT_FALSE(isPictureFolder(tmp.path(), a.picdir));
}
