// The artwork draws every picture crisply at 100% and 200%, fills the box it is given, and
// answers an unknown name with nothing rather than a crash.
// With VIMBREL_ARTWORK_PNG=<folder> set, each rendering is also saved there to look at.

#include "artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

#include <memory>

using namespace vimbrel;

namespace {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_artwork";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QGuiApplication> m_app;
};
const auto* const guiEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

const QStringList required{QStringLiteral("vimbrel"), QStringLiteral("topart"),
                           QStringLiteral("open"),    QStringLiteral("new"),
                           QStringLiteral("save"),    QStringLiteral("rename"),
                           QStringLiteral("return"),  QStringLiteral("exit")};

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

void keepForLooking(const QPixmap& pixmap, const QString& name, qreal dpr) {
    const QString folder = qEnvironmentVariable("VIMBREL_ARTWORK_PNG");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    pixmap.toImage().save(QStringLiteral("%1/%2@%3x.png").arg(folder, name).arg(dpr));
}

} // namespace

TEST(Artwork, ListsEveryPictureTheWindowsUse) {
    const QStringList names = artworkNames();
    const QStringList used =
        QStringLiteral("tool-groups tool-import tool-command tool-exit tool-photobox "
                       "tool-rotate tool-large tool-medium tool-small tool-first tool-last "
                       "tool-goto tool-descedit tool-index desc_on desc_off tool-selectall "
                       "tool-saveas tool-help tool-minimize tool-slideshow tool-email "
                       "tool-print dragico draggrpico dropico")
            .split(QLatin1Char(' ')) +
        required;
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
            EXPECT_EQ(pixmap.devicePixelRatio(), dpr);
            const QRect painted = paintedBounds(pixmap.toImage());
            EXPECT_GE(painted.width(), pixmap.width() * 8 / 10);
            EXPECT_GE(painted.height(), pixmap.height() * 7 / 10);
            keepForLooking(pixmap, name, dpr);
        }
    }
}

TEST(Artwork, WidePictureInASquareBoxKeepsItsShapeCentred) {
    const QPixmap pixmap = artworkPixmap(QStringLiteral("topart"), {100, 100}, 1.0);
    ASSERT_EQ(pixmap.size(), QSize(100, 100));
    const QRect painted = paintedBounds(pixmap.toImage());
    EXPECT_LE(painted.height(), 60); // 200/360 of 100, not stretched
    EXPECT_NEAR(painted.center().y(), 50, 2);
}

TEST(Artwork, IconDrawsAfreshForEverySizeAndScale) {
    const QIcon icon = artworkIcon(QStringLiteral("vimbrel"));
    ASSERT_FALSE(icon.isNull());
    for (const int side : {16, 48, 256}) {
        for (const qreal dpr : {1.0, 2.0}) {
            const QPixmap pixmap = icon.pixmap(QSize(side, side), dpr);
            EXPECT_EQ(pixmap.size(), QSize(side, side) * dpr) << side << "@" << dpr;
            EXPECT_FALSE(paintedBounds(pixmap.toImage()).isEmpty());
        }
        keepForLooking(icon.pixmap(QSize(side, side), 1.0), QStringLiteral("icon-%1").arg(side),
                       1.0);
    }
}

TEST(Artwork, DisabledIconIsGreyAndFainter) {
    const QIcon icon = artworkIcon(QStringLiteral("new"));
    const QImage normal =
        icon.pixmap(QSize(32, 32), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage disabled = icon.pixmap(QSize(32, 32), 1.0, QIcon::Disabled)
                                .toImage()
                                .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(disabled.size(), normal.size());
    for (int y = 0; y < disabled.height(); ++y)
        for (int x = 0; x < disabled.width(); ++x) {
            const QRgb d = disabled.pixel(x, y);
            EXPECT_LE(qAlpha(d), qAlpha(normal.pixel(x, y)));
            if (qAlpha(d) > 0) {
                ASSERT_TRUE(qRed(d) == qGreen(d) && qGreen(d) == qBlue(d)) << x << "," << y;
            }
        }
}

TEST(Artwork, UnknownNameOrEmptySizeGivesNothing) {
    EXPECT_TRUE(artworkIcon(QStringLiteral("no-such-picture")).isNull());
    EXPECT_TRUE(artworkPixmap(QStringLiteral("no-such-picture"), {32, 32}, 1.0).isNull());
    EXPECT_TRUE(artworkPixmap(QStringLiteral("../artwork/open"), {32, 32}, 1.0).isNull());
    EXPECT_TRUE(artworkPixmap(QStringLiteral("open"), {0, 32}, 1.0).isNull());
    EXPECT_TRUE(artworkPixmap(QStringLiteral("open"), {32, 32}, 0.0).isNull());
}
