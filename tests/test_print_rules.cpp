// SPDX-License-Identifier: GPL-3.0-or-later
// Photo printing's arithmetic and the album report's lines, without a printer.

#include "albumfixture.h"
#include "albumreport.h"
#include "printrules.h"

#include <gtest/gtest.h>

using namespace vimbrel;

TEST(PrintLayouts, GeometryOfEveryLayoutAt300Dpi) {
    struct Want {
        QSize page, cell;
        int columns, rows, left, top, gapX, gapY, maxcopies;
        bool operator==(const Want&) const = default;
    };
    const Want want[layoutCount] = {
        {{2550, 3300}, {1500, 900}, 1, 3, 525, 150, 0, 150, 6},
        {{2550, 3300}, {1800, 1200}, 1, 2, 375, 300, 0, 300, 6},
        {{2550, 3300}, {2100, 1500}, 1, 2, 225, 100, 0, 100, 6},
        {{2550, 3300}, {2400, 3000}, 1, 1, 75, 150, 0, 0, 2},
        // The contact sheet's own formula: 45 cells of 1.5 x 1.125 in, 2 pixels apart.
        {{2550, 3300}, {450, 338}, 5, 9, 140, 111, 2, 2, 45},
        // A page exactly the size of its one cell.
        {{1200, 1800}, {1200, 1800}, 1, 1, 0, 0, 0, 0, 6},
    };
    for (int l = 0; l < layoutCount; ++l) {
        SCOPED_TRACE(l);
        const PageGeometry g = pageGeometry(l);
        EXPECT_TRUE((Want{g.page, g.cell, g.columns, g.rows, g.left, g.top, g.gapX, g.gapY,
                          printLayout(l).maxcopies} == want[l]));
        // Every cell lies on the page.
        const QRect last(g.cellOrigin(g.perPage() - 1), g.cell);
        EXPECT_TRUE(QRect(QPoint(), g.page).contains(last)) << last.x() << "," << last.y();
    }
    EXPECT_EQ(pageGeometry(contactLayout).cellOrigin(6), QPoint(140 + 452, 111 + 340));
}

// Page counts and the copies hint show in the window's own tests.
TEST(PrintLayouts, CopiesFieldAndStatus) {
    EXPECT_EQ(generatingStatus(2, 3), QStringLiteral("Generating:  2  of  3"));
    EXPECT_EQ(parseCopies(QStringLiteral(" 3 "), 6), 3);
    EXPECT_EQ(parseCopies(QStringLiteral("6"), 6), 6);
    for (const char* bad : {"0", "", "7", "x", "1e9"})
        EXPECT_FALSE(parseCopies(QString::fromLatin1(bad), 6)) << bad;
}

TEST(PrintLayouts, PicturesTurnToTheCellAndFillIt) {
    const QSize wide(1500, 900), tall(2400, 3000);
    // Landscape in a portrait cell and portrait in a landscape cell are turned; matching
    // shapes are not.
    EXPECT_EQ(cellPlacement({4000, 3000}, tall).rotation, 90);
    EXPECT_EQ(cellPlacement({3000, 4000}, {1800, 1200}).rotation, 90);
    EXPECT_EQ(cellPlacement({4000, 3000}, wide).rotation, 0);
    EXPECT_EQ(cellPlacement({3000, 4000}, tall).rotation, 0);

    // Larger than the cell: the cell is covered and the overflow cut equally on both sides.
    const CellPlacement big = cellPlacement({4000, 3000}, wide);
    EXPECT_EQ(big.rect, QRect(0, -112, 1500, 1125));
    const CellPlacement turned = cellPlacement({6000, 4000}, tall);
    EXPECT_EQ(turned.rect.size(), QSize(2400, 3600));
    EXPECT_EQ(turned.rect.topLeft(), QPoint(0, -300));
    const CellPlacement narrow = cellPlacement({1000, 1000}, {900, 500});
    EXPECT_EQ(narrow.rect, QRect(0, -200, 900, 900));
    for (const CellPlacement& c : {big, turned, narrow}) {
        EXPECT_LE(c.rect.left(), 0);
        EXPECT_LE(c.rect.top(), 0);
    }

    // Smaller in both directions: its own size, centred, never enlarged; a turned small
    // picture keeps its proportions.
    EXPECT_EQ(cellPlacement({640, 480}, wide).rect, QRect(430, 210, 640, 480));
    EXPECT_EQ(cellPlacement({640, 480}, tall).rect, QRect(960, 1180, 480, 640));
    EXPECT_TRUE(cellPlacement({0, 480}, wide).rect.isEmpty());
}

namespace {

struct ReportFixture : test::Fixture {
    // One group "Beach" of 12 frames with pictures in the first `photos` frames.
    explicit ReportFixture(int photos, int frames = 12) {
        a.albname = QStringLiteral("TRIP");
        a.albdesc = QStringLiteral("Summer at the sea");
        for (int s = 1; s <= photos; ++s)
            addPicture(s, s, s);
        setGroups({frames});
        a.grps[1].gname = QStringLiteral("Beach");
        a.grps[1].gdesc = QStringLiteral("Sand and water");
    }
};

QStringList texts(const ReportPage& page) {
    QStringList l;
    for (const ReportLine& line : page)
        l.append(QString(line.column - 1, QLatin1Char(' ')) + line.text());
    return l;
}

} // namespace

TEST(AlbumReport, OnePageWithHeaderTotalsAndPhotoLines) {
    ReportFixture f(3);
    f.a.pics[2].psdesc = QString();
    f.a.pics[2].pldesc = QString();
    const QList<ReportPage> pages = albumReport(f.a, QDate(2026, 3, 7));
    ASSERT_EQ(pages.size(), 1);
    const QStringList want = {
        QString(32, QLatin1Char(' ')) + QStringLiteral("Vimbrel"),
        QString(12, QLatin1Char(' ')) + QStringLiteral("03/07/26    Page     1"),
        QString(27, QLatin1Char(' ')) + QStringLiteral("TRIP - Summer at the sea"),
        QStringLiteral(""),
        QStringLiteral("Groups:     1"),
        QStringLiteral("Frames:    12"),
        QStringLiteral("Photos:     3"),
        QStringLiteral(""),
        QStringLiteral(""),
        QStringLiteral("Group"),
        QStringLiteral("  Photos        "),
        QStringLiteral("Beach        [Frames: 12    Photos: 3]"),
        QStringLiteral("Sand and water"),
        QStringLiteral("         - vmb0001.jpg  ,short 1"),
        QStringLiteral("           long 1"),
        QStringLiteral("         - vmb0002.jpg"),
        QStringLiteral("         - vmb0003.jpg  ,short 3"),
        QStringLiteral("           long 3"),
        QStringLiteral(""),
    };
    EXPECT_EQ(texts(pages[0]).join(QLatin1Char('\n')).toStdString(),
              want.join(QLatin1Char('\n')).toStdString());
    const ReportPage& p = pages[0];
    EXPECT_EQ(p[0].size, 12);
    EXPECT_EQ(p[11].size, 10);
    EXPECT_TRUE(p[4].runs[0].bold);
    EXPECT_TRUE(p[9].runs[0].underline && p[10].runs[0].underline);
    EXPECT_TRUE(p[13].runs[0].bold);
    EXPECT_FALSE(p[13].runs[1].bold);
}

TEST(AlbumReport, PagesBreakAfterAPhotoAndBeforeAGroup) {
    // 1000 frames in one group, every photo with both descriptions: two lines a photo. The
    // first page starts counting at 10 and breaks when the count reaches 69.
    ReportFixture f(499, 1000);
    const QList<ReportPage> pages = albumReport(f.a, QDate(2026, 1, 2));
    // Page 1: header (11 lines), group (2), then 29 photos of two lines reach 70.
    ASSERT_GE(pages.size(), 3);
    EXPECT_EQ(pages[0].size(), 11 + 2 + 29 * 2);
    // Later pages: the header without totals, 32 photos (5 + 64 = 69).
    EXPECT_EQ(pages[1].size(), 7 + 32 * 2);
    EXPECT_TRUE(texts(pages[1])[1].endsWith(QStringLiteral("Page     2")));
    EXPECT_EQ(texts(pages[1])[3], QString());
    EXPECT_EQ(texts(pages[1])[5], QStringLiteral("Group"));
    int photos = 0;
    for (const ReportPage& p : pages)
        for (const ReportLine& l : p)
            photos += l.text().startsWith(QStringLiteral("         - "));
    EXPECT_EQ(photos, 499);

    // Groups: one more group only once the count before it is 63 or more.
    test::Fixture g;
    g.setGroups({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    const QList<ReportPage> gp = albumReport(g.a, QDate(2026, 1, 2));
    // Each empty group takes 3 lines: 10, 13, ... 61, 64 -> the 19th group breaks.
    ASSERT_EQ(gp.size(), 2);
    EXPECT_EQ(gp[0].size(), 11 + 18 * 3);
    EXPECT_EQ(texts(gp[1])[7], QStringLiteral("Group 19        [Frames: 1    Photos: 0]"));
}

TEST(AlbumReport, NumbersAndCentring) {
    EXPECT_EQ(reportCount(12), QStringLiteral("12"));
    EXPECT_EQ(reportCount(1234567), QStringLiteral("1,234,567"));
    EXPECT_EQ(rightIn5(QStringLiteral("7")), QStringLiteral("    7"));
    test::Fixture f;
    f.a.albname = QStringLiteral("ABCDEFGH");
    f.a.albdesc = QStringLiteral("123456789");
    // A 20-character album line starts at column 30.
    EXPECT_EQ(albumReport(f.a, QDate(2026, 1, 2))[0][2].column, 30);
}
