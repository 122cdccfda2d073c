// The Photo Box's rules on the model: what the strip shows and redraws after every change,
// adding, removing, page photos dropped into the box, the selection, deleting with files.

#include "albumfile.h"
#include "albumfixture.h"
#include "pboxlogic.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vimbrel;
using vimbrel::test::expectAlbumSound;
using vimbrel::test::Fixture;

namespace {

int number(const PicRec& p) {
    return p.pfile.trimmed().mid(3, 4).toInt();
}
// The box's pictures in order, by file number.
QList<int> box(const Album& a) {
    QList<int> out;
    for (int s = a.pbfirst; s <= 1000; ++s)
        out.append(number(a.pics[s]));
    return out;
}
// What the strip shows, by file number; 0 for an empty position.
QList<int> strip(const Album& a) {
    QList<int> out;
    for (int k = 0; k < stripPositions; ++k)
        out.append(stripSlot(a, k) ? number(a.pics[stripSlot(a, k)]) : 0);
    return out;
}
using From = std::array<int, stripPositions>;

// Album pictures 1..4 in frames 2, 5, 7, 11 of group 1 (24 frames, group 2 after it) and a
// box of pictures 101, 102, ...
struct BoxFixture : Fixture {
    explicit BoxFixture(int boxed) {
        addPicture(1, 2, 1);
        addPicture(2, 5, 2);
        addPicture(3, 7, 3);
        addPicture(4, 11, 4);
        setGroups({24, 24});
        for (int i = 1; i <= boxed; ++i)
            addPicture(1001 - boxed + i - 1, 0, 100 + i);
        a.npbox = static_cast<Integer>(boxed);
        a.pbfirst = a.pbtop = static_cast<Integer>(1001 - boxed);
        a.canwrite = 'Y';
    }
    void scrollTo(int value) { loadStrip(a, boxFirst(a) + value - 1); }
    void select(std::initializer_list<int> positions) {
        for (int k : positions)
            pressStrip(a, k, false);
    }
    // The box selection marks on exactly these slots.
    void mark(std::initializer_list<int> marked) {
        for (int s = boxFirst(a); s <= 1000; ++s) {
            a.wpics[s] = a.pics[s];
            a.wpics[s].psel = -1;
        }
        for (int s : marked)
            a.wpics[s].psel = 0;
        a.pbsel = static_cast<Integer>(marked.size());
    }
};

} // namespace

TEST(PboxStrip, ScrollingMovesWhatIsDrawnAndDrawsOnlyTheNew) {
    BoxFixture f(12);
    EXPECT_EQ(scrollMaximum(f.a), 8);
    EXPECT_EQ(f.a.pbtop, 989);
    StripUpdate u = loadStrip(f.a, 991); // two to the right
    EXPECT_EQ(u.from, (From{2, 3, 4, -1, -1}));
    EXPECT_EQ(strip(f.a), QList<int>({103, 104, 105, 106, 107}));
    EXPECT_EQ(scrollValue(f.a), 3);
    u = loadStrip(f.a, 990); // one back
    EXPECT_EQ(u.from, (From{-1, 0, 1, 2, 3}));
    EXPECT_EQ(loadStrip(f.a, 995).redrawCount(), 5); // five or more: all new
    EXPECT_TRUE(loadStrip(f.a, 995).unchanged());
    EXPECT_EQ(loadStrip(f.a, -13).from, (From{0, 1, 2, -1, 4}));
    EXPECT_EQ(loadStrip(f.a, 0).redrawCount(), 5);
    EXPECT_EQ(f.a.pbtop, 989);

    // A cleared album (pbfirst 0) shows nothing and touches no slot outside the table.
    Fixture empty;
    loadStrip(empty.a, 0);
    EXPECT_EQ(strip(empty.a), QList<int>({0, 0, 0, 0, 0}));
    EXPECT_EQ(scrollMaximum(empty.a), 1);
}

TEST(PboxAdd, OnePictureAtEachPositionMovesTheRestRight) {
    for (int pos = 0; pos < stripPositions; ++pos) {
        BoxFixture f(8); // 101..108, strip from the second: 102..106
        f.scrollTo(2);
        f.addPicture(900, 0, 200);
        f.a.tpic = f.a.pics[900];
        f.a.nimps = 1;
        const QList<int> before = strip(f.a);
        const StripUpdate u = addToBox(f.a, pos);
        SCOPED_TRACE(pos);
        expectAlbumSound(f.a);
        EXPECT_EQ(f.a.npbox, 9);
        EXPECT_EQ(f.a.nimps, 0);
        EXPECT_EQ(u.redrawCount(), 1);
        EXPECT_TRUE(u.redraws(pos));
        QList<int> shown = before;
        shown.insert(pos, 200);
        EXPECT_EQ(strip(f.a), shown.first(5));
        EXPECT_EQ(stripNumber(f.a, pos), pos + 2);
        for (int k = pos + 1; k < stripPositions; ++k)
            EXPECT_EQ(u.from[static_cast<std::size_t>(k)], k - 1);
        EXPECT_EQ(box(f.a)[pos + 1], 200);
    }
}

TEST(PboxAdd, AppendingShowsTheNewPictureOnlyWhereTheEndIsInView) {
    BoxFixture f(8);
    f.a.tpic = f.a.pics[1];
    StripUpdate u = addToBox(f.a, appendPosition); // strip at the start: end not in view
    expectAlbumSound(f.a);
    EXPECT_TRUE(u.unchanged());
    EXPECT_EQ(strip(f.a), QList<int>({101, 102, 103, 104, 105}));
    EXPECT_EQ(box(f.a).last(), 1);

    BoxFixture g(3);
    g.a.tpic = g.a.pics[2];
    u = addToBox(g.a, 4); // an empty position appends
    EXPECT_EQ(strip(g.a), QList<int>({101, 102, 103, 2, 0}));
    EXPECT_EQ(u.from, (From{0, 1, 2, -1, 3}));
    expectAlbumSound(g.a);
}

TEST(PboxAdd, ImportedPicturesGoToTheEnd) {
    BoxFixture f(0);
    f.a.imps[1] = {QStringLiteral("vmb0301.jpg"), 800, 600};
    f.a.imps[2] = {QStringLiteral("vmb0302.gif"), 30, 40};
    f.a.imps[3] = {QStringLiteral("vmb0303.bmp"), 5, 5};
    f.a.nimps = 3;
    EXPECT_EQ(addToBox(f.a, -1).redrawCount(), 5);
    expectAlbumSound(f.a);
    EXPECT_EQ(box(f.a), QList<int>({301, 302, 303}));
    EXPECT_EQ(f.a.pbtop, 998);
    const PicRec& p = f.a.pics[999];
    EXPECT_EQ(p.pfile, "vmb0302.gif");
    EXPECT_EQ(p.porient, "L");
    EXPECT_EQ(p.psel, -1);
    EXPECT_EQ(p.pwidth, 30);
    EXPECT_EQ(p.pheight, 40);
    EXPECT_TRUE(p.psdesc.trimmed().isEmpty());
    EXPECT_EQ(f.a.nimps, 0);

    f.a.imps[1] = {QStringLiteral("vmb0304.jpg"), 8, 8};
    f.a.imps[2] = {QStringLiteral("vmb0305.jpg"), 8, 8};
    f.a.nimps = 2;
    const StripUpdate u = addToBox(f.a, -1);
    EXPECT_EQ(u.from, (From{0, 1, 2, -1, -1})); // the three shown stay where they are
    EXPECT_EQ(strip(f.a), QList<int>({301, 302, 303, 304, 305}));

    // No room: refused, nothing changes.
    f.a.npics = 995;
    f.a.nimps = 1;
    EXPECT_TRUE(addToBox(f.a, -1).unchanged());
    EXPECT_EQ(f.a.npbox, 5);
}

TEST(PboxDelete, OneAtTheStartFillsTheLastPosition) {
    BoxFixture f(8);
    f.select({1, 3, 3}); // the last click, dragsrc, is on a picture no longer selected
    const StripUpdate u = deleteFromBox(f.a);
    expectAlbumSound(f.a);
    EXPECT_EQ(u.from, (From{0, 2, 3, 4, -1}));
    EXPECT_EQ(strip(f.a), QList<int>({101, 103, 104, 105, 106}));
    EXPECT_EQ(f.a.pbtop, f.a.pbfirst);
    EXPECT_EQ(f.a.changed, 'y');
}

TEST(PboxDelete, OneInTheMiddleOfAScrolledStripClosesUpFromTheLeft) {
    BoxFixture f(9);
    f.scrollTo(3); // 103..107
    f.select({2}); // 105
    const StripUpdate u = deleteFromBox(f.a);
    expectAlbumSound(f.a);
    EXPECT_EQ(u.from, (From{-1, 0, 1, 3, 4}));
    EXPECT_EQ(strip(f.a), QList<int>({102, 103, 104, 106, 107}));
    EXPECT_EQ(box(f.a), QList<int>({101, 102, 103, 104, 106, 107, 108, 109}));
}

TEST(PboxDelete, OneOutOfViewLeavesTheStripAlone) {
    for (int slot : {990, 998}) { // before and after the shown slots 992..996
        BoxFixture f(12);
        f.scrollTo(4);
        f.mark({slot});
        EXPECT_TRUE(deleteFromBox(f.a).unchanged()) << slot;
        EXPECT_EQ(strip(f.a), QList<int>({104, 105, 106, 107, 108}));
        EXPECT_EQ(box(f.a).size(), 11);
        EXPECT_FALSE(box(f.a).contains(slot - 888));
        expectAlbumSound(f.a);
    }
}

TEST(PboxDelete, SeveralCloseUpInOrderAndTheStripStartsAgain) {
    BoxFixture f(7);
    f.scrollTo(3);
    f.select({0, 2, 4}); // 103, 105, 107
    EXPECT_EQ(deleteFromBox(f.a).redrawCount(), 5);
    expectAlbumSound(f.a);
    EXPECT_EQ(box(f.a), QList<int>({101, 102, 104, 106}));
    EXPECT_EQ(strip(f.a), QList<int>({101, 102, 104, 106, 0}));
    EXPECT_EQ(scrollValue(f.a), 1);
}

TEST(PboxDrop, SeveralPagePhotosGoToTheEndInFrameOrder) {
    BoxFixture f(2);
    f.a.pics[3].psel = 0; // frame 7
    f.a.pics[1].psel = 0; // frame 2
    f.a.nsel = 2;
    const PageDropResult r = dropPagePictures(f.a, 1);
    EXPECT_TRUE(r.several);
    EXPECT_TRUE(r.moved);
    expectAlbumSound(f.a);
    EXPECT_EQ(box(f.a), QList<int>({101, 102, 1, 3}));
    EXPECT_EQ(f.a.npics, 2);
    EXPECT_EQ(f.a.grps[1].gcount, 2);
    EXPECT_EQ(f.a.nsel, 0);
    EXPECT_TRUE(f.views.calls.contains(QStringLiteral("LoadFS 0")));
}

TEST(PboxDrop, OnePagePhotoOntoAPositionTakesItsPlace) {
    BoxFixture f(6);
    f.a.pics[2].psel = 0; // the photo in frame 5
    f.a.nsel = 1;
    f.a.dragsrc = 5;
    const PageDropResult r = dropPagePictures(f.a, 2);
    expectAlbumSound(f.a);
    EXPECT_EQ(r.clearFrame, 5);
    EXPECT_EQ(r.strip.from, (From{0, 1, -1, 2, 3}));
    EXPECT_EQ(strip(f.a), QList<int>({101, 102, 2, 103, 104}));
    EXPECT_EQ(f.a.frames[5], -1);
    EXPECT_EQ(f.a.frames[7], 2); // later frames point one slot lower
    EXPECT_EQ(f.a.frames[11], 3);
    EXPECT_EQ(f.a.npics, 3);
    EXPECT_EQ(f.a.grps[1].gcount, 3);
    EXPECT_EQ(f.a.pics[f.a.dragsrc].pfile, "vmb0003.jpg");
    EXPECT_EQ(f.a.changed, 'y');
}

TEST(PboxDrop, OnePagePhotoOntoAnEmptyPlaceIsAppended) {
    for (int index : {4, appendPosition}) {
        BoxFixture f(2);
        f.a.pics[4].psel = 0;
        f.a.nsel = 1;
        f.a.dragsrc = 11;
        dropPagePictures(f.a, index);
        expectAlbumSound(f.a);
        EXPECT_EQ(box(f.a), QList<int>({101, 102, 4})) << index;
    }
    BoxFixture g(2); // a drag whose frame no longer holds a picture moves nothing
    g.a.nsel = 1;
    g.a.dragsrc = 3;
    EXPECT_FALSE(dropPagePictures(g.a, 0).moved);
    EXPECT_EQ(g.a.npbox, 2);
}

TEST(PboxSelect, PressesToggleSelectAndStartDrags) {
    BoxFixture f(3);
    f.a.canwrite = 'N';
    EXPECT_TRUE(pressStrip(f.a, 0, true).hideButtons);
    EXPECT_EQ(f.a.pbsel, -1);
    f.a.canwrite = 'Y';
    EXPECT_FALSE(pressStrip(f.a, 4, true).handled); // empty position

    f.a.nsel = 1; // a page selection goes away
    StripPress p = pressStrip(f.a, 1, true);
    EXPECT_EQ(f.a.nsel, 0);
    EXPECT_TRUE(p.startDrag);
    EXPECT_FALSE(p.several);
    EXPECT_EQ(f.a.pbsel, 1);
    EXPECT_EQ(f.a.dragsrc, 999);
    EXPECT_FALSE(pressStrip(f.a, 2, true).startDrag); // unselected while another is
    pressStrip(f.a, 2, false);
    EXPECT_TRUE(stripSelected(f.a, 2));
    EXPECT_TRUE(pressStrip(f.a, 1, true).several);
    pressStrip(f.a, 2, false);
    EXPECT_FALSE(stripSelected(f.a, 2));
    EXPECT_EQ(f.a.pbsel, 1);

    selectAllOrNone(f.a);
    EXPECT_EQ(f.a.pbsel, 0);
    selectAllOrNone(f.a);
    EXPECT_EQ(f.a.pbsel, 3);
    selectAllOrNone(f.a);
    // "None" clears the marks too: a press afterwards selects only what it presses.
    pressStrip(f.a, 0, true);
    EXPECT_EQ(selectedBoxFiles(f.a), QStringList({QStringLiteral("vmb0101.jpg")}));
}

namespace {

// A written album in a temporary folder with a box of three picture files.
struct DiskFixture : BoxFixture {
    QTemporaryDir tmp;
    DiskFixture() : BoxFixture(3) {
        a.picdir = tmp.filePath(QStringLiteral("TRIP")) + QLatin1Char('/');
        a.albfile = tmp.filePath(QStringLiteral("TRIP.vmb"));
        QDir().mkpath(a.picdir);
        for (int n : {101, 102, 103})
            touch(fileName(n));
    }
    void touch(const QString& name) {
        QFile f(a.picdir + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    bool exists(int n) const { return QFile::exists(a.picdir + fileName(n)); }
    BoxDeleteOutcome deleteSelected() {
        return deleteWithFiles(a, [this] { deleteFromBox(a); });
    }
};

} // namespace

TEST(PboxDeleteFiles, FilesGoOnlyAfterTheAlbumIsWritten) {
    DiskFixture f;
    f.select({0, 2});
    EXPECT_EQ(f.deleteSelected(), BoxDeleteOutcome::Deleted);
    EXPECT_FALSE(f.exists(101));
    EXPECT_TRUE(f.exists(102));
    EXPECT_FALSE(f.exists(103));
    EXPECT_EQ(f.a.pbsel, -1);
    EXPECT_EQ(f.a.changed, 'n');
    QFile written(f.a.albfile);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    Fixture back;
    ClearAlbum(back.a);
    ASSERT_EQ(decodeAlbum(written.readAll(), back.a).outcome, AlbumDecode::Ok);
    EXPECT_EQ(box(back.a), QList<int>({102}));
}

TEST(PboxDeleteFiles, AFailedWriteDeletesNothingAndKeepsTheBox) {
    DiskFixture f;
    f.a.albfile = f.tmp.filePath(QStringLiteral("gone/TRIP.vmb"));
    f.select({1});
    EXPECT_EQ(f.deleteSelected(), BoxDeleteOutcome::NotWritten);
    EXPECT_TRUE(f.exists(102));
    EXPECT_EQ(box(f.a), QList<int>({101, 102, 103}));
    expectAlbumSound(f.a);
    ASSERT_EQ(f.ui.shown.size(), 1);
    EXPECT_EQ(f.ui.shown[0].title, QStringLiteral("Save - ERROR"));
}

TEST(PboxDeleteFiles, AFileThatCannotGoIsReportedAndOnlyNamesInTheFolderAreTouched) {
    DiskFixture f;
    // A folder in place of the picture file: no user, root included, can delete it as a file.
    QFile::remove(f.a.picdir + Fixture::fileName(102));
    QDir().mkpath(f.a.picdir + Fixture::fileName(102) + QStringLiteral("/x"));
    f.a.pics[1000].pfile = "../TRIP.vmb";
    f.select({0, 1, 2});
    EXPECT_EQ(selectedBoxFiles(f.a).size(), 2);
    EXPECT_EQ(f.deleteSelected(), BoxDeleteOutcome::Deleted);
    EXPECT_FALSE(f.exists(101));
    EXPECT_TRUE(QFile::exists(f.a.albfile));
    EXPECT_EQ(f.a.npbox, 0); // the picture left the album all the same
    ASSERT_EQ(f.ui.shown.size(), 1);
    const auto& m = f.ui.shown[0];
    EXPECT_EQ(m.title, QStringLiteral("File - ERROR"));
    EXPECT_EQ(m.icon, MsgIcon::Information);
    const QString tail =
        QStringLiteral("\rError Deleting File: ") + f.a.picdir + Fixture::fileName(102);
    EXPECT_TRUE(m.text.endsWith(tail)) << m.text.toStdString();
    EXPECT_GT(m.text.size(), tail.size()); // the system's reason comes first
}
