// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumfixture.h"
#include "pagedrop.h"

#include <gtest/gtest.h>

using namespace vimbrel;
using vimbrel::test::expectAlbumSound;
using vimbrel::test::Fixture;

namespace {

// Pictures 1..4 in frames 2, 5, 7 and 11 of a 24-frame group, selected as `selected` says.
struct DropFixture : Fixture {
    explicit DropFixture(const QList<int>& selected) {
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

TEST(PageDrop, OnePhotoMovesIntoAnEmptyFrame) {
    DropFixture f({5});
    f.a.dragsrc = 5;
    f.a.curframe = 20;
    moveOne(f.a);
    EXPECT_EQ(f.a.frames[5], -1);
    EXPECT_EQ(f.a.frames[20], 2);
    expectAlbumSound(f.a);
}

TEST(PageDrop, SeveralPhotosMoveAsARunInFrameOrder) {
    struct Case {
        QList<int> selected;
        int at;
        QList<int> landed; // pictures in frames at, at + 1, ...
    };
    // The run may start right after its own photos.
    for (const Case& c : {Case{{7, 2, 11}, 14, {1, 3, 4}}, Case{{5, 7}, 8, {2, 3}}}) {
        DropFixture f(c.selected);
        f.a.curframe = static_cast<Integer>(c.at);
        ASSERT_TRUE(moveSelectedRun(f.a));
        for (int i = 0; i < c.landed.size(); ++i)
            EXPECT_EQ(f.a.frames[c.at + i], c.landed[i]) << c.at;
        for (int from : c.selected)
            EXPECT_EQ(f.a.frames[from], -1);
        expectAlbumSound(f.a);
    }
    DropFixture f({2, 5, 7});
    f.a.curframe = 9; // 9 and 10 are empty, 11 holds a photo: nothing moves
    EXPECT_FALSE(moveSelectedRun(f.a));
    EXPECT_EQ(f.a.frames[9], -1);
    EXPECT_EQ(f.a.changed, 'n');
    f.a.curframe = 22; // the group ends after 3 frames
    EXPECT_TRUE(moveSelectedRun(f.a));
}

TEST(PageDrop, BoxPicturesJoinTheAlbumInSlotOrder) {
    DropFixture f({});
    f.setPhotoBox({90, 91, 92});
    f.a.pbsel = 2;
    for (int s = f.a.pbfirst; s <= 1000; ++s)
        f.a.wpics[s].psel = s == 999 ? -1 : 0;
    const QList<PicRec> taken = boxSelection(f.a);
    ASSERT_EQ(taken.size(), 2);
    EXPECT_EQ(taken[0].pfile, "vmb0090.jpg");
    EXPECT_EQ(taken[1].pfile, "vmb0092.jpg");

    // The box gives them up (its own job), then they land in frames 12 and 13.
    f.a.npbox = 1;
    f.a.pics[1000] = f.a.pics[999];
    f.a.pbfirst = f.a.pbtop = 1000;
    f.a.curframe = 12;
    placeInFrames(f.a, taken);
    EXPECT_EQ(f.a.pics[6].pfile, "vmb0092.jpg");
    expectAlbumSound(f.a);

    f.a.pbsel = 1; // one picture: the clicked one, whatever the working list says
    f.a.dragsrc = 1000;
    EXPECT_EQ(boxSelection(f.a).value(0).pfile, "vmb0091.jpg");
}

TEST(PageDrop, ImportedFilesLandInTheFramesOnlyWhenAllOfThemFit) {
    // Frames 2, 5, 7, 11 hold photos; group 1 ends at frame 24.
    const struct {
        int frame, count;
        bool lands;
    } cases[] = {
        {3, 2, true},   {3, 3, false},   // 3 and 4 are free, 5 is not
        {12, 13, true}, {12, 14, false}, // up to the group's end
        {2, 1, false},                   // a frame with a photo
        {1, 0, false},  {0, 1, false},   {49, 1, false},
    };
    for (const auto& c : cases) {
        DropFixture f({});
        EXPECT_EQ(landsInFrames(f.a, c.frame, c.count), c.lands) << c.frame << " " << c.count;
    }
}

TEST(PageDrop, TheImportedTailOfTheBoxIsTheSelectionThatLands) {
    for (const int count : {1, 2}) {
        DropFixture f({});
        f.setPhotoBox({90, 91, 92});
        selectBoxTail(f.a, count);
        EXPECT_EQ(f.a.pbsel, count);
        QStringList taken;
        for (const PicRec& p : boxSelection(f.a))
            taken.append(QString(p.pfile.trimmed()));
        EXPECT_EQ(taken, QStringList({QStringLiteral("vmb0091.jpg"), QStringLiteral("vmb0092.jpg")})
                             .mid(2 - count));
    }
}
