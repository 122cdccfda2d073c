// SPDX-License-Identifier: GPL-3.0-or-later
// The picture loader: what a window gets, in which request, and what is never made at all.
// The pool is held busy where a test needs work to be still waiting when the next request
// comes, so nothing here depends on how fast the machine decodes.

#include "picturefiles.h"
#include "picturelibrary.h"
#include "pictureloader.h"
#include "poolgate.h"
#include "waitpictures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace vimbrel;
using namespace vimbrel::test;

namespace {

struct Delivery {
    quint64 generation;
    int index;
    QImage image;
};

class PictureLoaderTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    PictureLibrary lib{dir.filePath(QStringLiteral("cache")), 16 * 1024 * 1024};
    std::unique_ptr<PictureLoader> loader = std::make_unique<PictureLoader>(lib);
    QList<Delivery> got;
    int settledSignals = 0;

    PictureLoaderTest() {
        QObject::connect(loader.get(), &PictureLoader::arrived,
                         [this](quint64 g, int i, const QImage& img) {
                             got.append({g, i, img});
                         });
        QObject::connect(loader.get(), &PictureLoader::settled, [this] { ++settledSignals; });
    }
    ~PictureLoaderTest() override { lib.pool().waitForDone(); }

    // A picture of one colour, told apart by its hue.
    PictureLibrary::Request picture(int n) {
        QImage img(64, 48, QImage::Format_RGB32);
        img.fill(colour(n));
        const QString path = dir.filePath(QStringLiteral("p%1.jpg").arg(n));
        writeFile(path, jpegBytes(img));
        return {path, QSize(32, 24), 0};
    }
    static QRgb colour(int n) { return QColor::fromHsv(n * 47 % 360, 255, 230).rgb(); }
    static bool shows(const QImage& img, int n) {
        return !img.isNull() && near(img.pixel(img.width() / 2, img.height() / 2), colour(n));
    }
    QList<PictureLibrary::Request> pictures(int from, int to) {
        QList<PictureLibrary::Request> out;
        for (int n = from; n <= to; ++n)
            out.append(picture(n));
        return out;
    }
    // Every delivery is of request `current`; `want` says what index i must show.
    void expectDelivered(quint64 current, const std::function<bool(int, const QImage&)>& want) {
        for (const Delivery& d : got) {
            EXPECT_EQ(d.generation, current);
            EXPECT_TRUE(want(d.index, d.image)) << d.index;
        }
    }
    bool settle() {
        return waitUntil([&] { return loader->pending() == 0 && loader->working() == 0; }) &&
               (lib.pool().waitForDone(), QCoreApplication::processEvents(), true);
    }
};

} // namespace

// The work of a request replaced before it started is never done, and only the current
// request's pictures are delivered, each at its own index.
TEST_F(PictureLoaderTest, ANewerRequestDropsWhatHasNotStarted) {
    const auto first = pictures(1, 6);
    const auto second = pictures(7, 10);
    PoolGate gate(lib);
    loader->request(first, pictures(11, 12));
    const quint64 current = loader->request(second);
    EXPECT_EQ(loader->pending(), 4);
    gate.release();
    ASSERT_TRUE(settle());
    EXPECT_EQ(lib.stats().decodes, 4);
    ASSERT_EQ(got.size(), 4);
    expectDelivered(current, [](int i, const QImage& img) { return shows(img, 7 + i); });
    EXPECT_EQ(settledSignals, 1);
}

// The same pictures asked for again in another order: each lands at its new index, and
// nothing already waiting is made twice (pictures ahead become pictures on screen).
TEST_F(PictureLoaderTest, ResultsFollowTheCurrentOrderAndAreMadeOnce) {
    const auto p = pictures(1, 3);
    PoolGate gate(lib);
    loader->request({}, p); // all ahead
    loader->request({p[2], p[0]});
    const quint64 current = loader->request({p[2], p[0], p[2]}, {p[1]});
    gate.release();
    ASSERT_TRUE(settle());
    EXPECT_EQ(lib.stats().decodes, 3);
    ASSERT_EQ(got.size(), 3);
    expectDelivered(current, [](int i, const QImage& img) { return shows(img, i == 1 ? 1 : 3); });
}

// A picture in the memory tier arrives before request() returns; a picture that cannot be
// read arrives as a null image, so nothing waits for it forever.
TEST_F(PictureLoaderTest, MemoryAtOnceAndFailuresDelivered) {
    const auto p = pictures(1, 2);
    lib.prepare({p[0]});
    const QString broken = dir.filePath(QStringLiteral("broken.jpg"));
    writeFile(broken, jpegBytes(QImage(64, 48, QImage::Format_RGB32)).left(40));
    const PictureLibrary::Request bad{broken, QSize(32, 24), 0};

    loader->request({p[0]});
    ASSERT_EQ(got.size(), 1);
    EXPECT_TRUE(shows(got[0].image, 1));
    EXPECT_EQ(loader->pending(), 0);
    EXPECT_EQ(settledSignals, 1);

    got.clear();
    const quint64 current = loader->request({bad, p[1]});
    ASSERT_TRUE(settle());
    ASSERT_EQ(got.size(), 2);
    expectDelivered(current, [](int i, const QImage& img) { return img.isNull() == (i == 0); });
    EXPECT_EQ(settledSignals, 2);
}

// A window that goes while its pictures are being made: the work ends quietly.
TEST_F(PictureLoaderTest, LoaderGoneBeforeItsPictures) {
    PoolGate gate(lib);
    loader->request(pictures(1, 3));
    loader.reset();
    gate.release();
    lib.pool().waitForDone();
    QCoreApplication::processEvents();
    EXPECT_TRUE(got.isEmpty());
    EXPECT_EQ(lib.stats().decodes, 0);
}

// The debug check the windows are held to: reading a picture for drawing on the GUI thread is
// counted, on the pool it is not.
TEST_F(PictureLoaderTest, GuiThreadLoadsAreCounted) {
    const auto p = pictures(1, 2);
    lib.prepare({p[0]});
    EXPECT_EQ(lib.stats().guiThreadLoads, 0);
    lib.thumbnail(p[1].path, p[1].size, 0);
    EXPECT_EQ(lib.stats().guiThreadLoads, 1);
}
