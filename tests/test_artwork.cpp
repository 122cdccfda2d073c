// SPDX-License-Identifier: GPL-3.0-or-later
#include "artwork.h"

#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

using namespace vimbrel;

namespace {

// The bounding box of the pixels that are not (nearly) transparent.
QRect paintedBounds(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QRect bounds;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(row[x]) > 16)
                bounds |= QRect(x, y, 1, 1);
    }
    return bounds;
}

} // namespace

TEST(Artwork, ListsEveryPictureTheWindowsUse) {
    const QStringList names = artworkNames();
    const QStringList used =
        QStringLiteral("tool-groups tool-import tool-command tool-exit tool-photobox "
                       "tool-rotate tool-large tool-medium tool-small tool-first tool-last "
                       "tool-goto tool-descedit tool-index desc_on desc_off tool-selectall "
                       "tool-saveas tool-help tool-minimize tool-slideshow tool-email "
                       "tool-print dragico draggrpico dropico vimbrel topart open new save "
                       "rename return exit")
            .split(QLatin1Char(' '));
    for (const QString& name : used)
        EXPECT_TRUE(names.contains(name)) << qPrintable(name);
}

// A wrong view box or scale would leave the box mostly empty.
TEST(Artwork, DrawsEachPictureAtOneAndTwoTimesFillingItsBox) {
    for (const QString& name : artworkNames()) {
        const QSize logical = artworkSize(name);
        ASSERT_FALSE(logical.isEmpty()) << qPrintable(name);
        for (const qreal dpr : {1.0, 2.0}) {
            SCOPED_TRACE(qPrintable(QStringLiteral("%1 at %2x").arg(name).arg(dpr)));
            const QPixmap pixmap = artworkPixmap(name, logical, dpr);
            ASSERT_EQ(pixmap.size(), logical * dpr);
            const QRect painted = paintedBounds(pixmap.toImage());
            EXPECT_GE(painted.width(), pixmap.width() * 8 / 10);
            EXPECT_GE(painted.height(), pixmap.height() * 7 / 10);
        }
    }
}

TEST(Artwork, UnknownNameOrEmptySizeGivesNothing) {
    EXPECT_TRUE(artworkIcon(QStringLiteral("no-such-picture")).isNull());
    EXPECT_TRUE(artworkPixmap(QStringLiteral("no-such-picture"), {32, 32}, 1.0).isNull());
    EXPECT_TRUE(artworkPixmap(QStringLiteral("../artwork/open"), {32, 32}, 1.0).isNull());
    EXPECT_TRUE(artworkPixmap(QStringLiteral("open"), {0, 32}, 1.0).isNull());
}
