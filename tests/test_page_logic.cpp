#include "albumfixture.h"
#include "indexpages.h"
#include "pagelogic.h"
#include "toolstrip.h"

#include <gtest/gtest.h>

using namespace vimbrel;
using vimbrel::test::Fixture;

namespace {
PicRec picture(int w, int h, const char* orient) {
    PicRec p;
    p.pwidth = static_cast<Integer>(w);
    p.pheight = static_cast<Integer>(h);
    p.porient = orient;
    return p;
}
void standardSizes(Album& a) {
    a.sizes[1] = {108, 72, 4, 3};
    a.sizes[2] = {200, 133, 3, 1};
    a.sizes[3] = {324, 216, 2, 1};
}
} // namespace

TEST(Paging, PagesOfAGroup) {
    EXPECT_EQ(pageCount(0, 12), 1);
    EXPECT_EQ(pageCount(5, 12), 1);
    EXPECT_EQ(pageCount(12, 12), 1);
    EXPECT_EQ(pageCount(13, 12), 2);
    EXPECT_EQ(pageCount(7, 3), 3); // Medium, 7 frames
    EXPECT_EQ(pageCount(1000, 2), 500);
    EXPECT_EQ(lastSpread(4), 3);
    EXPECT_EQ(lastSpread(5), 5);
    EXPECT_EQ(lastSpread(1), 1);
}

TEST(Paging, SizeSwitchKeepsTheFirstFrameInView) {
    // Small spread 3/4 starts at frame 25; in Large it is on page 13.
    EXPECT_EQ(firstFrameOf(3, 12), 25);
    EXPECT_EQ(spreadOf(25, 2), 13);
    EXPECT_EQ(spreadOf(25, 3), 9); // page 9 holds 25..27
    EXPECT_EQ(spreadOf(1, 12), 1);
    EXPECT_EQ(spreadOf(12, 12), 1);
    EXPECT_EQ(spreadOf(13, 2), 7); // page 7 (odd) holds 13..14
    EXPECT_EQ(spreadOf(15, 2), 7); // page 8 -> spread 7/8
}

TEST(Grid, SmallCaptionsAreTwoLinesAndWider) {
    const GridLayout small = layoutGrid(QSize(780, 520), {108, 72, 4, 3}, 1);
    EXPECT_EQ(small.half, 384);
    EXPECT_EQ(small.ch, 72 + 32 + 1);
    EXPECT_EQ(small.hg, (384 - 3 * 108) / 4);
    EXPECT_EQ(small.vg, (520 - 4 * 105) / 5);
    EXPECT_EQ(small.ibn[0].size(), QSize(116, 32));
    EXPECT_EQ(small.pb[0].topLeft(), QPoint(small.hg, small.vg));
    EXPECT_EQ(small.pb[12].left(), 384 + 12 + small.hg);
    EXPECT_EQ(small.frsel[5], small.pb[5].adjusted(-1, -1, 2, 2));
    EXPECT_EQ(small.ibn[4].top(), small.pb[4].bottom() + 2);
    EXPECT_TRUE(small.used[11] && small.used[23]);

    const GridLayout large = layoutGrid(QSize(780, 520), {324, 216, 2, 1}, 3);
    EXPECT_EQ(large.ibn[0].size(), QSize(324, 16));
    EXPECT_TRUE(large.used[1] && large.used[13]);
    EXPECT_FALSE(large.used[2]);
    EXPECT_FALSE(large.used[14]);
}

TEST(Fit, LargerSmallerTurnedAndUndrawable) {
    const QSize box(108, 72);
    Fit f = fitPicture(picture(4000, 3000, "L"), 72, box); // wider than the box's 3:2? no, 4:3
    EXPECT_TRUE(f.draw);
    EXPECT_EQ(f.angle, 0);
    EXPECT_EQ(f.rect, QRect(6, 0, 96, 72));

    f = fitPicture(picture(3000, 1000, "L"), 72, box); // panorama: full width
    EXPECT_EQ(f.rect, QRect(0, 18, 108, 36));

    f = fitPicture(picture(50, 40, "L"), 72, box); // smaller: own size, centred
    EXPECT_EQ(f.rect, QRect(29, 16, 50, 40));

    // Turned: the aspect is szh / round(r * szh).
    f = fitPicture(picture(4000, 3000, "P"), 72, box);
    EXPECT_EQ(f.angle, 90);
    EXPECT_EQ(f.rect, QRect(27, 0, 54, 72)); // r = 72/96 -> w = 54
    EXPECT_EQ(fitPicture(picture(4000, 3000, "p"), 72, box).angle, 270);
    EXPECT_EQ(fitPicture(picture(4000, 3000, "x"), 72, box).angle, 270);

    EXPECT_FALSE(fitPicture(picture(4000, 3000, "e"), 72, box).draw);
    EXPECT_FALSE(fitPicture(picture(0, 3000, "L"), 72, box).draw);
    EXPECT_FALSE(fitPicture(picture(4000, 0, "P"), 72, box).draw);
    EXPECT_FALSE(fitPicture(picture(1, 1000, "P"), 72, box).draw); // wr rounds to 0
}

TEST(Fit, RoundsHalfToEven) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    // 109 wide picture, 1 high box left over: (108 - 107) / 2 = 0.5 -> 0
    const Fit f = fitPicture(picture(107, 50, "L"), 72, QSize(108, 72));
    EXPECT_EQ(f.rect.x(), 0);
    EXPECT_EQ(fitPicture(picture(105, 50, "L"), 72, QSize(108, 72)).rect.x(), 2); // 1.5 -> 2
}

TEST(GoToPage, Answers) {
    EXPECT_EQ(parseGoToPage(QStringLiteral("4"), 6).kind, GoToAnswer::Page);
    EXPECT_EQ(parseGoToPage(QStringLiteral(" 4 "), 6).page, 3);
    EXPECT_EQ(parseGoToPage(QStringLiteral("3"), 6).page, 3);
    EXPECT_EQ(parseGoToPage(QStringLiteral("5.6"), 6).page, 5); // rounds to 6, spread 5
    EXPECT_EQ(parseGoToPage(QString(), 6).kind, GoToAnswer::Nothing);
    EXPECT_EQ(parseGoToPage(QStringLiteral("   "), 6).kind, GoToAnswer::Nothing);
    for (const char* bad : {"0", "7", "seven", "-2", "40000", "1e9", "nan", "inf"})
        EXPECT_EQ(parseGoToPage(QLatin1String(bad), 6).kind, GoToAnswer::Invalid) << bad;
}

TEST(Rotate, CyclesAndLeavesClearedSlots) {
    EXPECT_EQ(nextOrientation('L'), 'P');
    EXPECT_EQ(nextOrientation('P'), 'p');
    EXPECT_EQ(nextOrientation('p'), 'L');
    EXPECT_EQ(nextOrientation('x'), 'L');
    EXPECT_EQ(nextOrientation('e'), 'e');
}

namespace {
QList<int> shown(const ToolStripState& s) {
    QList<int> v;
    for (int i = 0; i < toolCount; ++i)
        if (s.visible[i])
            v.append(i);
    return v;
}
} // namespace

TEST(ToolStrip, VisibleToolsPerModeAndSelection) {
    Fixture f;
    standardSizes(f.a);
    f.a.pgsize = 1;
    ToolStripState s;
    f.a.curpage = -1;
    applySetIt(f.a, s, -1);
    EXPECT_EQ(shown(s), QList<int>({2, 3, 17, 18, 21}));

    f.a.curpage = 1;
    f.a.canwrite = 'N';
    applySetIt(f.a, s, -1);
    EXPECT_EQ(shown(s), QList<int>({0, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 18}));
    f.a.canwrite = 'Y';
    applySetIt(f.a, s, -1);
    EXPECT_TRUE(s.visible[1]);
    EXPECT_FALSE(s.visible[21]);

    // One photo selected on the right page of spread 1/2: frame 14 of a group starting at 1.
    f.setGroups({48});
    f.addPicture(1, 14, 7);
    f.setGroups({48});
    f.a.pics[1].psel = 0;
    f.a.nsel = 1;
    applySetIt(f.a, s, 100);
    EXPECT_EQ(f.a.curframe, 14);
    EXPECT_EQ(f.a.framepage, 1);
    EXPECT_EQ(f.a.curslot, 13);
    EXPECT_EQ(s.photoLine, QStringLiteral(" Photo: short 7   - long 7"));
    EXPECT_TRUE(s.visible[19] && s.visible[20] && s.visible[21]);
    applySetIt(f.a, s, 102);
    EXPECT_TRUE(s.visible[5] && s.visible[16]);
    f.a.curpage = 3; // the photo is not on the shown spread
    applySetIt(f.a, s, 102);
    EXPECT_FALSE(s.visible[5]);

    f.a.nsel = 0;
    applySetIt(f.a, s, 101);
    EXPECT_TRUE(s.photoLine.isEmpty());
    EXPECT_FALSE(s.visible[19] || s.visible[20] || s.visible[21]);

    applySetIt(f.a, s, 140);
    EXPECT_TRUE(s.descFaceOn && s.descLinesShown);
    applySetIt(f.a, s, 141);
    EXPECT_FALSE(s.descFaceOn || s.descLinesShown);
}

TEST(ToolStrip, PhotoOnTheThirdPageIsOnSpreadThree) {
    Fixture f;
    standardSizes(f.a);
    f.a.pgsize = 3; // 2 frames a page
    f.setGroups({24});
    f.addPicture(1, 5, 1); // page 3 holds frames 5 and 6
    f.setGroups({24});
    f.a.pics[1].psel = 0;
    f.a.nsel = 1;
    ToolStripState s;
    applySetIt(f.a, s, 100);
    EXPECT_EQ(f.a.framepage, 3);
    EXPECT_EQ(f.a.curslot, 0);
}

TEST(IndexPages, FourteenFifteenAndTwentyNineGroups) {
    Fixture f;
    QList<int> sizes;
    f.setGroups({24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24});
    f.a.curpage = -1;
    IndexSpread s = indexSpread(f.a);
    EXPECT_EQ(s.left.size(), 2 + 28);
    EXPECT_EQ(s.left[0].text, QString(50, QLatin1Char(' ')) + QStringLiteral("INDEX"));
    EXPECT_EQ(s.left[2].text, QStringLiteral("Group 1"));
    EXPECT_EQ(s.left[3].text, QStringLiteral("        About group 1"));
    EXPECT_EQ(s.left[3].group, 1);
    EXPECT_FALSE(s.rightShown);
    EXPECT_TRUE(s.pgnum1.isEmpty());
    EXPECT_FALSE(s.pgright);

    f.a.ngrps = 15;
    for (int g = 15; g <= 42; ++g) {
        f.a.grps[g].gname = QStringLiteral("G%1").arg(g);
        f.a.grps[g].gdesc = QStringLiteral("D%1").arg(g);
    }
    s = indexSpread(f.a);
    EXPECT_TRUE(s.rightShown);
    EXPECT_EQ(s.pgnum1, QStringLiteral("I-2"));
    EXPECT_EQ(s.right.size(), 4);
    EXPECT_EQ(s.right[2].group, 15);

    f.a.ngrps = 29;
    s = indexSpread(f.a);
    EXPECT_TRUE(s.pgright);
    EXPECT_EQ(s.right.size(), 2 + 28);
    EXPECT_EQ(s.right.last().group, 28);
    f.a.curpage = -3;
    s = indexSpread(f.a);
    EXPECT_EQ(s.pgnum0, QStringLiteral("I-3"));
    EXPECT_TRUE(s.pgleft);
    EXPECT_FALSE(s.pgright);
    EXPECT_EQ(s.left.size(), 4);
    EXPECT_EQ(s.left[2].group, 29);
}
