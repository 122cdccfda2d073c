// SPDX-License-Identifier: GPL-3.0-or-later
// The group editor's rules on a real model: every operation and its limits, the page view's
// group followed through them, and the album's promises after any sequence of edits.

#include "albumfixture.h"
#include "grouprules.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace vimbrel;
using vimbrel::test::expectAlbumSound;

namespace {

// Groups of the given sizes with pictures in the given frames (slot k in the k-th frame),
// and one picture already in the Photo Box.
struct Groups : test::Fixture {
    Groups(std::initializer_list<int> sizes, std::initializer_list<int> pictureFrames) {
        int slot = 0;
        for (int f : pictureFrames)
            ++slot, addPicture(slot, f, slot);
        setPhotoBox({900});
        setGroups(sizes);
        a.canwrite = 'Y';
        a.curgrp = 1;
        expectAlbumSound(a);
    }
    int number(int frame) const {
        return a.frames[frame] > 0 ? a.pics[a.frames[frame]].pfile.trimmed().mid(3, 4).toInt() : 0;
    }
    QString name(int g) const { return a.grps[g].gname.trimmed(); }
    std::pair<int, int> extent(int g) const { return {a.grps[g].gfirst, a.grps[g].glast}; }
};

} // namespace

TEST(GroupRules, AddAndInsertStopAtFrameThousandAndFortyTwoGroups) {
    Groups end({966, 24}, {}); // 990 + 24 passes 1000
    EXPECT_FALSE(groupButtons(end.a, 1).add || groupButtons(end.a, 1).ins);
    EXPECT_EQ(addGroup(end.a), 0);
    EXPECT_FALSE(insertGroup(end.a, 1));
    Groups nearEnd({952, 24}, {});
    EXPECT_EQ(addGroup(nearEnd.a), 3);
    EXPECT_EQ(nearEnd.extent(3), std::make_pair(977, 1000));

    // Smaller groups (from a file) reach 42 before the frames run out.
    Groups small({20}, {});
    for (int g = 1; g <= 41; ++g)
        small.a.grps[g] = {"G", "", Integer(g * 20 - 19), Integer(g * 20), 0};
    small.a.ngrps = 41;
    small.a.nframes = 820;
    EXPECT_TRUE(insertGroup(small.a, 41));
    EXPECT_FALSE(groupButtons(small.a, 1).add || groupButtons(small.a, 1).ins);
    EXPECT_EQ(addGroup(small.a), 0);
    EXPECT_FALSE(insertGroup(small.a, 5));
}

TEST(GroupRules, InsertMovesLaterPicturesUpAndFollowsThePageView) {
    Groups f({24, 24}, {3, 25, 48});
    f.a.curgrp = 2;
    ASSERT_TRUE(insertGroup(f.a, 2));
    EXPECT_EQ(f.extent(2), std::make_pair(25, 48));
    EXPECT_EQ(f.number(49), 2);
    EXPECT_EQ(f.number(72), 3);
    EXPECT_EQ(f.a.curgrp, 3);
    f.a.curgrp = 1;
    ASSERT_TRUE(insertGroup(f.a, 2)); // after it: it keeps its number
    EXPECT_EQ(f.a.curgrp, 1);
}

TEST(GroupRules, DeleteGroupOneSendsItsPicturesToTheBox) {
    Groups f({24, 24}, {3, 9, 30, 47});
    int gcur = 1;
    EXPECT_EQ(deleteGroup(f.a, gcur), PageViewEffect::Blank);
    EXPECT_EQ(f.a.curgrp, -1);
    EXPECT_EQ(f.number(6), 3); // frame 30 closed up to 6
    // After the box's own picture, in frame order.
    EXPECT_EQ(f.a.pics[999].pfile, "vmb0001.jpg");
    EXPECT_EQ(f.a.pics[1000].pfile, "vmb0002.jpg");
}

TEST(GroupRules, MergesKeepTheSurvivorsNameAndFollowThePageView) {
    Groups f({24, 24, 24, 24}, {5, 30, 60, 80});
    f.a.curgrp = 3;
    int gcur = 3;
    EXPECT_EQ(mergeLeft(f.a, gcur), PageViewEffect::Blank);
    EXPECT_EQ(gcur, 2);
    EXPECT_EQ(f.name(2), QStringLiteral("Group 2"));
    EXPECT_EQ(f.extent(2), std::make_pair(25, 72));

    Groups r({24, 24, 24, 24}, {5, 30, 60, 80});
    r.a.curgrp = 3;
    EXPECT_EQ(mergeRight(r.a, 3), PageViewEffect::BlankTotals);
    EXPECT_EQ(r.name(3), QStringLiteral("Group 4"));
    EXPECT_EQ(r.extent(3), std::make_pair(49, 96));
    EXPECT_EQ(mergeRight(r.a, 1), PageViewEffect::None);
    EXPECT_EQ(r.a.curgrp, 2);
    EXPECT_EQ(mergeRight(r.a, 1), PageViewEffect::Blank);
    EXPECT_EQ(r.a.ngrps, 1);
}

// Which group the page view shows after a group goes, and what it must redraw, for each group
// removed around the shown one (3 of 4) and with none shown.
TEST(GroupRules, TheShownGroupFollowsADeleteOrMerge) {
    enum Op { Delete, Left, Right };
    struct Case {
        Op op;
        int gcur;
        int shown;
        PageViewEffect effect;
        int shownAfter;
    };
    using E = PageViewEffect;
    for (const Case& c : {
             Case{Delete, 1, 3, E::None, 2},
             Case{Delete, 2, 3, E::None, 2},
             Case{Delete, 3, 3, E::Blank, -1},
             Case{Delete, 4, 3, E::None, 3},
             Case{Delete, 2, -1, E::None, -1},
             Case{Left, 2, 3, E::None, 2},
             Case{Left, 3, 3, E::Blank, -1},
             Case{Left, 4, 3, E::BlankTotals, 3},
             Case{Left, 4, -1, E::None, -1},
             Case{Right, 1, 3, E::None, 2},
             Case{Right, 2, 3, E::Blank, -1},
             Case{Right, 3, 3, E::BlankTotals, 3},
             Case{Right, 3, -1, E::None, -1},
         }) {
        SCOPED_TRACE(testing::Message() << c.op << " " << c.gcur << " " << c.shown);
        Groups f({24, 24, 24, 24}, {5, 30, 60, 80});
        f.a.curgrp = static_cast<Integer>(c.shown);
        f.a.grpa = 7;
        int gcur = c.gcur;
        const E effect = c.op == Delete ? deleteGroup(f.a, gcur)
                         : c.op == Left ? mergeLeft(f.a, gcur)
                                        : mergeRight(f.a, gcur);
        EXPECT_EQ(effect, c.effect);
        EXPECT_EQ(f.a.curgrp, c.shownAfter);
        EXPECT_EQ(f.a.grpa, c.effect == E::Blank ? -1 : 7);
        EXPECT_EQ(f.a.ngrps, 3);
    }
}

TEST(GroupRules, BoundaryMovesHandPicturesBetweenCounts) {
    Groups f({48, 48}, {10, 49, 50, 52, 53});
    const BoundaryRange r = boundaryRange(f.a, 1, GetLastPic(f.a));
    EXPECT_EQ(std::make_pair(r.gmin, r.gmax), std::make_pair(24, 72));
    ASSERT_TRUE(moveBoundary(f.a, 1, 52));
    EXPECT_EQ(f.a.grps[1].gcount, 4);
    EXPECT_EQ(f.a.grps[2].gcount, 1);
    EXPECT_FALSE(moveBoundary(f.a, 1, 23)); // group 1 keeps 24 frames
    EXPECT_FALSE(moveBoundary(f.a, 1, 73)); // so does group 2
    EXPECT_FALSE(moveBoundary(f.a, 1, 52)); // no move

    // Group 1 shrinking hands its pictures to the last group, which may then not be cut below
    // them, though it held none when the editor opened.
    Groups h({96, 24}, {10, 80});
    ASSERT_TRUE(moveBoundary(h.a, 2, 200));
    ASSERT_TRUE(moveBoundary(h.a, 1, 24));
    EXPECT_EQ(h.a.grps[2].gcount, 1);
    EXPECT_FALSE(moveBoundary(h.a, 2, 60));
    EXPECT_TRUE(moveBoundary(h.a, 2, 80));

    // The last group stops at its last picture raised to even, or gfirst + 23 with none.
    Groups f2({24, 24}, {31});
    ASSERT_TRUE(moveBoundary(f2.a, 2, 1000));
    f2.addPicture(2, 61, 2);
    f2.a.grps[2].gcount = 2;
    EXPECT_EQ(boundaryRange(f2.a, 2, GetLastPic(f2.a)).gmin, 62);
    Groups empty({24, 24}, {});
    EXPECT_EQ(boundaryRange(empty.a, 2, GetLastPic(empty.a)).gmin, 48);
}

TEST(GroupRules, AnySequenceOfEditsKeepsTheAlbumSound) {
    for (quint32 seed = 1; seed <= 20; ++seed) {
        QRandomGenerator rng(seed);
        Groups f({24, 48, 24}, {1, 5, 24, 25, 40, 72, 73, 96});
        f.a.curgrp = 2;
        const int pictures = f.a.npics + f.a.npbox;
        for (int step = 0; step < 200; ++step) {
            SCOPED_TRACE(QStringLiteral("seed %1 step %2").arg(seed).arg(step).toStdString());
            int gcur = 1 + rng.bounded(int(f.a.ngrps));
            const GroupButtons b = groupButtons(f.a, gcur);
            const quint32 action = rng.bounded(7);
            if (action == 0 && b.add)
                addGroup(f.a);
            else if (action == 1 && b.ins)
                insertGroup(f.a, gcur);
            else if (action == 2 && b.del && rng.bounded(3) == 0)
                deleteGroup(f.a, gcur);
            else if (action == 3 && b.left)
                mergeLeft(f.a, gcur);
            else if (action == 4 && b.right)
                mergeRight(f.a, gcur);
            else if (const BoundaryRange r = boundaryRange(f.a, gcur, GetLastPic(f.a));
                     action >= 5 && r.movable())
                moveBoundary(f.a, gcur, r.gmin + rng.bounded(r.gmax - r.gmin + 1));
            if (f.a.curgrp == -1) // what Return does
                f.a.curgrp = static_cast<Integer>(gcur);
            ASSERT_GE(f.a.curgrp, 1);
            ASSERT_LE(f.a.curgrp, f.a.ngrps);
            ASSERT_EQ(f.a.npics + f.a.npbox, pictures); // none lost, none made up
            ASSERT_NO_FATAL_FAILURE(expectAlbumSound(f.a));
            for (int g = 1; g <= f.a.ngrps; ++g) // each keeps 24 frames
                ASSERT_GE(f.a.grps[g].glast - f.a.grps[g].gfirst + 1, 24);
        }
    }
}
