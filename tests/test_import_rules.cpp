// SPDX-License-Identifier: GPL-3.0-or-later
// The import without its window: names, numbers, capacity, copying, the verified delete of
// sources, and what a run that stops part-way leaves behind.

#include "bindmount.h"
#include "filenames.h"
#include "foreignfiles.h"
#include "foreignformats.h"
#include "importfixture.h"
#include "importjournal.h"
#include "importrules.h"
#include "importrun.h"
#include "picfiles.h"
#include "picturefiles.h"
#include "poolgate.h"
#include "specialfiles.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRandomGenerator>
#include <QThread>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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

struct ImportTest : ::testing::Test, ImportAlbum {
    ScriptedUi& ui = f.ui;
    RecordingHub hub;
    QString card = tmp.filePath(u"card/"_s);

    void SetUp() override {
        hub.a = &a;
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
    QStringList titles() const {
        QStringList out;
        for (const auto& s : ui.shown)
            out.append(s.title);
        return out;
    }
    // Runs to the end, as the window does for a few files.
    std::unique_ptr<ImportRun> import(const QStringList& files, bool del = false,
                                      ImportRun::Steps steps = {}) {
        auto run = std::make_unique<ImportRun>(a, hub, pictures, card, files, del, steps);
        while (run->next()) {
        }
        run->finish();
        return run;
    }
};

} // namespace

TEST_F(ImportTest, CopiesGetLowerCaseElevenCharacterNamesThatTheListingFinds) {
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
    f.addPicture(1, 1, 7); // its file was deleted by hand; the record still names it
    for (const QString& n : names("p.jpg q.jpg r.jpg s.jpg"))
        jpeg(n);
    import(names("p.jpg q.jpg r.jpg s.jpg"));
    EXPECT_EQ(hub.calls,
              QStringList(u"AddToFS -1 vmb0002.jpg,vmb0005.jpg,vmb0006.jpg,vmb0008.jpg"_s));
    EXPECT_FALSE(QFile::exists(a.picdir + u"vmb0007.jpg"_s));
    EXPECT_EQ(read(a.picdir + u"vmb0004.GIF"_s), QByteArray("someone else's"));
    EXPECT_EQ(a.fileused[4], -1);
    EXPECT_EQ(a.filenew[2], 0); // cleared again by the album write
    EXPECT_EQ(a.changed, 'n');
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
    EXPECT_FALSE(deleteSource(own, copy, PictureFolder(a.picdir), fileState(own)));
    EXPECT_TRUE(QFile::exists(own));
    EXPECT_TRUE(verifyCopy(own, copy));
    QByteArray changed = read(copy);
    changed[changed.size() / 2] = char(changed[changed.size() / 2] ^ 1);
    writeFile(copy, changed);
    EXPECT_FALSE(verifyCopy(own, copy));
    EXPECT_FALSE(verifyCopy(own, own));
}

TEST_F(ImportTest, AlbumPicturesReachedAnotherWayAreCopiedButNeverDeleted) {
    jpeg(u"one.jpg"_s);
    jpeg(u"two.jpg"_s);
    import(names("one.jpg two.jpg"));
    ASSERT_EQ(copies(), names("vmb0001.jpg vmb0002.jpg"));
    const QByteArray first = read(a.picdir + u"vmb0001.jpg"_s);
    QFile::link(tmp.filePath(u"TRIP"_s), tmp.filePath(u"shortcut"_s));
    ASSERT_EQ(::link(QFile::encodeName(a.picdir + u"vmb0001.jpg"_s).constData(),
                     QFile::encodeName(card + u"hard.jpg"_s).constData()),
              0);
    const BindMount bound(a.picdir, tmp.filePath(u"bound"_s));

    QList<std::pair<QString, QStringList>> runs{
        {tmp.filePath(u"shortcut"_s), names("vmb0001.jpg vmb0002.jpg")}, {card, names("hard.jpg")}};
    if (bound.active)
        runs.append({tmp.filePath(u"bound"_s), names("vmb0001.jpg vmb0002.jpg")});
    for (const auto& [folder, files] : runs) {
        ImportRun run(a, hub, pictures, folder, files, true);
        while (run.next()) {
        }
        run.finish();
        EXPECT_EQ(run.copied(), files.size()) << qPrintable(folder);
        EXPECT_TRUE(run.written()) << qPrintable(folder);
        EXPECT_EQ(run.deletedNames(), QStringList()) << qPrintable(folder);
    }
    EXPECT_EQ(read(a.picdir + u"vmb0001.jpg"_s), first);
    EXPECT_TRUE(QFile::exists(a.picdir + u"vmb0002.jpg"_s));
    EXPECT_TRUE(onCard("hard.jpg"));
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
    // Until the album names them, the copies are noted for a session after a crash.
    QFile note(importJournalPath(a.albfile));
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    EXPECT_TRUE(note.readAll().startsWith("vmb0001.jpg\nvmb0002.jpg\n"));
    note.close();
    run.cancel();
    EXPECT_FALSE(run.next());
    run.finish();
    EXPECT_FALSE(QFileInfo::exists(importJournalPath(a.albfile)));
    EXPECT_EQ(run.stop(), ImportRun::Stop::Cancelled);
    EXPECT_EQ(hub.calls, QStringList(u"AddToFS -1 vmb0001.jpg,vmb0002.jpg"_s));
    EXPECT_TRUE(ui.shown.isEmpty());
    EXPECT_EQ(copies().size(), 2);
    EXPECT_EQ(a.fileused[3], 0);
    EXPECT_TRUE(QFile::exists(a.albfile));
}

namespace {

// Opens every FIFO under `folder` for writing once `seconds` have passed, which frees a reader
// stuck in open(): a test of code that blocks fails instead of hanging.
struct FifoRescue {
    std::atomic<bool> done{false};
    std::atomic<bool> rescued{false};
    std::thread thread;
    FifoRescue(QStringList fifos, int seconds) {
        thread = std::thread([this, fifos, seconds] {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
            while (!done && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            while (!done) {
                for (const QString& f : fifos) {
                    const int fd = ::open(QFile::encodeName(f).constData(), O_WRONLY | O_NONBLOCK);
                    if (fd >= 0) {
                        rescued = true;
                        ::close(fd);
                    }
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    ~FifoRescue() {
        done = true;
        thread.join();
    }
};

QByteArray noise(qsizetype size) {
    QByteArray b(size, Qt::Uninitialized);
    QRandomGenerator gen(16);
    for (char& c : b)
        c = char(gen.bounded(256));
    return b;
}

} // namespace

TEST_F(ImportTest, FilesThatAreNoPlainFilesAreLoadErrorsAndNeverBlock) {
    jpeg(u"first.jpg"_s);
    jpeg(u"last.jpg"_s);
    QStringList files{u"first.jpg"_s}, specials, fifos;
    for (const SpecialKind& kind : specialKinds()) {
        const QString name = QString::fromLatin1(kind.name).replace(u' ', u'-') + u".jpg"_s;
        if (!kind.make(card + name))
            continue; // root reads an unreadable file anyway
        files.append(name);
        specials.append(name);
        if (QByteArray(kind.name).contains("fifo"))
            fifos << card + name;
    }
    files.append(u"last.jpg"_s);
    ASSERT_GE(specials.size(), 6);

    std::unique_ptr<ImportRun> run;
    {
        const FifoRescue rescue(fifos, 10);
        run = import(files, true);
        EXPECT_FALSE(rescue.rescued) << "a read of a FIFO blocked";
    }
    EXPECT_EQ(run->failedNames(), specials);
    EXPECT_EQ(run->copiedNames(), names("first.jpg last.jpg"));
    EXPECT_EQ(copies().size(), 2);
    EXPECT_EQ(titles().count(u"Import Image - Load Error"_s), specials.size());
    EXPECT_EQ(run->stop(), ImportRun::Stop::None);
    // The sources that were no pictures are all still there, whatever they are.
    for (const QString& name : specials) {
        struct stat st {};
        EXPECT_EQ(::lstat(QFile::encodeName(card + name).constData(), &st), 0) << qPrintable(name);
    }
}

TEST_F(ImportTest, AFileIsMeasuredAsAPictureBeforeItIsCopied) {
    // The picture folder is gone: a copy fails, so whatever is measured first shows.
    jpeg(u"good.jpg"_s);
    bytes(u"noise.jpg"_s, noise(1 << 20));
    QDir(a.picdir).removeRecursively();
    import(names("noise.jpg good.jpg"));
    ASSERT_EQ(titles(),
              QStringList({u"Import Image - Load Error"_s, u"Import Image - Copy Error"_s}));
    EXPECT_TRUE(ui.shown[0].text.endsWith(u"\rFILE: noise.jpg"_s));
}

TEST_F(ImportTest, ALargeNonPictureOnANearlyFullDiskDoesNotStopTheRun) {
    jpeg(u"one.jpg"_s);
    bytes(u"noise.jpg"_s, noise(4 << 20));
    jpeg(u"two.jpg"_s);
    // A picture folder with 1 MB free: a real small file system where root may mount one,
    // else a copy step that runs out of space past 1 MB.
    ImportRun::Steps steps;
    struct Tmpfs {
        QByteArray at;
        bool active = false;
        ~Tmpfs() {
            if (active)
                ::umount2(at.constData(), MNT_DETACH);
        }
    } small{QFile::encodeName(a.picdir)};
    small.active =
        ::geteuid() == 0 && ::mount("tmpfs", small.at.constData(), "tmpfs", 0, "size=1m") == 0;
    if (!small.active)
        steps.copy = [](int in, const QString& target) {
            struct stat st {};
            if (::fstat(in, &st) == 0 && st.st_size > (1 << 20))
                return CopyOutcome{CopyOutcome::TargetFailed,
                                   QString::fromLocal8Bit(std::strerror(ENOSPC))};
            return copyPicture(in, target);
        };
    const auto run = import(names("one.jpg noise.jpg two.jpg"), false, steps);
    EXPECT_EQ(run->stop(), ImportRun::Stop::None);
    EXPECT_EQ(run->copiedNames(), names("one.jpg two.jpg"));
    EXPECT_EQ(run->failedNames(), names("noise.jpg"));
    EXPECT_EQ(titles(), QStringList(u"Import Image - Load Error"_s));
    EXPECT_EQ(copies().size(), 2);
}

TEST_F(ImportTest, OnlySourcesWhoseCopiesWereVerifiedAreDeleted) {
    for (const QString& n : names("one.jpg two.jpg three.jpg"))
        jpeg(n);
    ImportRun::Steps steps;
    steps.verify = [](int source, const QString& target) {
        // The second copy reads back differently (a bad card reader, a flaky cable).
        return !target.endsWith(u"vmb0002.jpg"_s) && verifyCopy(source, target);
    };
    const auto run = import(names("one.jpg two.jpg three.jpg"), true, steps);
    EXPECT_TRUE(run->written());
    EXPECT_EQ(run->deletedNames(), names("one.jpg three.jpg"));
    EXPECT_TRUE(onCard("two.jpg"));
    EXPECT_EQ(copies().size(), 3);
}

TEST_F(ImportTest, OtherFormatsBecomeUprightJpegCopiesAndDamagedOnesAreLoadErrors) {
    const QImage shown = markedPicture(60, 80);
    const CameraTags tags{6, "Maker Co", "Model X-100", "2024:05:06 07:08:09"};
    const QImage stored = storedFor(shown, 6);
    bytes(u"p.PNG"_s, pngWithExif(stored, tags));
    bytes(u"t.tif"_s, tiffWithTags(stored, tags));
    bytes(u"w.WebP"_s, webpWithExif(stored, tags));
    bytes(u"h.heic"_s, heicBytes(stored, tags));
    bytes(u"r.DNG"_s, dngBytes(stored, tags));
    bytes(u"bad.Nef"_s, "not a raw file");
    QByteArray cut = heicBytes(stored, tags);
    cut.chop(cut.size() / 3);
    bytes(u"cut.HEIF"_s, cut);

    const auto run = import(names("p.PNG bad.Nef t.tif w.WebP cut.HEIF h.heic r.DNG"), true);
    ASSERT_EQ(copies().size(), 5);
    for (const QString& copy : copies())
        EXPECT_TRUE(copy.startsWith(u"vmb"_s) && copy.endsWith(u".jpg"_s)) << qPrintable(copy);
    EXPECT_EQ(run->failedNames(), names("bad.Nef cut.HEIF"));
    ASSERT_EQ(ui.shown.size(), 2);
    EXPECT_EQ(ui.shown[0].title, u"Import Image - Load Error"_s);
    EXPECT_TRUE(ui.shown[0].text.endsWith(u"\rFILE: bad.Nef"_s));
    for (const QString& copy : copies()) {
        const QByteArray jpeg = read(a.picdir + copy);
        QBuffer buffer;
        buffer.setData(jpeg);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        EXPECT_EQ(reader.format(), "jpeg") << qPrintable(copy);
        const QImage img = reader.read();
        ASSERT_EQ(img.size(), shown.size()) << qPrintable(copy);
        EXPECT_TRUE(near(cornerColour(img, 'a'), kRed, 80)) << qPrintable(copy);
        EXPECT_TRUE(near(cornerColour(img, 'b'), kGreen, 80)) << qPrintable(copy);
        const int len = (uchar(jpeg[4]) << 8) | uchar(jpeg[5]);
        const ExifFields exif = readExifFields(QByteArrayView(jpeg).sliced(12, len - 8));
        EXPECT_EQ(exif.orientation, 1) << qPrintable(copy);
        EXPECT_EQ(exif.dateTimeOriginal, tags.taken) << qPrintable(copy);
        EXPECT_EQ(exif.make, tags.make) << qPrintable(copy);
        EXPECT_EQ(exif.model, tags.model) << qPrintable(copy);
    }
    for (int i = 996; i <= 1000; ++i) {
        EXPECT_EQ(a.pics[i].pwidth, 60) << i;
        EXPECT_EQ(a.pics[i].pheight, 80) << i;
    }
    // Each conversion was read back and checked, so its source could go.
    EXPECT_EQ(run->deletedNames(), names("p.PNG t.tif w.WebP h.heic r.DNG"));
    EXPECT_TRUE(onCard("bad.Nef"));
    EXPECT_TRUE(onCard("cut.HEIF"));
}

TEST_F(ImportTest, AConvertedSourceStaysUnlessItsConversionWasChecked) {
    for (const char* n : {"one.png", "two.png", "three.png"})
        bytes(QLatin1String(n), pngWithExif(markedPicture(40, 30), {}));
    ImportRun::Steps steps;
    steps.convert = [](int source, const QString& name, const QString& target, bool* verified,
                       const std::atomic<bool>* stop) {
        const CopyOutcome c = convertPicture(source, name, target, verified, stop);
        if (name.endsWith(u"two.png"_s) && verified != nullptr)
            *verified = false; // read back differently
        return c;
    };
    const auto run = import(names("one.png two.png three.png"), true, steps);
    EXPECT_EQ(run->deletedNames(), names("one.png three.png"));
    EXPECT_TRUE(onCard("two.png"));

    // Without "Delete Source" nothing is read back, and nothing goes.
    bytes(u"four.png"_s, pngWithExif(markedPicture(40, 30), {}));
    EXPECT_TRUE(import(names("four.png"))->deletedNames().isEmpty());
    EXPECT_TRUE(onCard("four.png"));
}

TEST_F(ImportTest, APictureKeepsTheFormatItsAlbumNameSaysWhateverItsSourceWasCalled) {
    const QImage pic = markedPicture(40, 30);
    bytes(u"png.jpg"_s, pngWithExif(pic, {}));
    bytes(u"tiff.JPG"_s, tiffWithTags(pic, {}));
    bytes(u"webp.jpeg"_s, webpWithExif(pic, {}));
    bytes(u"gif.jpg"_s, gifBytes(pic));
    const QByteArray heic = heicBytes(pic, {});
    bytes(u"heic.jpg"_s, heic.isEmpty() ? pngWithExif(pic, {}) : heic);
    bytes(u"jpeg.heic"_s, jpegBytes(pic));
    bytes(u"jpeg.PNG"_s, jpegBytes(pic));
    bytes(u"png.gif"_s, pngWithExif(pic, {}));
    bytes(u"jpeg.bmp"_s, jpegBytes(pic));

    const auto run = import(
        names("png.jpg tiff.JPG webp.jpeg gif.jpg heic.jpg jpeg.heic jpeg.PNG png.gif jpeg.bmp"),
        true);
    // A GIF or BMP name cannot hold a JPEG: those are load errors, and stay.
    EXPECT_EQ(run->failedNames(), names("png.gif jpeg.bmp"));
    ASSERT_EQ(copies().size(), 7);
    for (const QString& copy : copies()) {
        EXPECT_TRUE(copy.endsWith(u".jpg"_s)) << qPrintable(copy);
        EXPECT_EQ(QImageReader(a.picdir + copy).format(), "jpeg") << qPrintable(copy);
        const QImage img(a.picdir + copy);
        EXPECT_EQ(img.size(), pic.size()) << qPrintable(copy);
        EXPECT_TRUE(near(cornerColour(img, 'a'), kRed, 80)) << qPrintable(copy);
    }
    // A JPEG under another name is kept byte for byte.
    EXPECT_EQ(read(a.picdir + u"vmb0001.jpg"_s).left(3), QByteArray("\xff\xd8\xff"));
    EXPECT_EQ(read(a.picdir + copies()[6]), jpegBytes(pic));
    // Every copy was checked, so every source that was imported has gone.
    EXPECT_EQ(run->deletedNames(),
              names("png.jpg tiff.JPG webp.jpeg gif.jpg heic.jpg jpeg.heic jpeg.PNG"));
    EXPECT_TRUE(onCard("png.gif"));
    EXPECT_TRUE(onCard("jpeg.bmp"));
}

TEST_F(ImportTest, ASourceReplacedAfterItsCopyWasCheckedIsNotDeleted) {
    const QImage pic = markedPicture(40, 30);
    bytes(u"a.png"_s, pngWithExif(pic, {}));
    jpeg(u"b.jpg"_s);
    bytes(u"c.png"_s, pngWithExif(pic, {}));
    jpeg(u"d.jpg"_s);
    // Another program saves a new file under the name once the copy is checked; for the JPEG
    // one of the same size.
    const auto replace = [this](const QString& target, const QByteArray& with) {
        const QString name = card + QFileInfo(target).fileName();
        writeFile(name + u".new"_s, with);
        ::rename(QFile::encodeName(name + u".new"_s).constData(),
                 QFile::encodeName(name).constData());
    };
    ImportRun::Steps steps;
    steps.convert = [&](int source, const QString& name, const QString& target, bool* verified,
                        const std::atomic<bool>* stop) {
        const CopyOutcome c = convertPicture(source, name, target, verified, stop);
        if (name.endsWith(u"a.png"_s))
            replace(name, "newer");
        return c;
    };
    steps.verify = [&](int source, const QString& target) {
        const bool ok = verifyCopy(source, target);
        struct stat st {};
        ::fstat(source, &st);
        QByteArray same(qsizetype(st.st_size), 'x');
        if (ok && QFileInfo(target).fileName() == u"vmb0002.jpg"_s)
            replace(card + u"b.jpg"_s, same);
        return ok;
    };
    const auto run = import(names("a.png b.jpg c.png d.jpg"), true, steps);
    EXPECT_EQ(copies().size(), 4);
    EXPECT_EQ(run->deletedNames(), names("c.png d.jpg"));
    EXPECT_EQ(read(card + u"a.png"_s), "newer");
    EXPECT_TRUE(onCard("b.jpg"));
}

TEST(ImportNames, ConvertedFormatsAreListedAndGetJpegNames) {
    for (const char* n : {"a.PNG", "a.tiff", "a.Heic", "a.cr3", "a.RW2", "a.jpeg"})
        EXPECT_EQ(importExtension(QLatin1String(n)), u"jpg"_s) << n;
    EXPECT_EQ(importExtension(u"a.GIF"_s), u"gif"_s);
    EXPECT_EQ(importExtension(u"a.txt"_s), QString());
    const QStringList globs = importPattern().split(u';');
    for (const QString& suffix : foreignSuffixes())
        EXPECT_TRUE(globs.contains(u"*."_s + suffix)) << qPrintable(suffix);
}

TEST_F(ImportTest, NamesThatAreNotUtf8AreCopiedByTheirBytes) {
    // An old card's Latin-1 name, and a UTF-8 name that a lossy decoding turns it into.
    const QByteArray latin1 = "M\xfcller.jpg";
    const QByteArray lookAlike = QString::fromUtf8(latin1).toUtf8(); // U+FFFD for the byte
    ASSERT_NE(latin1, lookAlike);
    const QByteArray cardBytes = QFile::encodeName(card);
    writeFile(QFile::decodeName(cardBytes + lookAlike), jpegBytes(markedPicture(40, 30)));
    {
        QFile out;
        const int fd = ::open((cardBytes + latin1).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_TRUE(out.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        out.write(jpegBytes(markedPicture(80, 60)));
    }
    const auto run = import({nameText(latin1)}, true);
    ASSERT_EQ(run->copied(), 1) << qPrintable(ui.shown.value(0).text);
    EXPECT_EQ(a.pics[1000].pwidth, 80);
    EXPECT_EQ(run->deletedNames(), QStringList(nameText(latin1)));
    EXPECT_NE(::access((cardBytes + latin1).constData(), F_OK), 0);
    EXPECT_EQ(::access((cardBytes + lookAlike).constData(), F_OK), 0);
}

TEST(FileNameText, EveryNameRoundTripsAndUtf8NamesReadAsBefore) {
    const QList<QByteArray> names{
        "plain.jpg",
        "M\xc3\xbcller.jpg",         // UTF-8
        "M\xfcller.jpg",             // Latin-1
        "\xf0\x9f\x93\xb7.jpg",      // a four-byte character
        "\xc0\xafslash.jpg",         // an overlong "/"
        "\xed\xb2\x80surrogate.jpg", // an encoded surrogate
        "cut\xe2\x82",               // a sequence cut short
        "\xff\xfe",
    };
    for (const QByteArray& n : names) {
        EXPECT_EQ(nameBytes(nameText(n)), n) << n.toHex().constData();
        if (QString::fromUtf8(n).toUtf8() == n)
            EXPECT_EQ(nameText(n), QFile::decodeName(n)) << n.constData();
    }
    EXPECT_NE(nameText("M\xfcller.jpg"), nameText(QString::fromUtf8("M\xfcller.jpg").toUtf8()));
    EXPECT_FALSE(nameText("\xc0\xafslash.jpg").contains(u'/'));
}

TEST_F(ImportTest, CancelDoesNotWaitForRawFilesBeingDeveloped) {
    const QByteArray raw = dngBytes(markedPicture(2400, 1600), {});
    for (const char* n : {"a.dng", "b.dng", "c.dng", "d.dng", "e.dng"})
        bytes(QLatin1String(n), raw);
    QElapsedTimer timer;
    timer.start();
    import(names("a.dng"));
    const qint64 alone = timer.elapsed();
    ASSERT_EQ(copies().size(), 1);

    // Four files in flight on two cores: waiting for them takes twice as long as one.
    auto run =
        std::make_unique<ImportRun>(a, hub, pictures, card, names("b.dng c.dng d.dng e.dng"), true);
    QThread::msleep(50);
    timer.restart();
    run->cancel();
    EXPECT_LT(timer.elapsed(), alone / 2);
    run->finish();
    EXPECT_EQ(copies().size(), 1); // nothing half-developed is left behind
    EXPECT_TRUE(run->deletedNames().isEmpty());
    EXPECT_TRUE(ui.shown.isEmpty());
}

// Copies still queued when the run is cancelled are never made, least of all on the GUI
// thread, which waits for them.
TEST_F(ImportTest, CopiesNotBegunWhenCancelledAreNeverMade) {
    for (const char* n : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        jpeg(QLatin1String(n), 64, 48);
    std::atomic<int> onGuiThread{0}, made{0};
    QThread* const gui = QThread::currentThread(); // the run's own thread stands for it here
    ImportRun::Steps steps;
    steps.copy = [&](int in, const QString& target) {
        ++made;
        if (QThread::currentThread() == gui)
            ++onGuiThread;
        return copyPicture(in, target);
    };
    test::PoolGate gate(pictures);
    auto run = std::make_unique<ImportRun>(a, hub, pictures, card, names("a.jpg b.jpg c.jpg d.jpg"),
                                           false, steps);
    run->cancel();
    gate.release();
    run->finish();
    pictures.pool().waitForDone();
    EXPECT_EQ(onGuiThread, 0);
    EXPECT_EQ(made, 0);
    EXPECT_TRUE(copies().isEmpty());
}

// The process's peak resident memory since the last reset, in MB.
qint64 peakMegabytes() {
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() / 1024;
    return -1;
}

TEST_F(ImportTest, LargePicturesAreNotAllConvertedAtOnce) {
    {
        QImage big(9000, 9000, QImage::Format_RGB888); // 81 megapixels, a few hundred KB as PNG
        big.fill(Qt::white);
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        ASSERT_TRUE(big.save(&png, "PNG", 9));
        for (const char* n : {"a.png", "b.png", "c.png"})
            bytes(QLatin1String(n), png.data());
    }
    QFile clear(u"/proc/self/clear_refs"_s);
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        GTEST_SKIP() << "the peak memory cannot be reset here";
    clear.close();
    const qint64 before = peakMegabytes();
    import(names("a.png b.png c.png"));
    EXPECT_EQ(copies().size(), 3);
    // One conversion adds about 600 MB at its peak here; two side by side twice that.
    EXPECT_LT(peakMegabytes() - before, 900);
}
