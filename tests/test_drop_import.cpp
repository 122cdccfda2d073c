// SPDX-License-Identifier: GPL-3.0-or-later
// Files and folders dropped from a file manager: which files a drop brings, the uri-list they
// come in, and the import they run into the Photo Box, short and long, on the offscreen
// platform.

#include "dragdata.h"
#include "droprules.h"
#include "filenames.h"
#include "impdrop.h"
#include "importfixture.h"
#include "picturefiles.h"

#include <QFile>
#include <QMimeData>
#include <QSysInfo>
#include <gtest/gtest.h>

using namespace vimbrel;
using namespace vimbrel::test;
using namespace Qt::StringLiterals;

namespace {

// A folder "drop" beside the album: pictures, a file the import does not take, a subfolder
// with pictures and one below that, and a link back up.
struct DropTest : ::testing::Test, ImportAlbum {
    CountingHub hub{a};
    QString drop = tmp.filePath(u"drop"_s);

    void SetUp() override {
        QDir().mkpath(drop + u"/sub/deeper"_s);
        for (const QString& n : names("b.jpg A.JPG sub/c.jpeg sub/deeper/d.jpg"))
            put(n);
        writeFile(drop + u"/e.BMP"_s, bmpBytes(markedPicture(40, 30), 24));
        writeFile(drop + u"/notes.txt"_s, "not a picture");
        QFile::link(drop, drop + u"/sub/up"_s);
    }
    void put(const QString& name) {
        writeFile(drop + u'/' + name, jpegBytes(markedPicture(64, 48)));
    }
    QString at(const QString& name) const { return drop + u'/' + name; }
    QStringList at(const char* spaced) const {
        QStringList out;
        for (const QString& n : names(spaced))
            out.append(at(n));
        return out;
    }
};

} // namespace

TEST_F(DropTest, AFolderGivesItsPicturesInNameOrderAndItsSubfoldersOnlyWhenAsked) {
    const PictureFolder own(a.picdir);
    const struct {
        QStringList paths;
        bool recursive;
        QStringList files;
        bool subfolders;
    } cases[] = {
        {{drop}, false, at("A.JPG b.jpg e.BMP"), true},
        // Depth first; the link back up ends at the folder already entered.
        {{drop}, true, at("A.JPG b.jpg e.BMP sub/c.jpeg sub/deeper/d.jpg"), false},
        // Files as dropped, in the drop's order; a file the import does not take is left out.
        {at("b.jpg notes.txt sub/c.jpeg"), false, at("b.jpg sub/c.jpeg"), false},
        // Each file once, however it is reached; a path that is gone is passed over.
        {{at(u"b.jpg"_s), drop + u"/sub/up/b.jpg"_s, drop, at(u"gone.jpg"_s)},
         false,
         at("b.jpg A.JPG e.BMP"),
         true},
        {{drop + u"/sub"_s}, false, at("sub/c.jpeg"), true},
    };
    for (const auto& c : cases) {
        const DropScan s = scanDrop(c.paths, own, c.recursive);
        EXPECT_EQ(s.files, c.files) << qPrintable(c.paths.join(u' '));
        EXPECT_EQ(s.subfolders, c.subfolders) << qPrintable(c.paths.join(u' '));
    }
}

TEST_F(DropTest, NothingOfThePictureFolderIsImportedAgain) {
    writeFile(a.picdir + u"vmb0001.jpg"_s, jpegBytes(markedPicture(64, 48)));
    QFile::link(a.picdir, drop + u"/album"_s);
    QFile::link(a.picdir + u"vmb0001.jpg"_s, drop + u"/linked.jpg"_s);
    const PictureFolder own(a.picdir);
    EXPECT_TRUE(scanDrop({a.picdir, a.picdir + u"vmb0001.jpg"_s}, own, true).files.isEmpty());
    EXPECT_EQ(scanDrop({drop}, own, true).files,
              at("A.JPG b.jpg e.BMP sub/c.jpeg sub/deeper/d.jpg"));
}

TEST(DropData, LocalFilesOfAUriListKeepTheirBytesAndOursAreNotFiles) {
    QMimeData outside;
    QList<QUrl> urls{
        QUrl::fromLocalFile(u"/home/zoë/a b#1.jpg"_s), QUrl(u"https://example.org/x.jpg"_s),
        QUrl::fromEncoded("file:///card/M%FCller.jpg"),
        // Another machine's file, whose path names one here too.
        QUrl(u"file://faraway.example.org/etc/x.jpg"_s), QUrl(u"file://localhost/card/here.jpg"_s),
        QUrl(u"file://%1/card/mine.jpg"_s.arg(QSysInfo::machineHostName()))};
    outside.setUrls(urls);
    const QStringList files = droppedFiles(&outside);
    ASSERT_EQ(files.size(), 4);
    EXPECT_EQ(files[0], u"/home/zoë/a b#1.jpg"_s);
    EXPECT_EQ(nameBytes(files[1]), QByteArray("/card/M\xfcller.jpg"));
    EXPECT_EQ(files[2], u"/card/here.jpg"_s);
    EXPECT_EQ(files[3], u"/card/mine.jpg"_s);

    std::unique_ptr<QMimeData> ours(makeDragData(u"fs"_s));
    ours->setUrls(urls);
    EXPECT_TRUE(droppedFiles(ours.get()).isEmpty());
    EXPECT_TRUE(droppedFiles(nullptr).isEmpty());
}

TEST_F(DropTest, ADropImportsIntoTheBoxAndKeepsTheSources) {
    ui.answers.enqueue(MsgAnswer::No); // not the subfolders
    writeFile(drop + u"/damaged.jpg"_s, "not a picture");
    const int n = importDrop(a, hub, pictures, {drop, at(u"sub/c.jpeg"_s)});
    EXPECT_EQ(n, 4);
    ASSERT_EQ(ui.shown.size(), 2);
    EXPECT_EQ(ui.shown[0].title, u"Import Images"_s);
    EXPECT_EQ(ui.shown[0].buttons, MsgButtons::YesNo);
    // The damaged one is a load error like any, and the run goes on.
    EXPECT_EQ(ui.shown[1].title, u"Import Image - Load Error"_s);
    EXPECT_TRUE(ui.shown[1].text.endsWith(at(u"damaged.jpg"_s)));
    EXPECT_EQ(hub.calls, QStringList(u"AddToFS -1 nimps 4"_s));
    EXPECT_EQ(copies().size(), 4);
    EXPECT_EQ(copies().filter(u".bmp"_s).size(), 1);
    for (const QString& source : at("A.JPG b.jpg e.BMP sub/c.jpeg damaged.jpg"))
        EXPECT_TRUE(QFile::exists(source)) << qPrintable(source);
    EXPECT_TRUE(QFile::exists(a.albfile));
}

TEST_F(DropTest, SubfoldersWhenTheUserSaysYesAndALongRunShowsItsProgress) {
    for (int i = 0; i < 6; ++i)
        put(u"sub/deeper/more%1.jpg"_s.arg(i));
    ui.answers.enqueue(MsgAnswer::Yes);
    EXPECT_EQ(importDrop(a, hub, pictures, {drop}), 11);
    EXPECT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(copies().size(), 11);
}

TEST_F(DropTest, NothingToImportOrNoRoomIsSaidAndNothingChanges) {
    EXPECT_EQ(importDrop(a, hub, pictures, {at(u"notes.txt"_s)}), 0);
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, u"No Pictures to Import"_s);

    a.maxpics = 2;
    EXPECT_EQ(importDrop(a, hub, pictures, at("A.JPG b.jpg e.BMP")), 0);
    ASSERT_EQ(ui.shown.size(), 2);
    EXPECT_EQ(ui.shown[1].title, u"Import Images - Error"_s);

    a.maxpics = 1000;
    a.canwrite = 'N';
    EXPECT_EQ(importDrop(a, hub, pictures, at("A.JPG")), 0);
    EXPECT_EQ(ui.shown.size(), 2);
    EXPECT_TRUE(copies().isEmpty());
    EXPECT_TRUE(hub.calls.isEmpty());
}
