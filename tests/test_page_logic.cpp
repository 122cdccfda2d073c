// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumfixture.h"
#include "indexpages.h"
#include "pagelogic.h"
#include "toolstrip.h"

#include <gtest/gtest.h>

using namespace vimbrel;
using vimbrel::test::Fixture;

namespace {
// One photo (file 7) selected in `frame` of a 48-frame group, shown at page size `pgsize`.
struct OneSelected : Fixture {
    ToolStripState s;
    OneSelected(int frame, int pgsize) {
        a.sizes[1] = {108, 72, 4, 3};
        a.sizes[2] = {200, 133, 3, 1};
        a.sizes[3] = {324, 216, 2, 1};
        a.pgsize = static_cast<Integer>(pgsize);
        a.curpage = 1;
        a.canwrite = 'Y';
        addPicture(1, frame, 7);
        setGroups({48});
        a.pics[1].psel = 0;
        a.nsel = 1;
    }
};
} // namespace

TEST(Paging, PagesOfAGroupAndTheSpreadThatKeepsAFrameInView) {
    EXPECT_EQ(pageCount(13, 12), 2);
    EXPECT_EQ(lastSpread(4), 3);
    EXPECT_EQ(lastSpread(5), 5);
    // Small spread 3/4 starts at frame 25; in Large it is on page 13.
    EXPECT_EQ(firstFrameOf(3, 12), 25);
    EXPECT_EQ(spreadOf(25, 2), 13);
    EXPECT_EQ(spreadOf(15, 2), 7); // page 8 -> spread 7/8
}

TEST(Grid, LargeLeavesThePositionsItHasNoRoomForUnused) {
    const GridLayout small = layoutGrid(QSize(780, 520), {108, 72, 4, 3}, 1);
    EXPECT_TRUE(small.used[11] && small.used[23]);
    EXPECT_EQ(small.pb[12].left(), small.half + 12 + small.hg);
    const GridLayout large = layoutGrid(QSize(780, 520), {324, 216, 2, 1}, 3);
    EXPECT_TRUE(large.used[1] && large.used[13]);
    EXPECT_FALSE(large.used[2] || large.used[14]);
}

TEST(Paging, ArrowsNeverLeaveTheGroupOrTheIndex) {
    Fixture f;
    struct Case {
        int curpage, npages, ngrps;
        char dir;
        int to;
    };
    for (const Case& c : {Case{1, 4, 28, 'L', 1}, Case{3, 4, 28, 'L', 1}, Case{1, 4, 28, 'R', 3},
                          Case{3, 4, 28, 'R', 3}, Case{3, 5, 28, 'R', 5}, Case{1, 1, 28, 'R', 1},
                          Case{-1, 4, 28, 'R', -1}, // no page I-3 under 29 groups
                          Case{-1, 4, 29, 'R', -3}, Case{-3, 4, 29, 'R', -3},
                          Case{-3, 4, 29, 'L', -1}, Case{-1, 4, 29, 'L', -1}}) {
        f.a.curpage = static_cast<Integer>(c.curpage);
        f.a.npages = static_cast<Integer>(c.npages);
        f.a.ngrps = static_cast<Integer>(c.ngrps);
        EXPECT_EQ(arrowTarget(f.a, c.dir), c.to) << c.curpage << c.dir << " of " << c.npages;
    }
}

TEST(GoToPage, Answers) {
    EXPECT_EQ(parseGoToPage(QStringLiteral(" 4 "), 6).page, 3);
    EXPECT_EQ(parseGoToPage(QStringLiteral("5.6"), 6).page, 5); // rounds to 6, spread 5
    EXPECT_EQ(parseGoToPage(QStringLiteral("   "), 6).kind, GoToAnswer::Nothing);
    for (const char* bad : {"0", "7", "seven", "-2", "40000", "1e9", "nan", "inf"})
        EXPECT_EQ(parseGoToPage(QLatin1String(bad), 6).kind, GoToAnswer::Invalid) << bad;
}

TEST(ToolStrip, VisibleToolsPerModeAndSelection) {
    OneSelected f(14, 1); // on the right page of spread 1/2
    f.a.nsel = 0;
    f.a.curpage = IndexPage::first;
    applySetIt(f.a, f.s, SetItCode::reset); // the index: Print, no editing
    EXPECT_TRUE(f.s.visible[21] && !f.s.visible[1]);
    f.a.curpage = 1;
    f.a.canwrite = 'N';
    applySetIt(f.a, f.s, SetItCode::reset);
    EXPECT_FALSE(f.s.visible[1] || f.s.visible[21]);
    f.a.canwrite = 'Y';
    f.a.nsel = 1;
    applySetIt(f.a, f.s, SetItCode::selectionChanged);
    EXPECT_EQ(f.a.curslot, 13);
    EXPECT_EQ(f.s.photoLine, QStringLiteral(" Photo: short 7   - long 7"));
    applySetIt(f.a, f.s, SetItCode::spreadChanged);
    EXPECT_TRUE(f.s.visible[5] && f.s.visible[16]);
    f.a.curpage = 3; // the photo is not on the shown spread: no Rotate
    applySetIt(f.a, f.s, SetItCode::spreadChanged);
    EXPECT_FALSE(f.s.visible[5]);

    f.a.nsel = 0;
    applySetIt(f.a, f.s, SetItCode::commandRan);
    EXPECT_TRUE(f.s.photoLine.isEmpty());

    OneSelected g(5, 3); // 2 frames a page: page 3 holds frames 5 and 6
    applySetIt(g.a, g.s, SetItCode::selectionChanged);
    EXPECT_EQ(g.a.framepage, 3);
    EXPECT_EQ(g.a.curslot, 0);
}

TEST(IndexPages, FourteenFifteenAndTwentyNineGroups) {
    Fixture f;
    f.setGroups({24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24});
    f.a.curpage = IndexPage::first;
    IndexSpread s = indexSpread(f.a);
    EXPECT_EQ(s.left.size(), 2 + 28);
    EXPECT_FALSE(s.rightShown || s.pgright);

    f.a.ngrps = 29;
    s = indexSpread(f.a);
    EXPECT_TRUE(s.pgright);
    EXPECT_EQ(s.right.last().group, 28);
    f.a.curpage = IndexPage::third;
    s = indexSpread(f.a);
    EXPECT_TRUE(s.pgleft && !s.pgright);
    EXPECT_EQ(s.left[2].group, 29);
}

// Arrow keys on the frames of a spread, for each size: rows and columns as the reader sees
// them, across the gutter, and nothing beyond the edge.
TEST(FrameFocus, ArrowsFollowTheGridOfEachSize) {
    struct Step {
        int pgsize;
        int from;
        char dir;
        int to;
    };
    const SizeRec sizes[4] = {{}, {108, 72, 4, 3}, {200, 133, 3, 1}, {324, 216, 2, 1}};
    const Step steps[] = {
        {1, 0, 'R', 1},  {1, 0, 'D', 3},  {1, 2, 'R', 12},  {1, 12, 'L', 2},  {1, 14, 'R', -1},
        {1, 0, 'L', -1}, {1, 0, 'U', -1}, {1, 9, 'D', -1},  {1, 23, 'U', 20}, {1, 5, 'R', 15},
        {2, 0, 'D', 1},  {2, 0, 'R', 12}, {2, 2, 'D', -1},  {2, 13, 'L', 1},  {3, 1, 'D', -1},
        {3, 0, 'D', 1},  {3, 1, 'R', 13}, {3, 12, 'R', -1},
    };
    for (const Step& s : steps) {
        const GridLayout g = layoutGrid(QSize(780, 520), sizes[s.pgsize], s.pgsize);
        EXPECT_EQ(neighbourFrame(g.pb, g.used, s.from, s.dir), s.to)
            << "size " << s.pgsize << " from " << s.from << " " << s.dir;
    }
    // A frame that is not shown is passed over.
    GridLayout g = layoutGrid(QSize(780, 520), sizes[1], 1);
    g.used[1] = false;
    EXPECT_EQ(neighbourFrame(g.pb, g.used, 0, 'R'), 2);
}
