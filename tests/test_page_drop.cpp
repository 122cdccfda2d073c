#include "albumfixture.h"
#include "pagedrop.h"

#include <gtest/gtest.h>

using namespace vimbrel;
using vimbrel::test::expectAlbumSound;
using vimbrel::test::Fixture;

namespace {

// Pictures in frames 2, 5, 7 and 11 of a 24-frame group, selected as `selected` says.
struct DropFixture : Fixture {
    DropFixture(std::initializer_list<int> selected) {
        addPicture(1, 2, 1);
        addPicture(2, 5, 2);
        addPicture(3, 7, 3);
        addPicture(4, 11, 4);
        setGroups({24, 24});
        for (int f : selected) {
            a.pics[a.frames[f]].psel = 0;
            ++a.nsel;
        }
    }
};

} // namespace

TEST(PageDrop, OnePhotoOntoAnotherSwaps) {
    DropFixture f({2});
    f.a.dragsrc = 2;
    f.a.curframe = 7;
    swapFrames(f.a);
    EXPECT_EQ(f.a.frames[2], 3);
    EXPECT_EQ(f.a.frames[7], 1);
    EXPECT_EQ(f.a.changed, 'y');
    expectAlbumSound(f.a);
}

TEST(PageDrop, OnePhotoIntoAnEmptyFrameMoves) {
    DropFixture f({5});
    f.a.dragsrc = 5;
    f.a.curframe = 20;
    moveOne(f.a);
    EXPECT_EQ(f.a.frames[5], -1);
    EXPECT_EQ(f.a.frames[20], 2);
    expectAlbumSound(f.a);
}

TEST(PageDrop, SeveralPhotosMoveAsARunInFrameOrder) {
    DropFixture f({7, 2, 11});
    f.a.curframe = 14; // 14..24 are empty
    ASSERT_TRUE(moveSelectedRun(f.a));
    EXPECT_EQ(f.a.frames[14], 1); // frame 2's picture first
    EXPECT_EQ(f.a.frames[15], 3);
    EXPECT_EQ(f.a.frames[16], 4);
    EXPECT_EQ(f.a.frames[2], -1);
    EXPECT_EQ(f.a.frames[7], -1);
    EXPECT_EQ(f.a.frames[5], 2); // not selected: stays
    expectAlbumSound(f.a);
}

TEST(PageDrop, TooFewEmptyFramesMoveNothing) {
    DropFixture f({2, 5, 7});
    f.a.curframe = 9; // 9 and 10 are empty, 11 holds a photo
    const auto before = f.a.frames;
    EXPECT_FALSE(moveSelectedRun(f.a));
    EXPECT_EQ(f.a.nfree, 2);
    for (int i = 1; i <= 24; ++i)
        EXPECT_EQ(f.a.frames[i], before[i]);
    EXPECT_EQ(f.a.changed, 'n');

    f.a.curframe = 22; // the group ends after 3 frames
    EXPECT_TRUE(moveSelectedRun(f.a));
    expectAlbumSound(f.a);
}

TEST(PageDrop, RunMayStartRightAfterItsOwnPhotos) {
    DropFixture f({5, 7});
    f.a.curframe = 8; // 8, 9, 10 empty
    ASSERT_TRUE(moveSelectedRun(f.a));
    EXPECT_EQ(f.a.frames[8], 2);
    EXPECT_EQ(f.a.frames[9], 3);
    EXPECT_EQ(f.a.frames[5], -1);
    EXPECT_EQ(f.a.frames[7], -1);
    expectAlbumSound(f.a);
}

TEST(PageDrop, BoxPictureReplacesAPhotoWhichGoesToTheBox) {
    DropFixture f({});
    f.setPhotoBox({90, 91});
    f.a.dragsrc = 1000; // vmb0091
    f.a.curframe = 5;   // slot 2, vmb0002
    replaceFromBox(f.a);
    EXPECT_EQ(f.a.pics[2].pfile, "vmb0091.jpg");
    EXPECT_EQ(f.a.pics[1000].pfile, "vmb0002.jpg");
    EXPECT_EQ(f.a.frames[5], 2);
    expectAlbumSound(f.a);
}

TEST(PageDrop, BoxPicturesJoinTheAlbumInSlotOrder) {
    DropFixture f({});
    f.setPhotoBox({90, 91, 92});
    f.a.pbsel = 2;
    for (int s = f.a.pbfirst; s <= 1000; ++s)
        f.a.wpics[s].psel = -1;
    f.a.wpics[1000].psel = 0;
    f.a.wpics[998].psel = 0;
    const QList<PicRec> taken = boxSelection(f.a);
    ASSERT_EQ(taken.size(), 2);
    EXPECT_EQ(taken[0].pfile, "vmb0090.jpg");
    EXPECT_EQ(taken[1].pfile, "vmb0092.jpg");

    // The box gives them up (its own job), then they land in frames 12 and 13.
    f.a.npbox = 1;
    f.a.pics[1000] = f.a.pics[999];
    f.a.pbfirst = 1000;
    f.a.pbtop = 1000;
    f.a.curframe = 12;
    placeInFrames(f.a, taken);
    EXPECT_EQ(f.a.npics, 6);
    EXPECT_EQ(f.a.frames[12], 5);
    EXPECT_EQ(f.a.frames[13], 6);
    EXPECT_EQ(f.a.pics[6].pfile, "vmb0092.jpg");
    EXPECT_EQ(f.a.grps[1].gcount, 6);
    expectAlbumSound(f.a);

    f.a.pbsel = 1; // one picture: the clicked one, whatever the working list says
    f.a.dragsrc = 1000;
    EXPECT_EQ(boxSelection(f.a).value(0).pfile, "vmb0091.jpg");
}
