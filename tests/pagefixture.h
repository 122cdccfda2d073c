// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page view on an album in memory, with a window hub that records what it is asked to
// open: shared by the page view's window and keyboard tests.

#include "albumfixture.h"
#include "phpage.h"
#include "picturelibrary.h"
#include "waitpictures.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>

namespace vimbrel::test {

struct Hub : WindowHub {
    phpage* page = nullptr;
    bool box = false;
    void SetPage() override { page->SetPage(); }
    void SetTotPg() override { page->SetTotPg(); }
    void Set_it(int c) override { page->Set_it(c); }
    void showSelMark(int p, bool v) override { page->showSelMark(p, v); }
    void setSelCount(int n) override { page->setSelCount(n); }
    bool photoBoxVisible() const override { return box; }
    void setPhotoBoxVisible(bool v) override { box = v; }
    QStringList opened;
    void showMail() override { opened.append(QStringLiteral("mail")); }
    void showPrint() override { opened.append(QStringLiteral("print")); }
    void printReport() override { opened.append(QStringLiteral("report")); }
    // A drop's import, standing in: what it adds to the end of the box.
    std::function<int()> import;
    QList<QStringList> dropped;
    int importDropped(const QStringList& paths) override {
        dropped.append(paths);
        return import ? import() : 0;
    }
    Album* album = nullptr;
    void DeletePbox() override { // only ever the box's tail here
        album->npbox = static_cast<Integer>(album->npbox - album->pbsel);
        album->pbfirst = album->pbtop = static_cast<Integer>(1001 - album->npbox);
    }
    // The slide show and a drop on the Photo Box tool, with what they are given.
    void showSlideShow() override {
        opened.append(QStringLiteral("%1 %2").arg(album->slidesrc).arg(album->dragsrc));
    }
    void fs_DragDrop(int index) override {
        opened.append(
            QStringLiteral("box %1: %2 from %3").arg(index).arg(album->nsel).arg(album->dragsrc));
    }
};

// An album of `groups` groups of `frames` frames with pictures in the given frames.
struct PageFixture : test::Fixture {
    QTemporaryDir tmp;
    PictureLibrary pictures{tmp.filePath(QStringLiteral("thumbs")), 16 << 20};
    Hub hub;
    std::unique_ptr<phpage> w;

    PageFixture(std::initializer_list<int> groupSizes, std::initializer_list<int> pictureFrames) {
        a.picdir = tmp.filePath(QStringLiteral("A")) + QLatin1Char('/');
        QDir().mkpath(a.picdir);
        a.sizes[1] = {108, 72, 4, 3};
        a.sizes[2] = {200, 133, 3, 1};
        a.sizes[3] = {324, 216, 2, 1};
        a.pgsize = 1;
        a.descon = 'n';
        a.canwrite = 'Y';
        int slot = 0;
        for (int frame : pictureFrames) {
            ++slot;
            addPictureFile(slot, frame, slot, {80, 60}, colourOf(slot));
        }
        setGroups(groupSizes);
        a.views = &hub;
        hub.album = &a;
        w = std::make_unique<phpage>(a, hub, pictures);
        hub.page = w.get();
    }
    // Each picture its own hue, to tell which one a frame shows.
    static QColor colourOf(int slot) { return QColor::fromHsv(slot * 37 % 360, 200, 220); }
    ~PageFixture() {
        // Whatever the test did, no picture was read on the GUI thread.
        EXPECT_EQ(pictures.stats().guiThreadLoads, 0);
    }
    void openGroup(int g) {
        a.curgrp = static_cast<Integer>(g);
        a.curpage = 1;
        w->SetPage();
        w->Set_it(SetItCode::reset);
        settle();
    }
    void settle() { EXPECT_TRUE(test::waitForPictures(*w)); }
    // What an import of `count` files leaves: pictures 50.. at the end of the Photo Box.
    int importToBox(int count) {
        for (int i = 0; i < count; ++i)
            addPicture(1001 - count + i, 0, 50 + i);
        a.npbox = static_cast<Integer>(count);
        a.pbfirst = a.pbtop = static_cast<Integer>(1001 - count);
        return count;
    }
    // The line under the tools while the keyboard is on tool `i`; the focus leaves it again.
    QString hint(int i) {
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(w->it[i], &in);
        const QString text = w->dstat->text();
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w->it[i], &out);
        return text;
    }
    // Runs the page-turn timer to its end, as its ticks would.
    int finishTurn() {
        int ticks = 0;
        while (w->pgtimer.isActive() && ticks < 20) {
            w->pgtimer_Timer();
            ++ticks;
        }
        return ticks;
    }
    // A key held down: one press per tick of the turn, as auto-repeat delivers them, and more
    // after the turn ended; `curpage` is checked after every press.
    void holdKey(Qt::Key key, int presses, int low, int high) {
        for (int i = 0; i < presses; ++i) {
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(w.get(), &e);
            ASSERT_GE(a.curpage, low) << "press " << i;
            ASSERT_LE(a.curpage, high) << "press " << i;
            if (w->pgtimer.isActive())
                w->pgtimer_Timer();
        }
        finishTurn();
    }
};

} // namespace vimbrel::test
