// The album chooser as a window, on the offscreen platform.

#include "albumfile.h"
#include "albumfixture.h"
#include "config.h"
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
using namespace Qt::StringLiterals;

namespace {

struct RecordingHub : WindowHub {
    QStringList calls;
    void SetPage() override { calls.append(u"SetPage"_s); }
    void LoadFS(int) override { calls.append(u"LoadFS"_s); }
    void showPageView() override { calls.append(u"showPageView"_s); }
    void quit() override { calls.append(u"quit"_s); }
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
    QString trip = tmp.filePath(u"TRIP.vmb"_s);

    ChooserFixture() {
        a.ui = &ui;
        a.views = &hub;
        a.cfgfile = tmp.filePath(u"vimbra.cfg"_s);
        a.maildir = tmp.filePath(u"mail"_s);
        QDir().mkpath(a.maildir);
        a.pgsize = 1;
        a.descon = 'n';
        ClearAlbum(a);
        a.cfglist.append(AlbumList::other, AlbumList::other);
        // Make TRIP on disk and remember it.
        a.albname = u"TRIP"_s;
        a.albfile = trip;
        a.albtitle = u"TRIP.vmb"_s;
        a.picdir = tmp.filePath(u"TRIP/"_s);
        QDir().mkpath(a.picdir);
        WriteAlbum(a);
        ClearAlbum(a);
        a.albfile.clear();
        a.albtitle.clear();
        w = std::make_unique<vimbra>(a, hub);
        w->showFileDlg = [this](DlgMode m) {
            dialogs.append(m);
            a.dlgmode = u"None"_s;
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

TEST(Chooser, OpenAndNewReadTheRowOrAskForAFile) {
    ChooserFixture f;
    f.openTrip();
    EXPECT_EQ(f.a.albfile, f.trip);
    EXPECT_EQ(f.hub.calls.mid(f.hub.calls.size() - 2),
              QStringList({u"showPageView"_s, u"SetPage"_s}));

    f.hub.calls.clear();
    f.select(1);
    f.w->cb_open_Click();
    EXPECT_EQ(f.dialogs, QList<DlgMode>({DlgMode::Open}));
    EXPECT_TRUE(f.hub.calls.isEmpty()); // cancelled: the chooser stays

    // New, cancelled, leaves no album open.
    f.w->cb_new_Click();
    EXPECT_EQ(f.dialogs.last(), DlgMode::New);
    EXPECT_TRUE(f.a.albfile.isEmpty());
    EXPECT_FALSE(f.w->cb_cancel->isEnabled());

    // An album that cannot be read keeps the chooser.
    QFile::remove(f.trip);
    f.openTrip();
    EXPECT_EQ(f.ui.shown.size(), 1);
    EXPECT_FALSE(f.hub.calls.contains(u"showPageView"_s));
}

TEST(Chooser, DeleteKeyForgetsTheRowButNeverOther) {
    ChooserFixture f;
    f.select(0);
    f.ui.answers.enqueue(MsgAnswer::No);
    QTest::keyClick(f.w->cfgnames, Qt::Key_Delete);
    EXPECT_EQ(f.ui.shown.size(), 1);
    EXPECT_EQ(f.a.cfglist.count(), 2);

    f.select(1);
    f.ui.answers.enqueue(MsgAnswer::Yes);
    f.w->DelListItem();
    EXPECT_EQ(f.a.cfglist.count(), 2);

    f.select(0);
    f.ui.answers.enqueue(MsgAnswer::Yes);
    f.w->DelListItem();
    EXPECT_EQ(f.a.cfglist.count(), 1);
    EXPECT_TRUE(QFileInfo::exists(f.trip)); // only forgotten
}

TEST(Chooser, ExitAsksToSaveAndLeavesNoUnsavedPictures) {
    ChooserFixture f;
    f.openTrip();
    f.a.canwrite = 'Y';
    f.a.changed = 'y';
    f.a.filenew[1] = -1;
    touch(f.a.picdir + u"vmb0001.jpg"_s);
    touch(f.a.picdir + u"vmb0002.jpg"_s);
    touch(f.a.maildir + u"/copy.jpg"_s);

    f.hub.calls.clear();
    f.ui.answers.enqueue(MsgAnswer::Cancel);
    f.w->cb_exit_Click();
    EXPECT_FALSE(f.hub.calls.contains(u"quit"_s));
    EXPECT_TRUE(QFileInfo::exists(f.a.picdir + u"vmb0001.jpg"_s));

    f.ui.answers.enqueue(MsgAnswer::No);
    f.w->cb_exit_Click();
    EXPECT_TRUE(f.hub.calls.contains(u"quit"_s));
    EXPECT_FALSE(QFileInfo::exists(f.a.picdir + u"vmb0001.jpg"_s));
    EXPECT_TRUE(QFileInfo::exists(f.a.picdir + u"vmb0002.jpg"_s));
    EXPECT_FALSE(QFileInfo::exists(f.a.maildir + u"/copy.jpg"_s));
}

TEST(SavePicture, RefusedNamesBringTheDialogBack) {
    ChooserFixture f;
    f.openTrip();
    const QString source = f.a.picdir + u"vmb0001.jpg"_s;
    QImage img(64, 48, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    ASSERT_TRUE(img.save(source, "JPEG"));
    PictureLibrary pictures(f.tmp.filePath(u"thumbs"_s), 8 << 20);

    const QString out = f.tmp.filePath(u"out"_s);
    QDir().mkpath(out);
    f.ui.saveNames.enqueue(out + u"/x.JPG"_s);          // extension case
    f.ui.saveNames.enqueue(f.a.picdir + u"copy.gif"_s); // the album's own folder
    f.ui.saveNames.enqueue(out + u"/copy.gif"_s);
    SavePicAs(f.a, pictures, source);

    // Each refusal is an error and the dialog again.
    EXPECT_EQ(f.ui.shown.size(), 5);
    EXPECT_EQ(QImage(out + u"/copy.gif"_s).size(), QSize(64, 48));
    EXPECT_FALSE(QFileInfo::exists(f.a.picdir + u"copy.gif"_s));
}
