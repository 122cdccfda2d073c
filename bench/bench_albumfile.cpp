// Reading and writing a full album (1000 pictures, 42 groups, 1000 frames), against the
// same bytes read and written with no decoding at all (the I/O floor), in the same run.

#include "album.h"
#include "albumfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace vimbrel;

namespace {

double medianMs(int runs, const std::function<void()>& f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        f();
        t.push_back(static_cast<double>(e.nsecsElapsed()) / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void fillFullAlbum(Album& a) {
    ClearAlbum(a);
    a.npics = 900;
    a.npbox = 100;
    a.pbfirst = 901;
    for (int i = 1; i <= 1000; ++i) {
        PicRec& p = a.pics[i];
        p.pfile = QStringLiteral("vmb%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        p.porient = "L";
        p.psdesc = QStringLiteral("Picture %1").arg(i);
        p.pldesc = QStringLiteral("A longer description of picture number %1").arg(i);
        p.pwidth = 4000;
        p.pheight = 3000;
    }
    a.ngrps = 42;
    for (int g = 1; g <= 42; ++g) {
        a.grps[g].gname = QStringLiteral("Group %1").arg(g);
        a.grps[g].gdesc = QStringLiteral("What happened in group %1").arg(g);
        a.grps[g].gfirst = static_cast<Integer>((g - 1) * 1000 / 42 + 1);
        a.grps[g].glast = static_cast<Integer>(g * 1000 / 42);
    }
    a.nframes = 1000;
    for (int F = 1; F <= 1000; ++F)
        a.frames[F] = static_cast<Integer>(F <= 900 ? F : -1);
}

} // namespace

int main() {
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("FULL.vmb"));
    QDir().mkpath(tmp.filePath(QStringLiteral("FULL")));
    auto a = std::make_unique<Album>();
    a->cfgfile = tmp.filePath(QStringLiteral("vimbra.cfg"));
    a->cfglist.append(AlbumList::other, AlbumList::other);
    fillFullAlbum(*a);
    a->albfile = file;
    a->albtitle = QStringLiteral("FULL.vmb");
    a->picdir = tmp.filePath(QStringLiteral("FULL")) + QLatin1Char('/');
    WriteAlbum(*a);
    const QByteArray bytes = encodeAlbum(*a);

    const int runs = 200;
    const double write = medianMs(runs, [&] { WriteAlbum(*a); });
    const double rawWrite = medianMs(runs, [&] {
        QSaveFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.commit();
    });
    const double read = medianMs(runs, [&] {
        ReadAlbum(*a);
        a->albfile = file;
    });
    const double rawRead = medianMs(runs, [&] {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        (void)f.readAll();
    });
    const double encode = medianMs(runs, [&] { (void)encodeAlbum(*a); });
    const double decode = medianMs(runs, [&] {
        ClearAlbum(*a);
        (void)decodeAlbum(bytes, *a);
    });

    std::printf("full album file: %lld bytes, %d pictures, %d groups\n",
                static_cast<long long>(bytes.size()), a->npics + a->npbox, a->ngrps);
    std::printf("WriteAlbum  %7.3f ms   reference: raw atomic write %7.3f ms   ratio %.2fx\n",
                write, rawWrite, write / rawWrite);
    std::printf("ReadAlbum   %7.3f ms   reference: raw read         %7.3f ms   ratio %.2fx\n", read,
                rawRead, read / rawRead);
    std::printf(
        "encode only %7.3f ms, decode only %7.3f ms (target: ReadAlbum, WriteAlbum < 5 ms)\n",
        encode, decode);
    return write < 5.0 && read < 5.0 ? 0 : 1;
}
