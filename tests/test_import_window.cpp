// SPDX-License-Identifier: GPL-3.0-or-later
// The import window on the offscreen platform: where it opens, when "&Import" may be pressed,
// and runs short and long.

#include "bindmount.h"
#include "filenames.h"
#include "foreignfiles.h"
#include "impimg.h"
#include "importfixture.h"
#include "importrules.h"
#include "picturefiles.h"
#include "poolgate.h"
#include "specialfiles.h"
#include "waitpictures.h"

#include <QBitmap>
#include <QFile>
#include <QRegion>
#include <QScopeGuard>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vimbrel;
using namespace vimbrel::test;
using namespace Qt::StringLiterals;

namespace {

struct ImportWindowTest : ::testing::Test, ImportAlbum {
    CountingHub hub{a};
    QString card = tmp.filePath(u"card"_s);
    std::unique_ptr<impimg> w;

    void SetUp() override {
        a.carddir = card;
        QDir().mkpath(card + u"/sub"_s);
        for (const QString& n : names("A.JPG b.jpeg c.jpg"))
            writeFile(card + u'/' + n, jpegBytes(markedPicture(640, 480)));
        writeFile(card + u"/D.Gif"_s, gifBytes(markedPicture(40, 30)));
        writeFile(card + u"/e.BMP"_s, bmpBytes(markedPicture(40, 30), 24));
        writeFile(card + u"/f.txt"_s, "not listed");
        // Converted on the way in: listed in any letter case (and judged when imported).
        writeFile(card + u"/h.HEIC"_s, "converted");
        writeFile(card + u"/i.Nef"_s, "converted");
        writeFile(card + u"/g.jpg"_s, "not a picture");
    }
    void open() {
        w = std::make_unique<impimg>(a, hub, pictures);
        w->show();
    }
    void TearDown() override { EXPECT_EQ(pictures.stats().guiThreadLoads, 0); }
    void click(const QString& name, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        clickOnly(name, mods);
        EXPECT_TRUE(test::waitForPictures(*w));
    }
    void clickOnly(const QString& name, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const auto found = w->flebox->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << qPrintable(name);
        const QRect rect = w->flebox->visualItemRect(found[0]);
        QTest::mouseClick(w->flebox->viewport(), Qt::LeftButton, mods, rect.center());
    }
    QStringList listed() {
        QStringList out;
        for (int i = 0; i < w->flebox->count(); ++i)
            out.append(w->flebox->item(i)->text());
        return out;
    }
};

} // namespace

TEST_F(ImportWindowTest, OpensOnTheCardFolderButNeverImportsFromTheAlbumsOwn) {
    open();
    EXPECT_FALSE(w->cb_import->isEnabled());
    EXPECT_EQ(w->dirbox->path(), card);
    EXPECT_EQ(listed(), names("A.JPG b.jpeg c.jpg D.Gif e.BMP g.jpg h.HEIC i.Nef"));
    EXPECT_TRUE(ui.shown.isEmpty());

    // The picture folder is shown, also behind a link or a bind mount, but cannot be opened
    // or imported from.
    QFile::link(tmp.filePath(u"TRIP"_s), tmp.filePath(u"link"_s));
    const BindMount bound(a.picdir, tmp.filePath(u"bound"_s));
    w->dirbox->setPath(tmp.path());
    QStringList ways{u"TRIP"_s, u"link"_s};
    if (bound.active)
        ways.append(u"bound"_s);
    for (const QString& way : ways) {
        const auto rows = w->dirbox->findItems(way, Qt::MatchExactly);
        ASSERT_EQ(rows.size(), 1) << qPrintable(way);
        EXPECT_FALSE(rows[0]->flags() & Qt::ItemIsEnabled) << qPrintable(way);
        w->dirbox->setPath(tmp.filePath(way));
        EXPECT_FALSE(w->flebox->isEnabled()) << qPrintable(way);
        w->dirbox->setPath(tmp.path());
    }
    EXPECT_TRUE(w->dirbox->findItems(u"card"_s, Qt::MatchExactly).value(0)->flags() &
                Qt::ItemIsEnabled);
    w->dirbox->setPath(card);
    EXPECT_TRUE(w->flebox->isEnabled());

    // A missing card folder is reported and another folder opens.
    a.carddir = tmp.filePath(u"gone"_s);
    open();
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_TRUE(ui.shown[0].text.endsWith(a.carddir));
    EXPECT_FALSE(w->dirbox->path().isEmpty());
}

TEST_F(ImportWindowTest, ImportIsEnabledByAClickAndDisabledByMovesAndBadPreviews) {
    open();
    click(u"A.JPG"_s);
    EXPECT_TRUE(w->cb_import->isEnabled());
    EXPECT_EQ(w->pbsize->text(), u"640 x 480"_s);

    click(u"g.jpg"_s);
    EXPECT_EQ(ui.shown.size(), 1);
    EXPECT_FALSE(w->cb_import->isEnabled());

    click(u"A.JPG"_s);
    ASSERT_TRUE(w->cb_import->isEnabled());
    emit w->drvbox->activated(w->drvbox->findData(u"/"_s));
    EXPECT_FALSE(w->cb_import->isEnabled());
    EXPECT_EQ(w->dirbox->path(), u"/"_s);
}

TEST_F(ImportWindowTest, ConvertedFormatsPreviewUprightAndDamagedOnesSayWhy) {
    const QImage shown = markedPicture(300, 400);
    writeFile(card + u"/p.HEIC"_s, heicBytes(storedFor(shown, 6), {6, {}, {}, {}}));
    writeFile(card + u"/r.dng"_s, dngBytes(storedFor(shown, 8), {8, {}, {}, {}}));
    open();
    for (const QString& name : {u"p.HEIC"_s, u"r.dng"_s}) {
        click(name);
        EXPECT_TRUE(ui.shown.isEmpty()) << qPrintable(ui.shown.value(0).text);
        EXPECT_TRUE(w->cb_import->isEnabled()) << qPrintable(name);
        EXPECT_EQ(w->pbsize->text(), u"300 x 400"_s) << qPrintable(name);
        const QImage preview = w->pb->pixmap().toImage();
        const QRect drawn = QRegion(QBitmap::fromImage(preview.createAlphaMask())).boundingRect();
        EXPECT_LT(drawn.width(), drawn.height()) << qPrintable(name);
        EXPECT_TRUE(near(preview.pixel(drawn.left() + 3, drawn.top() + 3), kRed, 80))
            << qPrintable(name);
    }
    click(u"i.Nef"_s); // "converted": no raw file at all
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].title, u"Load Image Error"_s);
    EXPECT_FALSE(w->cb_import->isEnabled());
}

TEST_F(ImportWindowTest, NothingSelectedOrNoRoomCopiesNothing) {
    open();
    w->cb_import_Click();
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].text, u"Please Select Images"_s);

    a.npics = 990;
    a.npbox = 8;
    a.pbfirst = 993;
    click(u"A.JPG"_s);
    click(u"b.jpeg"_s, Qt::ControlModifier);
    click(u"c.jpg"_s, Qt::ControlModifier);
    w->cb_import_Click();
    ASSERT_EQ(ui.shown.size(), 2);
    EXPECT_EQ(ui.shown[1].text, capacityText(1000));
    EXPECT_TRUE(copies().isEmpty());

    click(u"c.jpg"_s, Qt::ControlModifier); // 998 + 2 fit exactly
    w->cb_import_Click();
    EXPECT_EQ(copies(), names("vmb0001.jpg vmb0002.jpg"));
    EXPECT_EQ(hub.calls, QStringList(u"AddToFS -1 nimps 2"_s));
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ImportWindowTest, LongRunsShowProgressAndCanBeCancelled) {
    for (int i = 0; i < 12; ++i)
        writeFile(card + u"/long%1.jpg"_s.arg(i, 2, 10, QLatin1Char('0')),
                  jpegBytes(markedPicture(1600, 1200)));
    open();
    w->flebox->setFocus();
    click(u"long00.jpg"_s);
    click(u"long11.jpg"_s, Qt::ShiftModifier);
    ASSERT_EQ(w->flebox->selectedNames().size(), 12);
    w->cb_import_Click();
    ASSERT_TRUE(w->running());
    EXPECT_TRUE(w->frprog->isVisible());
    EXPECT_FALSE(w->cb_cancel->isEnabled());
    QTest::mouseClick(w->cb_stop, Qt::LeftButton);
    EXPECT_FALSE(w->running());
    EXPECT_TRUE(w->isVisible());
    // What was copied went to the Photo Box and left the selection; the rest waits.
    const int copied = int(copies().size());
    EXPECT_EQ(w->flebox->selectedNames().size(), 12 - copied);
    EXPECT_EQ(hub.calls.size(), copied > 0 ? 1 : 0);
}

TEST_F(ImportWindowTest, AnAlbumWriteFailingWhenALongRunIsCancelledEndsTheRunOnce) {
    // The drive holding the album went away: the write's box is open while the files still
    // in flight finish, and its event loop delivers their signal.
    ASSERT_TRUE(ui.spin);
    a.albfile = tmp.filePath(u"gone/TRIP.vmb"_s);
    const QByteArray picture = jpegBytes(markedPicture(1600, 1200));
    for (int i = 0; i < 40; ++i)
        writeFile(card + u"/long%1.jpg"_s.arg(i, 2, 10, QLatin1Char('0')), picture);
    open();
    w->flebox->setFocus();
    for (const bool byEscape : {false, true}) {
        click(u"long00.jpg"_s);
        click(u"long39.jpg"_s, Qt::ShiftModifier);
        ui.shown.clear();
        // Stopped right after the first file settles. Cancel is clicked inside the step that
        // settled it; Escape is posted, so it usually comes while the watcher waits for the
        // next file (a run whose files all settle in one step has no such moment).
        bool stopped = false;
        QMetaObject::Connection stop;
        stop = QObject::connect(
            w->prbar, &QProgressBar::valueChanged, w.get(),
            [&, byEscape](int settled) {
                // A box that is open is modal: the window gets no keys or clicks meanwhile.
                if (settled == 0 || !w->running() || ui.openBoxes > 0)
                    return;
                QObject::disconnect(stop);
                stopped = true;
                if (byEscape)
                    QTest::keyClick(w.get(), Qt::Key_Escape);
                else
                    QTest::mouseClick(w->cb_stop, Qt::LeftButton);
            },
            byEscape ? Qt::QueuedConnection : Qt::DirectConnection);
        w->cb_import_Click();
        ASSERT_TRUE(w->running());
        QTRY_VERIFY(!w->running());
        QObject::disconnect(stop);
        if (!stopped)
            continue;
        EXPECT_FALSE(w->running());
        EXPECT_EQ(ui.shown.size(), 1);
        EXPECT_EQ(ui.shown.value(0).title, u"Save - ERROR"_s);
        EXPECT_EQ(ui.maxOpenBoxes, 1);
        EXPECT_TRUE(w->isVisible());
        QCoreApplication::processEvents();
        EXPECT_FALSE(w->running());
    }
}

TEST_F(ImportWindowTest, ListsPlainFilesOnlyAndNamesByTheirBytes) {
    for (const SpecialKind& kind : specialKinds())
        kind.make(card + u"/x-"_s + QString::fromLatin1(kind.name).replace(u' ', u'-') + u".jpg"_s);
    const LossyNames n(card);
    const auto removeLatin1 =
        qScopeGuard([&] { ::unlink((QFile::encodeName(card) + '/' + n.latin1).constData()); });
    open();
    QStringList expected = names("A.JPG b.jpeg c.jpg D.Gif e.BMP g.jpg h.HEIC i.Nef");
    expected << nameText(n.latin1) << nameText(n.lookAlike);
    std::sort(expected.begin(), expected.end(), [](const QString& x, const QString& y) {
        const int c = QString::compare(x, y, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : x < y;
    });
    EXPECT_EQ(listed(), expected) << qPrintable(listed().join(u'|')) << " / "
                                  << qPrintable(expected.join(u'|'));

    click(nameText(n.latin1));
    EXPECT_TRUE(ui.shown.isEmpty()) << qPrintable(ui.shown.value(0).text);
    EXPECT_EQ(w->pbsize->text(), u"80 x 60"_s);
    ASSERT_TRUE(w->cb_import->isEnabled());
    w->cb_import_Click();
    ASSERT_EQ(copies(), names("vmb0001.jpg"));
    EXPECT_EQ(readFile(a.picdir + u"vmb0001.jpg"_s), jpegBytes(markedPicture(80, 60)));
}

// The preview is made off the GUI thread: a click on another file before it is ready drops
// it, error and all, and only the file clicked last is shown.
TEST_F(ImportWindowTest, OnlyTheLastClickedFileIsPreviewed) {
    open();
    {
        PoolGate busy(pictures);
        clickOnly(u"g.jpg"_s);
        clickOnly(u"D.Gif"_s);
        clickOnly(u"A.JPG"_s);
        EXPECT_EQ(w->picturesPending(), 1);
    }
    ASSERT_TRUE(waitForPictures(*w));
    ASSERT_TRUE(pictures.pool().waitForDone(20000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(ui.shown.isEmpty()) << qPrintable(ui.shown.value(0).text);
    EXPECT_EQ(w->pbsize->text(), u"640 x 480"_s);
    EXPECT_TRUE(w->cb_import->isEnabled());
}

// Import pressed before the preview of an unreadable file is ready: the run reports the file,
// and the preview arriving afterwards does not report it a second time.
TEST_F(ImportWindowTest, AnUnreadableFileImportedBeforeItsPreviewIsReportedOnce) {
    open();
    {
        PoolGate busy(pictures);
        clickOnly(u"g.jpg"_s);
        w->cb_import_Click(); // one file: the run ends before the button returns
    }
    ASSERT_TRUE(waitForPictures(*w));
    ASSERT_TRUE(pictures.pool().waitForDone(20000));
    QCoreApplication::processEvents();
    EXPECT_EQ(ui.shown.size(), 1) << qPrintable(ui.shown.value(1).text);
    EXPECT_FALSE(w->cb_import->isEnabled());
}
