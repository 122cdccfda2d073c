// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a stored thumbnail file: reading it must never crash, read out of bounds
// or allocate without bound, whether its checksum holds or not.

#include "diskthumbnails.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>

using namespace vimbrel;

namespace {

struct Place {
    QTemporaryDir dir;
    QString picture = dir.filePath(QStringLiteral("picture.jpg"));
    DiskThumbnails thumbs{dir.filePath(QStringLiteral("cache")), 64 << 20};
    PictureSource src;
    Place() {
        QImage(32, 24, QImage::Format_RGB32).save(picture, "JPEG");
        src = PictureSource::of(picture);
        QDir().mkpath(thumbs.folder());
    }
    void tryRead(const QByteArray& bytes) {
        QFile f(thumbs.fileFor(src));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        f.write(bytes);
        f.close();
        QImage img;
        QSize full;
        thumbs.read(src, QSize(108, 72), &img, &full);
        thumbs.read(src, QSize(), &img, &full);
        thumbs.fullSize(src, &full);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Place place;
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    place.tryRead(bytes);
    // The same file with a checksum that holds, so the picture inside is decoded too.
    if (DiskThumbnails::sealChecksum(bytes))
        place.tryRead(bytes);
    return 0;
}
