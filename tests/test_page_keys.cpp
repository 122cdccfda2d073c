// SPDX-License-Identifier: GPL-3.0-or-later
// The page view by keyboard: held page keys, the arrows across the frames and the tools, and
// the focus through turns and layouts.

#include "pagefixture.h"
#include "toolstrip.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace vimbrel;
using test::PageFixture;

TEST(PageView, HeldPageKeysStopAtTheFirstAndLastSpread) {
    PageFixture f({48}, {1, 25});
    f.openGroup(1);
    f.w->show(); // the keys follow the arrows the user sees
    f.holdKey(Qt::Key_PageDown, 20, 1, 3);
    EXPECT_EQ(f.a.curpage, 3);
    EXPECT_EQ(f.w->pgnum[0]->text(), QStringLiteral("3 "));
    EXPECT_FALSE(f.w->pb[0]->picture().isNull());
    f.holdKey(Qt::Key_PageUp, 20, 1, 3);
    EXPECT_EQ(f.a.curpage, 1);
    EXPECT_TRUE(f.w->idxlst[0]->isHidden());
    EXPECT_FALSE(f.w->pb[0]->isHidden());
}

namespace {
// A key press, then `repeats` more as a key held down sends them.
void press(QWidget* w, int key, int repeats = 0) {
    for (int i = 0; i <= repeats; ++i) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, QString(), i > 0);
        QApplication::sendEvent(w, &e);
    }
}
} // namespace

// The whole spread by keyboard: arrows move the focus frame, Space selects as the right
// button does, Enter opens the picture, B puts the photos in the Photo Box. Held down, Space
// and Enter act once per press, as a click does.
TEST(PageKeys, ArrowsSpaceEnterAndBOnTheFramesOfASpread) {
    PageFixture f({48}, {1, 2, 3, 13, 30});
    f.openGroup(1);
    phpage& w = *f.w;
    w.show();
    w.setFocus();
    press(&w, Qt::Key_Down); // from the window into the book
    EXPECT_EQ(w.focusWidget(), w.pb[0]);
    press(w.pb[0], Qt::Key_Right);
    EXPECT_EQ(w.focusWidget(), w.pb[1]);
    press(w.pb[1], Qt::Key_Down);
    EXPECT_EQ(w.focusWidget(), w.pb[4]);
    press(w.pb[0], Qt::Key_Left); // the first spread: nothing that way
    EXPECT_EQ(f.a.curpage, 1);

    for (int k : {0, 1, 2, 1})
        press(w.pb[k], Qt::Key_Space, 3);
    EXPECT_EQ(f.a.nsel, 2);
    EXPECT_TRUE(w.frsel[0]->isVisibleTo(&w) && w.frsel[2]->isVisibleTo(&w));
    EXPECT_FALSE(w.frsel[1]->isVisibleTo(&w));
    EXPECT_EQ(w.seldisp->text(), QStringLiteral("2"));

    press(w.pb[1], Qt::Key_Return, 3);
    EXPECT_EQ(f.hub.opened, QStringList({QStringLiteral("Pic 2")}));

    // B on a selected photo takes the selection along; on another, that photo alone.
    press(w.pb[2], Qt::Key_B);
    EXPECT_EQ(f.hub.opened.last(), QStringLiteral("box 999: 2 from 3"));
    SetAllSel(f.a, -1);
    press(w.pb[0], Qt::Key_Space);
    press(w.pb[1], Qt::Key_B);
    EXPECT_EQ(f.hub.opened.last(), QStringLiteral("box 999: 1 from 2"));
    // An empty frame and a read-only album send nothing.
    const qsizetype before = f.hub.opened.size();
    press(w.pb[5], Qt::Key_B);
    f.a.canwrite = 'N';
    press(w.pb[0], Qt::Key_B);
    EXPECT_EQ(f.hub.opened.size(), before);

    // Past the right side of the spread is the next one, as the page arrow.
    press(w.pb[14], Qt::Key_Right);
    f.finishTurn();
    EXPECT_EQ(f.a.curpage, 3);
}

// The line under the tools names the tool the keyboard is on, not only the one under the mouse.
TEST(PageKeys, TheHintLineFollowsTheFocusAcrossTheTools) {
    PageFixture f({24}, {1});
    f.openGroup(1);
    phpage& w = *f.w;
    w.show();
    for (int i : {0, 4, 9}) {
        EXPECT_EQ(f.hint(i), toolTags()[i]);
        EXPECT_EQ(w.dstat->text(), QString()); // gone with the focus
    }
    // Up from a tool goes back into the book.
    w.it[9]->setFocus();
    press(w.it[9], Qt::Key_Up);
    EXPECT_EQ(w.focusWidget(), w.pb[0]);
    // Frames and tools can all be reached with Tab.
    for (QWidget* t : {static_cast<QWidget*>(w.pb[0]), static_cast<QWidget*>(w.it[0])})
        EXPECT_TRUE(t->focusPolicy() & Qt::TabFocus);
}

// The focus stays in the book while frames hide and show: through a page turn (keys held
// down meanwhile turn pages rather than walk the tools), onto a spread with fewer frames,
// a new layout, and the Index tool, which hides itself.
TEST(PageKeys, TheFocusStaysInTheBookAcrossTurnsAndLayouts) {
    PageFixture f({30, 10}, {1, 2, 3, 13, 30});
    f.openGroup(1);
    phpage& w = *f.w;
    w.show();
    QApplication::setActiveWindow(&w);
    QApplication::processEvents();
    ASSERT_TRUE(w.isActiveWindow());

    w.pb[23]->setFocus();
    press(w.pb[23], Qt::Key_Right);
    w.pgtimer_Timer(); // the right page lifts
    w.pgtimer_Timer();
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    press(QApplication::focusWidget(), Qt::Key_Right); // auto-repeat: the next turn waits
    f.finishTurn();
    EXPECT_EQ(f.a.curpage, 3);
    EXPECT_EQ(QApplication::focusWidget(), w.pb[5]); // the last frame of the group
    EXPECT_EQ(w.dstat->text(), QString());

    w.pb[2]->setFocus();
    w.it_Click(7); // another size: the frames are laid out again
    f.finishTurn();
    EXPECT_TRUE(QApplication::focusWidget() == w.pb[2] || QApplication::focusWidget() == w.pb[0])
        << qPrintable(QApplication::focusWidget()->objectName());

    w.it[13]->setFocus(); // Index, which the index hides
    w.it_Click(13);
    EXPECT_EQ(QApplication::focusWidget(), w.idxlst[0]);
}
