// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the small seed corpus of the fuzz targets: a few real album and configuration files.

#include "album.h"
#include "albumfile.h"
#include "config.h"
#include "diskthumbnails.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <memory>

using namespace vimbrel;

namespace {

void save(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

void addPicture(Album& a, int slot, int frame) {
    a.pics[slot].pfile = QStringLiteral("vmb%1.jpg").arg(slot, 4, 10, QLatin1Char('0'));
    a.pics[slot].porient = "L";
    a.pics[slot].pwidth = 640;
    a.pics[slot].pheight = 480;
    if (frame > 0)
        a.frames[frame] = static_cast<Integer>(slot);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("album"));
    out.mkpath(QStringLiteral("config"));
    out.mkpath(QStringLiteral("thumb"));
    out.mkpath(QStringLiteral("picture"));

    auto a = std::make_unique<Album>();
    ClearAlbum(*a);
    a->picdir = QStringLiteral("/home/u/TRIP/");
    save(out.filePath(QStringLiteral("album/empty.vmb")), encodeAlbum(*a));

    // Three groups of 24 frames, five pictures, two in the Photo Box.
    a->ngrps = 3;
    for (int g = 1; g <= 3; ++g) {
        a->grps[g].gname = QStringLiteral("G%1").arg(g);
        a->grps[g].gfirst = static_cast<Integer>(24 * (g - 1) + 1);
        a->grps[g].glast = static_cast<Integer>(24 * g);
    }
    a->nframes = 72;
    for (int i = 1; i <= 5; ++i)
        addPicture(*a, i, i * 7);
    a->npics = 5;
    addPicture(*a, 999, 0);
    addPicture(*a, 1000, 0);
    a->npbox = 2;
    a->pbfirst = 999;
    save(out.filePath(QStringLiteral("album/small.vmb")), encodeAlbum(*a));

    a->cfglist.append(QStringLiteral("TRIP.vmb"), QStringLiteral("/home/u/TRIP.vmb"));
    a->cfglist.append(AlbumList::other, AlbumList::other);
    a->pgsize = 2;
    a->descon = 'y';
    a->carddir = QStringLiteral("/media/card/");
    save(out.filePath(QStringLiteral("config/one.cfg")), encodeConfig(*a));

    // A real stored thumbnail of a small picture.
    QTemporaryDir tmp;
    const QString picture = tmp.filePath(QStringLiteral("p.jpg"));
    QImage img(64, 48, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    img.save(picture, "JPEG");
    DiskThumbnails thumbs(tmp.filePath(QStringLiteral("cache")), 1 << 20);
    const PictureSource src = PictureSource::of(picture);
    thumbs.write(src, img.scaled(32, 24), QSize(64, 48));
    QFile::copy(thumbs.fileFor(src), out.filePath(QStringLiteral("thumb/small.vthumb")));

    // Pictures whole, cut short and with data after them, baseline and progressive.
    QFile in(picture);
    const QByteArray jpeg = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    save(out.filePath(QStringLiteral("picture/whole.jpg")), jpeg);
    save(out.filePath(QStringLiteral("picture/cut.jpg")), jpeg.left(jpeg.size() * 3 / 4));
    save(out.filePath(QStringLiteral("picture/trailer.jpg")), jpeg + QByteArray(300, 'v'));
    const QString progressive = tmp.filePath(QStringLiteral("q.jpg"));
    QImageWriter writer(progressive, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(img);
    QFile::copy(progressive, out.filePath(QStringLiteral("picture/progressive.jpg")));
    return 0;
}
