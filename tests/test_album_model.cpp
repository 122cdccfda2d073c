// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumfixture.h"

#include <gtest/gtest.h>

using namespace vimbrel;
using vimbrel::test::Fixture;

TEST(FixedText, PadsCutsAndRoundTripsWindows1252) {
    FixedText<8> t(QStringLiteral("TRIP"));
    EXPECT_EQ(QByteArray(t.bytes(), 8), QByteArray("TRIP    "));
    EXPECT_EQ(FixedText<5>(QStringLiteral("abcdefgh")).text(), QStringLiteral("abcde"));

    // Euro, e-acute and a curly quote are single bytes; a CJK character is not representable.
    const QString s = QStringLiteral("\u20ac\u00e9\u2019\u4e2d");
    EXPECT_EQ(QByteArray(FixedText<4>(s).bytes(), 4), QByteArray("\x80\xe9\x92?"));

    for (int b = 0; b < 256; ++b) { // every byte survives a round trip
        const char c = static_cast<char>(b);
        EXPECT_EQ(ansi::encode(ansi::decode(&c, 1)), QByteArray(1, c)) << b;
    }

    // What a field may take: exactly the texts that are stored without a '?'.
    const std::pair<QString, bool> texts[] = {
        {QStringLiteral("Is it? Yes!"), true},   {QStringLiteral("\u20ac\u0153\u00ff"), true},
        {QStringLiteral("\u65e5\u672c"), false}, {QStringLiteral("a\u0416"), false},
        {QStringLiteral("\U0001F600"), false},   {QString(), true},
    };
    for (const auto& [text, held] : texts)
        EXPECT_EQ(ansi::holds(text), held) << qPrintable(text);
}

TEST(ClearAlbum, LeavesOneEmptyGroupOverAllFrames) {
    Fixture f;
    f.addPicture(1, 5, 1);
    f.a.canwrite = 'Y';
    f.a.albname = QStringLiteral("TRIP");
    f.a.filenew[7] = -1;
    ClearAlbum(f.a);

    EXPECT_EQ(f.a.ngrps, 1);
    EXPECT_EQ(f.a.grps[1].glast, 1000);
    EXPECT_EQ(f.a.npics, 0);
    EXPECT_EQ(f.a.canwrite, 'N');
    EXPECT_EQ(f.a.albname.trimmed(), QStringLiteral("TRIP")); // kept
    EXPECT_EQ(f.a.frames[5], -1);
    EXPECT_EQ(f.a.filenew[7], 0);
}

TEST(SetAllSel, MarksOccupiedShownFramesAndCounts) {
    Fixture f;
    for (int i = 1; i <= 7; ++i)
        f.addPicture(i, i * 2, i); // frames 2,4,...,14
    f.setGroups({24, 24});
    for (int p = 0; p <= 11; ++p)
        f.a.pgframes[p] = static_cast<Integer>(p + 1); // left page shows frames 1..12
    for (int p = 12; p <= 23; ++p)
        f.a.pgframes[p] = 0; // nothing on the right page

    SetAllSel(f.a, 0);
    EXPECT_EQ(f.a.nsel, 7);
    EXPECT_EQ(f.views.only(QStringLiteral("frsel")).size(), 12);
    EXPECT_TRUE(f.views.calls.contains(QStringLiteral("frsel 1 on")));  // frame 2
    EXPECT_TRUE(f.views.calls.contains(QStringLiteral("frsel 0 off"))); // frame 1 empty
    EXPECT_EQ(f.a.pics[3].psel, 0);
    SetAllSel(f.a, -1);
    EXPECT_EQ(f.a.pics[3].psel, -1);
}

TEST(CountFree, StopsAtPictureOrGroupEnd) {
    Fixture f;
    f.addPicture(1, 5, 1);
    f.setGroups({10, 10});
    CountFree(f.a, 5);
    EXPECT_EQ(f.a.nfree, 0);
    CountFree(f.a, 2);
    EXPECT_EQ(f.a.nfree, 3);
    CountFree(f.a, 8);
    EXPECT_EQ(f.a.nfree, 3); // 8, 9, 10, then the group ends
}

// 5 album pictures in frames 1,3,5,7,9 of a 24-frame group and one Photo Box picture.
TEST(PackPics, MovesSelectedToPhotoBoxEndInFrameOrder) {
    Fixture f;
    for (const auto& [slot, frame] : {std::pair{1, 3}, {2, 1}, {3, 5}, {4, 7}, {5, 9}})
        f.addPicture(slot, frame, 10 + slot);
    f.setPhotoBox({99});
    f.setGroups({24, 24});
    // Frame 9 (slot 5) and frame 3 (slot 1) selected.
    f.a.pics[5].psel = 0;
    f.a.pics[1].psel = 0;
    f.a.nsel = 2;

    struct Views : RecordingViews {
        Album* a = nullptr;
        int pbfirstAtLoad = 0;
        void LoadFS(int start) override {
            pbfirstAtLoad = a->pbfirst;
            RecordingViews::LoadFS(start);
        }
    } v;
    v.a = &f.a;
    f.a.views = &v;
    PackPics(f.a, 1);

    EXPECT_EQ(f.a.npics, 3);
    EXPECT_EQ(v.pbfirstAtLoad, 998);               // the new pbtop
    EXPECT_EQ(f.a.pics[999].pfile, "vmb0011.jpg"); // frame 3 first
    EXPECT_EQ(f.a.pics[1000].pfile, "vmb0015.jpg");
    // The rest keep their old slot order: slots 2, 3, 4 become 1, 2, 3.
    EXPECT_EQ(f.a.frames[7], 3);
    EXPECT_EQ(f.a.pics[3].pfile, "vmb0014.jpg");
}

TEST(PackPics, FromAClearedAlbumTheRunEndsAtTheLastSlot) {
    Fixture f; // cleared: pbfirst 0
    f.addPicture(1, 2, 1);
    f.addPicture(2, 4, 2);
    f.setGroups({24});
    f.a.pics[2].psel = 0;
    f.a.nsel = 1;
    PackPics(f.a, 1);
    EXPECT_EQ(f.a.pics[1000].pfile, "vmb0002.jpg");
    EXPECT_EQ(f.a.frames[4], -1);
}
