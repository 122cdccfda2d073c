// SPDX-License-Identifier: GPL-3.0-or-later
// Photos the size today's cameras take, through everything that reads them: import, drawing,
// printing, Save Image As in every type and the e-mail copy.

#include "albumfixture.h"
#include "cellpictures.h"
#include "importrules.h"
#include "picturefiles.h"
#include "picturelibrary.h"
#include "savepicture.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vimbrel;
using namespace vimbrel::test;

namespace {

// Only the header: reading a written 61-megapixel file back in full would double the test.
QSize storedSize(const QString& path, QByteArray* format) {
    QImageReader r(path);
    *format = r.format();
    return r.size();
}

} // namespace

// Qt refuses decodes above 128 MB by default, about 33.5 megapixels.
TEST(CameraFiles, LargePhotosImportDrawPrintSaveAndMail) {
    const struct {
        const char* name;
        QSize size;
    } photos[] = {{"45mp.jpg", {8256, 5504}}, {"61mp.jpg", {9568, 6376}}};
    for (const auto& photo : photos) {
        SCOPED_TRACE(photo.name);
        QTemporaryDir dir;
        Fixture f;
        f.a.picdir = dir.filePath(QStringLiteral("TRIP")) + QLatin1Char('/');
        QDir().mkpath(f.a.picdir);
        PictureLibrary lib(dir.filePath(QStringLiteral("cache")), 16 << 20);
        auto at = [&dir](const char* name) {
            return dir.filePath(QString::fromLatin1(name));
        };
        const QString src = at(photo.name);
        // Low quality keeps the file and the test small; the decode is as large as ever.
        writeFile(src, jpegBytes(markedPicture(photo.size.width(), photo.size.height()),
                                 {.quality = 20}));

        // Import: the copy, then the measuring decode of the copy.
        const QString copy = f.a.picdir + QStringLiteral("vmb0001.jpg");
        ASSERT_EQ(copyPicture(src, copy).kind, CopyOutcome::Copied);
        ASSERT_TRUE(verifyCopy(src, copy));
        const PictureLibrary::Measure m = measurePicture(lib, copy);
        EXPECT_EQ(m.size, photo.size) << qPrintable(m.error);

        // Drawing, on screen and in a 6 x 4 inch print cell at 300 dpi.
        QImage screen(300, 200, QImage::Format_RGB32);
        screen.fill(Qt::yellow);
        {
            QPainter p(&screen);
            lib.DispPic(p, copy, 0, 0, 300, 200, 0);
        }
        EXPECT_TRUE(near(cornerColour(screen, 'a'), kRed));
        EXPECT_TRUE(near(cornerColour(screen, 'b'), kGreen));
        CellPictures cells(lib);
        const QImage cell = cells.take({copy, QSize(1200, 1800), 90});
        ASSERT_EQ(cell.size(), QSize(1200, 1800));
        EXPECT_TRUE(near(cornerColour(cell, 'b'), kRed));

        // Save Image As in the three types.
        for (const char* name : {"saved.jpg", "saved.gif", "saved.bmp"}) {
            EXPECT_FALSE(savePictureAs(f.a, lib, copy, at(name))) << name;
            QByteArray format;
            EXPECT_EQ(storedSize(at(name), &format), photo.size) << name;
            EXPECT_EQ(format, QByteArray(name).right(3).replace("jpg", "jpeg")) << name;
        }
        for (const auto& s : f.ui.shown)
            ADD_FAILURE() << qPrintable(s.title) << ": " << qPrintable(s.text);
        // A JPEG saved as JPEG is a plain copy there; the conversion decodes it in full.
        ASSERT_EQ(lib.SavePic(copy, at("conv.jpg"), 20, PictureLibrary::Jpeg), 0);
        QByteArray format;
        EXPECT_EQ(storedSize(at("conv.jpg"), &format), photo.size);

        // The e-mail copy.
        ASSERT_EQ(lib.SaveResizePic(copy, at("mail.jpg"), 50, 0, PictureLibrary::Jpeg, 640, 427),
                  0);
        const QImage mail(at("mail.jpg"));
        ASSERT_EQ(mail.size(), QSize(640, 427));
        EXPECT_TRUE(near(cornerColour(mail, 'b'), kGreen));
    }
}
