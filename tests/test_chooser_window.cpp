// The album chooser and the album file dialog as windows, on the offscreen platform.

#include "albumfile.h"
#include "albumfixture.h"
#include "config.h"
#include "filedlg.h"
#include "picturelibrary.h"
#include "savepicas.h"
#include "vimbra.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace vimbrel;

namespace {

struct RecordingHub : WindowHub {
    QStringList calls;
    void SetPage() override { calls.append(QStringLiteral("SetPage")); }
    void LoadFS(int) override { calls.append(QStringLiteral("LoadFS")); }
    void showPageView() override { calls.append(QStringLiteral("showPageView")); }
    void quit() override { calls.append(QStringLiteral("quit")); }
};

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

// A chooser over a temporary folder holding the album TRIP, remembered first.
struct ChooserFixture {
    QTemporaryDir tmp;
    std::unique_ptr<Album> album = std::make_unique<Album>();
    Album& a = *album;
    ScriptedUi ui;
    RecordingHub hub;
    std::unique_ptr<vimbra> w;
    QList<DlgMode> dialogs;
    QString trip = tmp.filePath(QStringLiteral("TRIP.vmb"));

    ChooserFixture() {
        a.ui = &ui;
        a.views = &hub;
        a.cfgfile = tmp.filePath(QStringLiteral("vimbra.cfg"));
        a.maildir = tmp.filePath(QStringLiteral("mail"));
        QDir().mkpath(a.maildir);
        a.pgsize = 1;
        a.descon = 'n';
        ClearAlbum(a);
        a.cfglist.append(AlbumList::other, AlbumList::other);
        // Make TRIP on disk and remember it.
        a.albname = QStringLiteral("TRIP");
        a.albfile = trip;
        a.albtitle = QStringLiteral("TRIP.vmb");
        a.picdir = tmp.filePath(QStringLiteral("TRIP/"));
        QDir().mkpath(a.picdir);
        WriteAlbum(a);
        ClearAlbum(a);
        a.albfile.clear();
        a.albtitle.clear();
        w = std::make_unique<vimbra>(a, hub);
        w->showFileDlg = [this](DlgMode m) {
            dialogs.append(m);
            a.dlgmode = QStringLiteral("None");
        };
    }
    void select(int row) {
        w->cfgnames->setCurrentIndex(a.cfglist.index(row, 0));
        w->SetCB();
    }
    void openTrip() {
        select(0);
        w->cb_open_Click();
    }
};

} // namespace

TEST(Chooser, ButtonsFollowTheStateOfTheAlbumAndTheRow) {
    ChooserFixture f;
    EXPECT_EQ(f.w->windowTitle(), QStringLiteral("Vimbrel v 01.00"));
    EXPECT_EQ(f.w->cb_saveas->text(), QStringLiteral("R&ename"));
    f.select(0);
    EXPECT_FALSE(f.w->cb_cancel->isEnabled()); // no album open
    EXPECT_FALSE(f.w->cb_save->isEnabled());

    f.openTrip();
    ASSERT_EQ(f.a.albfile, f.trip);
    f.a.canwrite = 'Y';
    f.select(0);
    EXPECT_TRUE(f.w->cb_cancel->isEnabled());
    EXPECT_TRUE(f.w->cb_save->isEnabled());
    EXPECT_TRUE(f.w->cb_saveas->isEnabled());

    f.select(1); // "Other ..."
    EXPECT_FALSE(f.w->cb_save->isEnabled());
    EXPECT_FALSE(f.w->cb_saveas->isEnabled());

    f.a.canwrite = 'N';
    f.select(0);
    EXPECT_FALSE(f.w->cb_save->isEnabled());
    EXPECT_TRUE(f.w->cb_cancel->isEnabled());
}

TEST(Chooser, OpenReadsTheRowOrAsksForAFile) {
    ChooserFixture f;
    f.openTrip();
    EXPECT_TRUE(f.ui.shown.isEmpty());
    EXPECT_EQ(f.a.curpage, -1);
    EXPECT_EQ(f.hub.calls.mid(f.hub.calls.size() - 2),
              QStringList({QStringLiteral("showPageView"), QStringLiteral("SetPage")}));

    f.hub.calls.clear();
    f.select(1);
    f.w->cb_open_Click();
    EXPECT_EQ(f.dialogs, QList<DlgMode>({DlgMode::Open}));
    EXPECT_TRUE(f.hub.calls.isEmpty()); // cancelled: the chooser stays

    // A listed name beginning with "Other" is a request for a file too.
    f.a.cfglist.insertFirst(QStringLiteral("Other2.vmb"),
                            f.tmp.filePath(QStringLiteral("Other2.vmb")));
    f.select(0);
    f.w->cb_open_Click();
    EXPECT_EQ(f.dialogs.size(), 2);
}

TEST(Chooser, AnAlbumThatCannotBeReadKeepsTheChooser) {
    ChooserFixture f;
    QFile::remove(f.trip);
    f.openTrip();
    ASSERT_EQ(f.ui.shown.size(), 1);
    EXPECT_EQ(f.ui.shown[0].title, QStringLiteral("Open - ERROR"));
    EXPECT_FALSE(f.w->cb_cancel->isEnabled());
    EXPECT_FALSE(f.hub.calls.contains(QStringLiteral("showPageView")));
}

TEST(Chooser, DeleteKeyForgetsTheRowButNeverOther) {
    ChooserFixture f;
    f.select(0);
    f.ui.answers.enqueue(MsgAnswer::No);
    QTest::keyClick(f.w->cfgnames, Qt::Key_Delete);
    ASSERT_EQ(f.ui.shown.size(), 1);
    EXPECT_EQ(f.ui.shown[0].title, QStringLiteral("Delete From List"));
    EXPECT_EQ(f.ui.shown[0].text, QStringLiteral("Delete 'TRIP.vmb' From The Album List"));
    EXPECT_EQ(f.a.cfglist.count(), 2);

    f.select(1);
    f.ui.answers.enqueue(MsgAnswer::Yes);
    f.w->DelListItem();
    EXPECT_EQ(f.a.cfglist.count(), 2);

    f.select(0);
    f.ui.answers.enqueue(MsgAnswer::Yes);
    f.w->DelListItem();
    EXPECT_EQ(f.a.cfglist.count(), 1);
    QFile cfg(f.a.cfgfile);
    ASSERT_TRUE(cfg.open(QIODevice::ReadOnly));
    EXPECT_EQ(cfg.read(2), QByteArray("\0\0", 2));
    EXPECT_TRUE(QFileInfo::exists(f.trip)); // only forgotten
}

TEST(Chooser, ExitAsksToSaveAndLeavesNoUnsavedPictures) {
    ChooserFixture f;
    f.openTrip();
    f.a.canwrite = 'Y';
    f.a.changed = 'y';
    f.a.filenew[1] = -1;
    touch(f.a.picdir + QStringLiteral("vmb0001.jpg"));
    touch(f.a.picdir + QStringLiteral("vmb0002.jpg"));
    touch(f.a.maildir + QStringLiteral("/copy.jpg"));

    f.hub.calls.clear();
    f.ui.answers.enqueue(MsgAnswer::Cancel);
    f.w->cb_exit_Click();
    EXPECT_EQ(f.ui.shown.last().text, QStringLiteral("Save changes before Quiting?"));
    EXPECT_FALSE(f.hub.calls.contains(QStringLiteral("quit")));
    EXPECT_TRUE(QFileInfo::exists(f.a.picdir + QStringLiteral("vmb0001.jpg")));

    f.ui.answers.enqueue(MsgAnswer::No);
    f.w->cb_exit_Click();
    EXPECT_TRUE(f.hub.calls.contains(QStringLiteral("quit")));
    EXPECT_FALSE(QFileInfo::exists(f.a.picdir + QStringLiteral("vmb0001.jpg")));
    EXPECT_TRUE(QFileInfo::exists(f.a.picdir + QStringLiteral("vmb0002.jpg")));
    EXPECT_FALSE(QFileInfo::exists(f.a.maildir + QStringLiteral("/copy.jpg")));
}

TEST(Chooser, NewCancelledLeavesNoAlbumOpen) {
    ChooserFixture f;
    f.openTrip();
    f.w->cb_new_Click();
    EXPECT_EQ(f.dialogs, QList<DlgMode>({DlgMode::New}));
    EXPECT_TRUE(f.a.albfile.isEmpty());
    EXPECT_EQ(f.a.pgsize, 3);
    EXPECT_FALSE(f.w->cb_cancel->isEnabled());
}

TEST(FileDialog, NameBoxTakesOnlyAllowedKeysAndEightOfThem) {
    ChooserFixture f;
    filedlg d(f.a, DlgMode::New);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Create a New Album"));
    EXPECT_TRUE(d.flebox1->isHidden());
    QTest::keyClicks(d.iname, QStringLiteral("my album!x"));
    EXPECT_EQ(d.iname->text(), QStringLiteral("myalbumx"));
    QTest::keyClicks(d.iname, QStringLiteral("z"));
    EXPECT_EQ(d.iname->text(), QStringLiteral("myalbumx"));
    QTest::keyClick(d.iname, Qt::Key_Backspace);
    EXPECT_EQ(d.iname->text(), QStringLiteral("myalbum"));
    QTest::keyClicks(d.idesc, QString(50, QLatin1Char('d')));
    EXPECT_EQ(d.idesc->text().size(), 40);
}

TEST(FileDialog, ModesShowTheirCaptionsAndCancelSaysNone) {
    ChooserFixture f;
    f.openTrip();
    f.a.cfglist.select(0);
    filedlg open(f.a, DlgMode::Open);
    EXPECT_EQ(open.windowTitle(), QStringLiteral("Open an Album"));
    EXPECT_EQ(open.cb_ok->text(), QStringLiteral("Open &Album"));
    EXPECT_TRUE(open.idesc->isHidden());

    filedlg ren(f.a, DlgMode::Rename);
    EXPECT_EQ(ren.windowTitle(), QStringLiteral("Rename Album 'TRIP'"));
    EXPECT_EQ(ren.cb_ok->text(), QStringLiteral("Rename &Album"));
    EXPECT_EQ(ren.iname->text(), QStringLiteral("TRIP"));
    EXPECT_EQ(ren.iname->selectedText(), QStringLiteral("TRIP"));
    EXPECT_FALSE(ren.dirbox1->isEnabled());
    EXPECT_EQ(ren.dirbox1->path(), f.tmp.path());
    EXPECT_EQ(ren.flebox1->count(), 1);
    ren.cb_cancel_Click();
    EXPECT_EQ(f.a.dlgmode, QStringLiteral("None"));
}

TEST(FileDialog, OpenByDoubleClickReadsTheAlbum) {
    ChooserFixture f;
    filedlg d(f.a, DlgMode::Open);
    d.dirbox1->setPath(f.tmp.path());
    d.flebox1->setPath(f.tmp.path());
    ASSERT_EQ(d.flebox1->count(), 1);
    d.flebox1_DblClick(QStringLiteral("TRIP.vmb"));
    EXPECT_EQ(d.iname->text(), QStringLiteral("TRIP"));
    EXPECT_EQ(f.a.albfile, f.trip);
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST(SavePicture, RefusedNamesBringTheDialogBack) {
    ChooserFixture f;
    f.openTrip();
    const QString source = f.a.picdir + QStringLiteral("vmb0001.jpg");
    QImage img(64, 48, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    ASSERT_TRUE(img.save(source, "JPEG"));
    PictureLibrary pictures(f.tmp.filePath(QStringLiteral("thumbs")), 8 << 20);

    const QString out = f.tmp.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    f.ui.saveNames.enqueue(out + QStringLiteral("/x.JPG"));          // extension case
    f.ui.saveNames.enqueue(f.a.picdir + QStringLiteral("copy.gif")); // the album's own folder
    f.ui.saveNames.enqueue(out + QStringLiteral("/copy.gif"));
    SavePicAs(f.a, pictures, source);

    QStringList titles;
    for (const auto& s : f.ui.shown)
        titles.append(s.title);
    EXPECT_EQ(titles, QStringList({QStringLiteral("Save Picture"), QStringLiteral("Save - ERROR"),
                                   QStringLiteral("Save Picture"), QStringLiteral("Save - ERROR"),
                                   QStringLiteral("Save Picture")}));
    EXPECT_EQ(f.ui.shown[1].text, QStringLiteral("File Extension Must Be  jpg , gif , or bmp"));
    EXPECT_EQ(f.ui.shown[3].text,
              QStringLiteral("File Can NOT be Saved to the Album's Picture Folder"));
    EXPECT_EQ(QImage(out + QStringLiteral("/copy.gif")).size(), QSize(64, 48));
    EXPECT_FALSE(QFileInfo::exists(f.a.picdir + QStringLiteral("copy.gif")));
    EXPECT_EQ(f.a.changed, 'n');
}
