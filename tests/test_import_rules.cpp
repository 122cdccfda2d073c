// SPDX-License-Identifier: GPL-3.0-or-later
// The import without its window: names, numbers, capacity, copying, the verified delete of
// sources, and what a run that stops part-way leaves behind.

#include "bindmount.h"
#include "filenames.h"
#include "importfixture.h"
#include "importjournal.h"
#include "importrules.h"
#include "importrun.h"
#include "importrunfixture.h"
#include "picfiles.h"
#include "picturefiles.h"
#include "poolgate.h"
#include "specialfiles.h"

#include <QFile>
#include <QFileInfo>
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

TEST_F(ImportTest, CopiesGetLowerCaseElevenCharacterNames) {
    jpeg(u"A.JPG"_s);
    jpeg(u"b.jpeg"_s);
    bytes(u"C.Gif"_s, gifBytes(markedPicture(30, 20)));
    bytes(u"d.BMP"_s, bmpBytes(markedPicture(30, 20), 24));
    import(names("A.JPG b.jpeg C.Gif d.BMP"));
    EXPECT_EQ(copies(), names("vmb0001.jpg vmb0002.jpg vmb0003.gif vmb0004.bmp"));
    EXPECT_EQ(readFile(a.picdir + u"vmb0003.gif"_s), readFile(card + u"C.Gif"_s));
    EXPECT_TRUE(ui.shown.isEmpty());
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
    EXPECT_EQ(readFile(a.picdir + u"vmb0004.GIF"_s), QByteArray("someone else's"));
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
    const QByteArray original = readFile(card + u"one.jpg"_s);
    import(names("one.jpg two.jpg"), true);
    EXPECT_FALSE(onCard("one.jpg"));
    EXPECT_FALSE(onCard("two.jpg"));
    EXPECT_EQ(readFile(a.picdir + u"vmb0001.jpg"_s), original);

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
    QByteArray changed = readFile(copy);
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
    const QByteArray first = readFile(a.picdir + u"vmb0001.jpg"_s);
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
    EXPECT_EQ(readFile(a.picdir + u"vmb0001.jpg"_s), first);
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

TEST_F(ImportTest, NamesThatAreNotUtf8AreCopiedByTheirBytes) {
    const LossyNames n(card);
    ASSERT_NE(n.latin1, n.lookAlike);
    const QByteArray cardBytes = QFile::encodeName(card);
    const auto run = import({nameText(n.latin1)}, true);
    ASSERT_EQ(run->copied(), 1) << qPrintable(ui.shown.value(0).text);
    EXPECT_EQ(a.pics[1000].pwidth, 80);
    EXPECT_EQ(run->deletedNames(), QStringList(nameText(n.latin1)));
    EXPECT_NE(::access((cardBytes + n.latin1).constData(), F_OK), 0);
    EXPECT_EQ(::access((cardBytes + n.lookAlike).constData(), F_OK), 0);
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
