// SPDX-License-Identifier: GPL-3.0-or-later
// The album chooser as a window, on the offscreen platform.

#include "albumfile.h"
#include "albumfixture.h"
#include "config.h"
#include "filedlg.h"
#include "mnemonics.h"
#include "picturelibrary.h"
#include "savepicas.h"
#include "vimbra.h"
#include "wabout.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>

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

    // New, cancelled, returns to the album that was open: no empty album behind Return.
    f.hub.calls.clear();
    f.w->cb_new_Click();
    EXPECT_EQ(f.dialogs.last(), DlgMode::New);
    EXPECT_EQ(f.a.albfile, f.trip);
    EXPECT_EQ(f.a.albname.trimmed(), u"TRIP"_s);
    EXPECT_TRUE(f.w->cb_cancel->isEnabled());
    EXPECT_EQ(f.hub.calls.mid(f.hub.calls.size() - 2),
              QStringList({u"showPageView"_s, u"SetPage"_s}));

    // With no album open before, New cancelled leaves none open.
    ClearAlbum(f.a);
    f.a.albfile.clear();
    f.a.albtitle.clear();
    f.w->cb_new_Click();
    EXPECT_TRUE(f.a.albfile.isEmpty());
    EXPECT_FALSE(f.w->cb_cancel->isEnabled());
    f.hub.calls.clear();

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

    for (int row : {1, 0}) { // "Other ..." stays, TRIP goes
        f.select(row);
        f.ui.answers.enqueue(MsgAnswer::Yes);
        f.w->DelListItem();
    }
    EXPECT_EQ(f.a.cfglist.count(), 1);
    EXPECT_EQ(f.a.cfglist.file(0), AlbumList::other);
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
    touch(f.a.maildir + u"/vmb0009.jpg"_s);

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
    EXPECT_FALSE(QFileInfo::exists(f.a.maildir + u"/vmb0009.jpg"_s));
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

TEST(Chooser, SaveAndRenameOnlyOnTheRowOfTheOpenAlbum) {
    ChooserFixture f;
    // A second TRIP in another folder, opened through "Other ...".
    const QString other = f.tmp.filePath(u"b/TRIP.vmb"_s);
    f.a.albname = u"TRIP"_s;
    f.a.albfile = other;
    f.a.picdir = f.tmp.filePath(u"b/TRIP/"_s);
    QDir().mkpath(f.a.picdir);
    ASSERT_TRUE(WriteAlbum(f.a));
    f.w->showFileDlg = [&f](DlgMode) {
        confirmNewOrOpen(f.a, DlgMode::Open, u"Open an Album"_s, u"TRIP"_s, {},
                         f.tmp.filePath(u"b"_s));
    };
    f.select(f.a.cfglist.count() - 1);
    f.w->cb_open_Click();
    ASSERT_EQ(f.a.albfile, other);
    f.a.canwrite = 'Y';
    f.w->Form_Activate();
    EXPECT_TRUE(f.w->cb_saveas->isEnabled());

    for (int row = 0; row < f.a.cfglist.count() - 1; ++row) {
        f.select(row);
        const bool open = f.a.cfglist.file(row) == other;
        EXPECT_EQ(f.w->cb_save->isEnabled(), open) << row;
        EXPECT_EQ(f.w->cb_saveas->isEnabled(), open) << row;
    }
}

TEST(Chooser, AnAlbumOpenInAnotherSessionOpensReadOnly) {
    ChooserFixture f;
    QLockFile session2(f.tmp.filePath(u".TRIP.vmb.lock"_s));
    session2.setStaleLockTime(0);
    ASSERT_TRUE(session2.tryLock(0));
    f.openTrip();
    EXPECT_EQ(f.a.albfile, f.trip);
    EXPECT_EQ(f.a.canwrite, 'N');
    ASSERT_EQ(f.ui.shown.size(), 1);
    EXPECT_EQ(f.ui.shown[0].title, u"Open - Read Only"_s);
    EXPECT_EQ(f.ui.shown[0].icon, MsgIcon::Information);
    EXPECT_TRUE(f.ui.shown[0].text.contains(f.trip));
    EXPECT_TRUE(f.ui.shown[0].text.contains(u"another Vimbrel session"_s));
    EXPECT_FALSE(f.w->cb_save->isEnabled());

    // Once the other session has left, the album is this one's until it is closed.
    session2.unlock();
    f.openTrip();
    EXPECT_EQ(f.ui.shown.size(), 1);
    EXPECT_FALSE(session2.tryLock(0));
    const auto keep = f.w->showFileDlg;
    f.w->showFileDlg = [&f](DlgMode) {
        f.a.dlgmode = u"New"_s;
    };                   // a new album is made
    f.w->cb_new_Click(); // and the old one is closed
    EXPECT_TRUE(session2.tryLock(0));
    f.w->showFileDlg = keep;

    // Something in the way of the lock (a pipe, a folder, a link): nothing waits on it, and the
    // album opens read-only, saying why, since a second session could not see this one.
    session2.unlock();
    const QString lockPath = f.tmp.filePath(u".TRIP.vmb.lock"_s);
    const auto inTheWay = std::to_array<std::function<bool()>>({
        [&] { return ::mkfifo(QFile::encodeName(lockPath).constData(), 0600) == 0; },
        [&] { return QDir().mkdir(lockPath); },
        [&] { return QFile::link(f.tmp.filePath(u"nowhere"_s), lockPath); },
    });
    for (const auto& make : inTheWay) {
        f.ui.shown.clear();
        ASSERT_TRUE(make());
        f.openTrip();
        EXPECT_EQ(f.a.albfile, f.trip);
        EXPECT_EQ(f.a.canwrite, 'N');
        ASSERT_EQ(f.ui.shown.size(), 1);
        EXPECT_EQ(f.ui.shown[0].title, u"Open - Read Only"_s);
        EXPECT_TRUE(f.ui.shown[0].text.contains(u"cannot be locked"_s));
        QFile::remove(lockPath);
        QDir().rmdir(lockPath);
    }
}

namespace {

// Album files in one folder, each with its description, for the album file dialog.
struct DialogFixture : ChooserFixture {
    QString dir = tmp.filePath(u"albums"_s);
    QByteArray home = qgetenv("HOME");
    DialogFixture() {
        // The dialog starts in the home folder: keep it inside the test's own folder.
        qputenv("HOME", QFile::encodeName(tmp.path()));
        QDir().mkpath(dir);
    }
    ~DialogFixture() { qputenv("HOME", home); }
    void make(const QString& file, const QString& desc) {
        ClearAlbum(a);
        a.albdesc = desc;
        a.albfile = dir + u'/' + file;
        a.picdir = a.albfile.left(a.albfile.size() - 4) + u'/';
        QDir().mkpath(a.picdir);
        ASSERT_TRUE(WriteAlbum(a));
        ClearAlbum(a);
        a.albfile.clear();
    }
    void click(filedlg& dlg, const QString& name) {
        dlg.dirbox1->setPath(dir);
        const auto items = dlg.flebox1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        const QRect r = dlg.flebox1->visualItemRect(items.first());
        QTest::mouseClick(dlg.flebox1->viewport(), Qt::LeftButton, {}, r.center());
    }
};

} // namespace

TEST(FileDialog, OpenOpensExactlyTheFileClicked) {
    // Each picked name beside the album its cut, trimmed or re-cased form would name; or the
    // same name in another folder looked into after the click.
    const struct {
        QString picked, decoy;
        bool elsewhere;
    } cases[] = {
        {u"HOLIDAYS2024.vmb"_s, u"HOLIDAYS.vmb"_s, false},
        {u"Trip.VMB"_s, u"Trip.vmb"_s, false},
        {u" SEA.vmb"_s, u"SEA.vmb"_s, false},
        {u"TRIP.vmb"_s, u"../other/TRIP.vmb"_s, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picked.toStdString());
        DialogFixture f;
        QDir().mkpath(f.tmp.filePath(u"other"_s));
        f.make(c.decoy, u"decoy"_s);
        f.make(c.picked, u"picked"_s);
        filedlg dlg(f.a, DlgMode::Open);
        f.click(dlg, c.picked);
        if (c.elsewhere)
            dlg.dirbox1->setPath(f.tmp.filePath(u"other"_s));
        dlg.cb_ok->click();
        EXPECT_EQ(f.a.albfile, f.dir + u'/' + c.picked);
        EXPECT_EQ(f.a.albdesc.trimmed(), u"picked"_s);
    }
}

TEST(FileDialog, RenameNeverOffersANameTheBoxWouldCut) {
    DialogFixture f;
    f.make(u"HOLIDAYS2024.vmb"_s, u"long"_s);
    f.a.albfile = f.dir + u"/HOLIDAYS2024.vmb"_s;
    ReadAlbum(f.a);
    ASSERT_EQ(f.a.albdesc.trimmed(), u"long"_s);
    filedlg dlg(f.a, DlgMode::Rename);
    EXPECT_TRUE(dlg.iname->text().isEmpty());
    dlg.flebox1_Click(u"HOLIDAYS2024.vmb"_s);
    EXPECT_TRUE(dlg.iname->text().isEmpty());
    dlg.cb_ok->click();
    EXPECT_EQ(f.ui.shown.last().text, u"Name is Invalid"_s);
    EXPECT_TRUE(QFileInfo::exists(f.dir + u"/HOLIDAYS2024.vmb"_s));
    EXPECT_FALSE(QFileInfo::exists(f.dir + u"/HOLIDAYS.vmb"_s));
}

// Alt+letter acts only when one control has the letter; the new album's name rule is in the
// dialog, and its description takes only what the album file can hold, with a counter.
TEST(FileDialog, KeysRuleAndTheDescriptionField) {
    ChooserFixture f;
    EXPECT_EQ(test::mnemonicClashes(*f.w), QStringList());
    for (DlgMode m : {DlgMode::New, DlgMode::Open}) {
        filedlg dlg(f.a, m);
        EXPECT_EQ(test::mnemonicClashes(dlg), QStringList());
        EXPECT_EQ(dlg.namerule->isVisibleTo(&dlg), m == DlgMode::New);
    }
    filedlg dlg(f.a, DlgMode::New);
    EXPECT_TRUE(dlg.namerule->text().contains(u"8"_s));
    EXPECT_TRUE(dlg.namerule->text().contains(u"no blanks"_s));
    QApplication::clipboard()->setText(u"\u65e5\u672c"_s);
    dlg.idesc->paste();
    EXPECT_EQ(dlg.idesc->text(), QString());
    QApplication::clipboard()->setText(u"Caf\u00e9 \u20ac"_s);
    dlg.idesc->paste();
    EXPECT_EQ(dlg.idesc->text(), u"Caf\u00e9 \u20ac"_s);
    const auto* counter = dlg.findChild<QLabel*>(u"idesc_count"_s);
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->text(), u"6/40"_s);
}

// The splash's loading line names the album whatever its length: a name wider than the window
// is shortened in the middle (its start and ".vmb" stay), and the window keeps its size and
// place rather than growing off the screen's centre.
TEST(AboutWindow, LoadingLineFitsTheWindowForAnyName) {
    for (const QString& title : {u"TRIP.vmb"_s, QString(300, u'\u00dc') + u".vmb"_s}) {
        Album a;
        WABOUT w(a);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        w.show();
        const QRect before = w.geometry();
        w.showLoading(title);
        QApplication::processEvents();
        EXPECT_EQ(w.geometry(), before) << title.size();
        const QString shown = w.ldname->text();
        EXPECT_TRUE(shown.startsWith(u"Loading:"_s) && shown.endsWith(u".vmb"_s))
            << shown.toStdString();
        EXPECT_LE(w.ldname->fontMetrics().horizontalAdvance(shown), w.ldname->width())
            << shown.toStdString();
        if (title.size() < 20)
            EXPECT_TRUE(shown.endsWith(title)) << shown.toStdString();
    }
}
