// SPDX-License-Identifier: GPL-3.0-or-later
// The Photo Box window on the offscreen platform: the strip, its counters,
// decoding only what is new, the selection, drops, delete, and the read-only album.

#include "albumfixture.h"
#include "dragdata.h"
#include "drawnrect.h"
#include "filedrop.h"
#include "ownhome.h"
#include "pbox.h"
#include "picturelibrary.h"
#include "waitpictures.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vimbrel;

namespace {

// Forwards the store's Photo Box calls to the window, as the program's hub does, and
// records what the page view is asked to do.
struct Hub : WindowHub {
    pbox* box = nullptr;
    QStringList page;
    void LoadFS(int t) override { box->LoadFS(t); }
    void setPboxScroll(int max, int value) override { box->setPboxScroll(max, value); }
    void hidePboxSelMarks() override { box->hidePboxSelMarks(); }
    void setPboxSelCount(int n) override { box->setPboxSelCount(n); }
    void DispPage(int p) override { page << QStringLiteral("DispPage %1").arg(p); }
    void clearPagePosition(int k) override { page << QStringLiteral("clear %1").arg(k); }
    void setPhotoCount(int n) override { page << QStringLiteral("pictotal %1").arg(n); }
    QList<QStringList> imported;
    int importDropped(const QStringList& paths) override {
        imported.append(paths);
        return 0;
    }
};

// Album pictures 1..3 in frames 1..3 of one group of 12, and `boxed` pictures 101.. in the
// box, each a small JPEG of its own colour.
struct BoxWindow : test::Fixture {
    test::OwnHome home; // deleted pictures go to its Trash
    QTemporaryDir tmp;
    PictureLibrary pictures{tmp.filePath(QStringLiteral("thumbs")), 16 << 20};
    Hub hub;
    std::unique_ptr<pbox> w;
    QList<std::pair<int, bool>> drags;

    explicit BoxWindow(int boxed) {
        a.picdir = tmp.filePath(QStringLiteral("TRIP")) + QLatin1Char('/');
        a.albfile = tmp.filePath(QStringLiteral("TRIP.vmb"));
        QDir().mkpath(a.picdir);
        a.canwrite = 'Y';
        for (int n = 1; n <= 3; ++n)
            picture(n, n, n);
        for (int i = 1; i <= boxed; ++i)
            picture(1001 - boxed + i - 1, 0, 100 + i);
        a.npbox = static_cast<Integer>(boxed);
        a.pbfirst = a.pbtop = static_cast<Integer>(1001 - boxed);
        setGroups({12});
        a.views = &hub;
        w = std::make_unique<pbox>(a, hub, pictures);
        hub.box = w.get();
        w->startDrag = [this](int k, bool several) {
            drags.append({k, several});
        };
        w->LoadFS(LoadFSCode::fromStart);
        settle();
    }
    ~BoxWindow() { EXPECT_EQ(pictures.stats().guiThreadLoads, 0); }
    void settle() { EXPECT_TRUE(test::waitForPictures(*w)); }
    void picture(int slot, int frame, int n) {
        addPictureFile(slot, frame, n, {80, 60}, QColor::fromHsv(n * 37 % 360, 200, 220));
    }
    // Decodes while `f` runs, from an empty memory tier: every position drawn counts.
    template <class F> int decodes(F f) {
        pictures.clearMemory();
        const int before = pictures.stats().decodes;
        f();
        settle();
        return pictures.stats().decodes - before;
    }
    QList<bool> marks() const {
        QList<bool> out;
        for (auto* s : w->fssel)
            out << !s->isHidden();
        return out;
    }
    void drop(QWidget* target, const QString& source) {
        // A drop goes only where the drag has entered.
        const std::unique_ptr<QMimeData> data(makeDragData(source));
        QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, data.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent e(QPointF(5, 5), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
};

} // namespace

TEST(PboxWindow, APagePhotoDroppedOnThePositionIsTheOnlyOneDrawn) {
    BoxWindow f(6);
    f.a.pgframes[7] = 2; // the page view shows frame 2 at position 7
    f.a.pics[2].psel = 0;
    f.a.nsel = 1;
    f.a.dragsrc = 2;
    EXPECT_EQ(f.decodes([&] { f.drop(f.w->fs[1], QStringLiteral("pb")); }), 1);
    EXPECT_EQ(f.w->fsn[2]->text(), QStringLiteral("short 102"));
    EXPECT_EQ(f.hub.page, QStringList({QStringLiteral("clear 7"), QStringLiteral("pictotal 2")}));
}

TEST(PboxWindow, TurnedThumbnailsKeepTheirProportions) {
    BoxWindow f(3);
    struct Shown {
        int w, h;
        const char* orient;
        QSize drawn;
    };
    const Shown shown[] = {{80, 60, "P", {54, 72}}, // 60 x 80 scaled into 96 x 72
                           {80, 60, "L", {80, 60}},
                           {60, 45, "p", {45, 60}}}; // 45 x 60 at its own size
    for (int k = 0; k < 3; ++k) {
        PicRec& p = f.a.pics[f.a.pbfirst + k];
        p.pwidth = static_cast<Integer>(shown[k].w);
        p.pheight = static_cast<Integer>(shown[k].h);
        p.porient = shown[k].orient;
    }
    f.w->LoadFS(LoadFSCode::fromStart);
    f.settle();
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(test::drawnRect(f.w->fs[k]->picture()).size(), shown[k].drawn) << k;
}

TEST(PboxWindow, SelectToggleSelectAllAndTheStripsOwnDrop) {
    BoxWindow f(7);
    f.a.nsel = 1; // a page selection goes away
    f.w->fs_MouseDown(1, Qt::RightButton);
    f.w->fs_MouseDown(3, Qt::RightButton);
    EXPECT_EQ(f.marks(), QList<bool>({false, true, false, true, false}));
    EXPECT_EQ(f.a.nsel, 0);
    f.w->fs_MouseDown(3, Qt::RightButton);
    f.w->fs_MouseDown(1, Qt::LeftButton);
    EXPECT_EQ(f.drags, (QList<std::pair<int, bool>>{{1, false}}));
    f.w->fs_scroll->setValue(2); // the mark moves with its picture
    EXPECT_EQ(f.marks(), QList<bool>({true, false, false, false, false}));

    f.drop(f.w->fs[2], QStringLiteral("fs")); // released on the strip: selection cleared
    EXPECT_EQ(f.marks(), QList<bool>(5, false));
    f.w->fs_select_Click();
    f.w->fs_MouseDown(0, Qt::LeftButton);
    EXPECT_EQ(f.drags.last(), std::make_pair(0, true));
}

TEST(PboxWindow, DeleteAsksThenWritesTheAlbumThenRemovesTheFiles) {
    BoxWindow f(6);
    const QString first = f.a.picdir + test::Fixture::fileName(101);
    f.w->fs_MouseDown(0, Qt::RightButton);
    f.ui.answers.enqueue(MsgAnswer::No);
    f.w->fs_del_Click();
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_FALSE(QFile::exists(f.a.albfile));

    // One at the start of the strip: position 4 is the only one drawn.
    EXPECT_EQ(f.decodes([&] { f.w->fs_del_Click(); }), 1);
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(f.a.albfile));
    EXPECT_EQ(f.w->fsn[4]->text(), QStringLiteral("short 106"));
}

TEST(PboxWindow, ReadOnlyAlbumHidesTheButtonsOnAClickAndTakesNoFiles) {
    BoxWindow f(3);
    f.a.canwrite = 'N';
    f.w->fs_select_Click(); // select all still works, delete does not
    f.w->fs_del_Click();
    EXPECT_EQ(f.a.npbox, 3);
    EXPECT_FALSE(test::dropFiles(f.w->fs[1], {QStringLiteral("/card/a.jpg")}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.hub.imported.isEmpty());
    f.w->fs_MouseDown(0, Qt::LeftButton);
    EXPECT_TRUE(f.w->fs_del->isHidden());
    EXPECT_TRUE(f.drags.isEmpty());
    f.a.canwrite = 'Y'; // a writable album opened afterwards
    f.w->LoadFS(LoadFSCode::fromStart);
    EXPECT_FALSE(f.w->fs_del->isHidden());
}

TEST(PboxWindow, FilesDroppedAnywhereOnTheBoxAreImported) {
    BoxWindow f(2);
    const QStringList paths{QStringLiteral("/card/a.jpg"), QStringLiteral("/card/DCIM")};
    for (QWidget* target : {static_cast<QWidget*>(f.w->fs[0]), static_cast<QWidget*>(f.w->fsroll),
                            static_cast<QWidget*>(f.w->fsframe)}) {
        f.hub.imported.clear();
        EXPECT_TRUE(test::dropFiles(target, paths)) << qPrintable(target->objectName());
        // Once the drop has ended.
        EXPECT_TRUE(f.hub.imported.isEmpty());
        QCoreApplication::processEvents();
        EXPECT_EQ(f.hub.imported, QList<QStringList>{paths}) << qPrintable(target->objectName());
    }
}

// The strip by keyboard: Left and Right move the focus and scroll at the ends, Space selects
// as the right button does.
TEST(PboxKeys, ArrowsWalkTheStripAndSpaceSelects) {
    BoxWindow f(7);
    f.w->show();
    const auto press = [&f](int k, int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(f.w->fs[static_cast<std::size_t>(k)], &e);
    };
    f.w->fs[0]->setFocus();
    press(0, Qt::Key_Right);
    EXPECT_EQ(f.w->focusWidget(), f.w->fs[1]);
    press(1, Qt::Key_Space);
    press(1, Qt::Key_Right);
    press(2, Qt::Key_Space);
    EXPECT_EQ(f.marks(), QList<bool>({false, true, true, false, false}));
    EXPECT_EQ(f.w->fs_selcnt->text(), QStringLiteral("2"));
    press(2, Qt::Key_Space);
    EXPECT_EQ(f.w->fs_selcnt->text(), QStringLiteral("1"));
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(f.w->fs[1], &held); // a held Space selects once per press
    EXPECT_EQ(f.w->fs_selcnt->text(), QStringLiteral("1"));
    press(4, Qt::Key_Right); // past the end the strip moves on by one
    EXPECT_EQ(f.w->fs_scroll->value(), 2);
    EXPECT_EQ(f.w->fsn[4]->text(), QStringLiteral("short 106"));
    press(0, Qt::Key_Left);
    EXPECT_EQ(f.w->fs_scroll->value(), 1);
    EXPECT_TRUE(f.drags.isEmpty());
}
