// SPDX-License-Identifier: GPL-3.0-or-later
// What the page view does when another window asks through the hub, here the group editor
// after its group went away: nothing of that group may stay on the book.

#include "pagefixture.h"
#include "poolgate.h"

#include <QLabel>
#include <gtest/gtest.h>

#include <optional>

using namespace vimbrel;

namespace {

// One group of 24 frames, pictures in frames 1..3 (the first selected), on show from page 1
// with its description lines; the pictures wait until the test lets the pool go.
struct ShownGroup : test::PageFixture {
    std::optional<test::PoolGate> gate;

    ShownGroup() : PageFixture({24}, {1, 2, 3}) {
        a.descon = 'y';
        a.pics[1].psel = 0;
        a.nsel = 1;
        gate.emplace(pictures);
        a.curgrp = 1;
        a.curpage = 1;
        w->SetPage();
        w->Set_it(SetItCode::descriptionsOn);
        w->Set_it(SetItCode::selectionChanged); // the photo line
        w->setGroupLabels(3, 24, QStringLiteral("Group: One   - first"));
    }
    QStringList labelTexts() const {
        QStringList t;
        for (const QLabel* l : {w->pgnum[0], w->pgnum[1], w->dispdesc[0], w->dispdesc[1],
                                w->pictotal, w->frtotal, w->pgtotal})
            t << l->text();
        return t;
    }
};

} // namespace

TEST(PageCalls, BlankPageLeavesNothingOfTheGroupEvenPicturesOnTheirWay) {
    ShownGroup f;
    ASSERT_FALSE(f.labelTexts().contains(QString()));
    ASSERT_FALSE(f.w->ibn[0]->text().isEmpty());
    ASSERT_TRUE(f.w->frsel[0]->isVisibleTo(f.w.get()));
    f.w->blankPage();
    f.gate->release(); // the pictures asked for arrive now
    EXPECT_TRUE(test::waitForPictures(*f.w));
    for (int k = 0; k < 24; ++k) {
        EXPECT_TRUE(f.w->pb[k]->picture().isNull()) << k;
        EXPECT_TRUE(f.w->ibn[k]->text().isEmpty()) << k;
        EXPECT_FALSE(f.w->frsel[k]->isVisibleTo(f.w.get())) << k;
    }
    EXPECT_EQ(f.labelTexts(), QStringList(7, QString()));
}
