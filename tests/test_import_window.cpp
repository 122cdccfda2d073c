// The import window on the offscreen platform: where it opens, when "&Import" may be pressed,
// every message it shows, and runs short and long.

#include "albumfixture.h"
#include "impimg.h"
#include "importrules.h"
#include "picturefiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace vimbrel;
using namespace vimbrel::test;

namespace {

struct RecordingHub : WindowHub {
    Album* a = nullptr;
    QStringList calls;
    void AddToFS(int pos) override {
        calls.append(QStringLiteral("AddToFS %1 nimps %2").arg(pos).arg(a->nimps));
    }
};

struct ImportWindowTest : ::testing::Test {
    QTemporaryDir tmp;
    Fixture f;
    Album& a = f.a;
    ScriptedUi& ui = f.ui;
    RecordingHub hub;
    PictureLibrary pictures{tmp.filePath(QStringLiteral("thumbs")), 16 << 20};
    QString card = tmp.filePath(QStringLiteral("card"));
    std::unique_ptr<impimg> w;

    void SetUp() override {
        hub.a = &a;
        a.albname = QStringLiteral("TRIP");
        a.albtitle = QStringLiteral("TRIP.vmb");
        a.albfile = tmp.filePath(QStringLiteral("TRIP.vmb"));
        a.picdir = tmp.filePath(QStringLiteral("TRIP/"));
        a.cfgfile = tmp.filePath(QStringLiteral("vimbra.cfg"));
        a.cfglist.append(AlbumList::other, AlbumList::other);
        a.canwrite = 'Y';
        a.carddir = card;
        QDir().mkpath(a.picdir);
        QDir().mkpath(card + QStringLiteral("/sub"));
        for (const char* n : {"A.JPG", "b.jpeg", "c.jpg"})
            writeFile(card + QLatin1Char('/') + QLatin1String(n),
                      jpegBytes(markedPicture(640, 480)));
        writeFile(card + QStringLiteral("/D.Gif"), gifBytes(markedPicture(40, 30)));
        writeFile(card + QStringLiteral("/e.BMP"), bmpBytes(markedPicture(40, 30), 24));
        writeFile(card + QStringLiteral("/f.png"), "not listed");
        writeFile(card + QStringLiteral("/g.jpg"), "not a picture");
    }
    void open() {
        w = std::make_unique<impimg>(a, hub, pictures);
        w->show();
    }
    int row(const QString& name) {
        for (int i = 0; i < w->flebox->count(); ++i)
            if (w->flebox->item(i)->text() == name)
                return i;
        return -1;
    }
    void click(const QString& name, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const int r = row(name);
        ASSERT_GE(r, 0) << qPrintable(name);
        const QRect rect = w->flebox->visualItemRect(w->flebox->item(r));
        QTest::mouseClick(w->flebox->viewport(), Qt::LeftButton, mods, rect.center());
    }
    QStringList listed() {
        QStringList out;
        for (int i = 0; i < w->flebox->count(); ++i)
            out.append(w->flebox->item(i)->text());
        return out;
    }
    QStringList copies() { return QDir(a.picdir).entryList(QDir::Files, QDir::Name); }
};

} // namespace

TEST_F(ImportWindowTest, OpensOnTheCardFolderListingPicturesInAnyLetterCase) {
    open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Import Image"));
    EXPECT_EQ(w->cb_import->text(), QStringLiteral("&Import"));
    EXPECT_EQ(w->cb_cancel->text(), QStringLiteral("&Return"));
    EXPECT_FALSE(w->cb_cancel->icon().isNull());
    EXPECT_EQ(w->ck_del->text(), QStringLiteral("Delete Source After Import?"));
    EXPECT_FALSE(w->cb_import->isEnabled());
    EXPECT_EQ(w->dirbox->path(), card);
    EXPECT_EQ(listed(), QStringList({QStringLiteral("A.JPG"), QStringLiteral("b.jpeg"),
                                     QStringLiteral("c.jpg"), QStringLiteral("D.Gif"),
                                     QStringLiteral("e.BMP"), QStringLiteral("g.jpg")}));
    EXPECT_TRUE(ui.shown.isEmpty());
}

TEST_F(ImportWindowTest, AMissingCardFolderIsReportedAndAnotherFolderOpens) {
    a.carddir = tmp.filePath(QStringLiteral("gone"));
    open();
    ASSERT_GE(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].title, QStringLiteral("Drive - ERROR"));
    EXPECT_EQ(ui.shown[0].text,
              QString::fromLocal8Bit(std::strerror(ENOENT)) + QLatin1Char('\r') + a.carddir);
    EXPECT_EQ(ui.shown[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(w->dirbox->path().isEmpty());
}

TEST_F(ImportWindowTest, ImportIsEnabledByAClickAndDisabledByMovesAndBadPreviews) {
    open();
    click(QStringLiteral("A.JPG"));
    EXPECT_TRUE(w->cb_import->isEnabled());
    EXPECT_FALSE(w->pb->pixmap().isNull());
    EXPECT_EQ(w->pbsize->text(), QStringLiteral("640 x 480"));

    click(QStringLiteral("c.jpg"), Qt::ControlModifier); // two selected: no preview
    EXPECT_TRUE(w->cb_import->isEnabled());
    EXPECT_TRUE(w->pb->pixmap().isNull());
    EXPECT_TRUE(w->pbsize->text().isEmpty());

    click(QStringLiteral("g.jpg"));
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].title, QStringLiteral("Load Image Error"));
    EXPECT_EQ(ui.shown[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(w->cb_import->isEnabled());

    click(QStringLiteral("A.JPG"));
    ASSERT_TRUE(w->cb_import->isEnabled());
    w->dirbox->setPath(card + QStringLiteral("/sub"));
    EXPECT_FALSE(w->cb_import->isEnabled());
    EXPECT_TRUE(w->pb->pixmap().isNull());

    w->dirbox->setPath(card);
    click(QStringLiteral("A.JPG"));
    ASSERT_TRUE(w->cb_import->isEnabled());
    emit w->drvbox->activated(w->drvbox->findData(QStringLiteral("/")));
    EXPECT_FALSE(w->cb_import->isEnabled());
    EXPECT_EQ(w->dirbox->path(), QStringLiteral("/"));
}

TEST_F(ImportWindowTest, TheAlbumsOwnPictureFolderIsShownButCannotBeImportedFrom) {
    open();
    w->dirbox->setPath(tmp.path());
    const auto rows = w->dirbox->findItems(QStringLiteral("TRIP"), Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_FALSE(rows[0]->flags() & Qt::ItemIsEnabled);
    w->dirbox->setPath(a.picdir);
    EXPECT_FALSE(w->flebox->isEnabled());
    w->dirbox->setPath(card);
    EXPECT_TRUE(w->flebox->isEnabled());
}

TEST_F(ImportWindowTest, MemoryCardPathAsksAndRemembersTheFolder) {
    a.carddir.clear();
    open();
    w->dirbox->setPath(card + QStringLiteral("/sub"));
    ui.answers.enqueue(MsgAnswer::No);
    w->cb_memcard_Click();
    EXPECT_TRUE(a.carddir.isEmpty());
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].title, QStringLiteral("Memory Card Path"));
    EXPECT_EQ(ui.shown[0].text,
              QStringLiteral("Make \r") + card + QStringLiteral("/sub\rThe Memory Card Path"));
    EXPECT_EQ(ui.shown[0].icon, MsgIcon::Question);
    EXPECT_EQ(ui.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_FALSE(QFile::exists(a.cfgfile));

    ui.answers.enqueue(MsgAnswer::Yes);
    w->cb_memcard_Click();
    EXPECT_EQ(a.carddir, card + QStringLiteral("/sub"));
    EXPECT_TRUE(QFile::exists(a.cfgfile));
}

TEST_F(ImportWindowTest, NothingSelectedOrNoRoomCopiesNothing) {
    open();
    w->cb_import_Click();
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(ui.shown[0].title, QStringLiteral("Import Images"));
    EXPECT_EQ(ui.shown[0].text, QStringLiteral("Please Select Images"));
    EXPECT_EQ(ui.shown[0].icon, MsgIcon::Information);

    a.npics = 990;
    a.npbox = 8;
    a.pbfirst = 993;
    click(QStringLiteral("A.JPG"));
    click(QStringLiteral("b.jpeg"), Qt::ControlModifier);
    click(QStringLiteral("c.jpg"), Qt::ControlModifier);
    w->cb_import_Click();
    ASSERT_EQ(ui.shown.size(), 2);
    EXPECT_EQ(ui.shown[1].title, QStringLiteral("Import Images - Error"));
    EXPECT_EQ(ui.shown[1].text, capacityText(1000));
    EXPECT_EQ(ui.shown[1].icon, MsgIcon::Critical);
    EXPECT_TRUE(copies().isEmpty());

    click(QStringLiteral("c.jpg"), Qt::ControlModifier); // 998 + 2 fit exactly
    w->cb_import_Click();
    EXPECT_EQ(copies(),
              QStringList({QStringLiteral("vmb0001.jpg"), QStringLiteral("vmb0002.jpg")}));
    EXPECT_EQ(hub.calls, QStringList(QStringLiteral("AddToFS -1 nimps 2")));
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ImportWindowTest, ARunOfUnreadableFilesKeepsTheWindowOpenWithImportDisabled) {
    writeFile(card + QStringLiteral("/h.gif"), "GIF89a");
    open();
    click(QStringLiteral("g.jpg"));
    ui.shown.clear();
    click(QStringLiteral("h.gif"), Qt::ControlModifier);
    w->cb_import_Click();
    ASSERT_EQ(ui.shown.size(), 2);
    EXPECT_EQ(ui.shown[1].title, QStringLiteral("Import Image - Load Error"));
    EXPECT_TRUE(ui.shown[1].text.endsWith(QStringLiteral("\rFILE: h.gif")));
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->cb_import->isEnabled());
    EXPECT_TRUE(w->flebox->selectedNames().isEmpty());
    EXPECT_TRUE(hub.calls.isEmpty());
    EXPECT_FALSE(QFile::exists(a.albfile));
}

TEST_F(ImportWindowTest, LongRunsShowProgressAndCanBeCancelled) {
    for (int i = 0; i < 12; ++i)
        writeFile(card + QStringLiteral("/long%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
                  jpegBytes(markedPicture(1600, 1200)));
    open();
    w->flebox->setFocus();
    click(QStringLiteral("long00.jpg"));
    click(QStringLiteral("long11.jpg"), Qt::ShiftModifier);
    ASSERT_EQ(w->flebox->selectedNames().size(), 12);
    w->cb_import_Click();
    ASSERT_TRUE(w->running());
    EXPECT_TRUE(w->frprog->isVisible());
    EXPECT_FALSE(w->cb_cancel->isEnabled());
    QTest::mouseClick(w->cb_stop, Qt::LeftButton);
    EXPECT_FALSE(w->running());
    EXPECT_FALSE(w->frprog->isVisible());
    EXPECT_TRUE(w->isVisible());
    // What was copied went to the Photo Box and left the selection; the rest waits.
    const int copied = int(copies().size());
    EXPECT_EQ(w->flebox->selectedNames().size(), 12 - copied);
    EXPECT_EQ(hub.calls.size(), copied > 0 ? 1 : 0);

    // Once more, to the end: the window closes by itself.
    hub.calls.clear();
    click(QStringLiteral("long00.jpg"));
    click(QStringLiteral("long11.jpg"), Qt::ShiftModifier);
    const int left = int(w->flebox->selectedNames().size());
    w->cb_import_Click();
    EXPECT_TRUE(w->running());
    QTRY_VERIFY_WITH_TIMEOUT(!w->running(), 60000);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(hub.calls, QStringList(QStringLiteral("AddToFS -1 nimps %1").arg(left)));
    EXPECT_EQ(int(copies().size()), copied + left);
}
