// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing a full album (1000 pictures, 42 groups, 1000 frames), against the
// same bytes read and written with no decoding at all (the I/O floor), in the same run.
// A durable write is bound by the disk's fsync, which no code can beat, so the write's target
// is a ratio to a bare atomic write of the same bytes on the same disk, taken in turns with it.

#include "album.h"
#include "albumfile.h"
#include "benchpictures.h"
#include "benchresult.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace vimbrel;
using bench::median;

namespace {

double msOf(const std::function<void()>& f) {
    QElapsedTimer e;
    e.start();
    f();
    return bench::msSince(e);
}

double medianMs(int runs, const std::function<void()>& f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i)
        t.push_back(msOf(f));
    return median(t);
}

// The album writer's durable steps with nothing else: a temporary file beside the target,
// written, flushed to disk, renamed over it, and the rename flushed with its folder.
void rawAtomicWrite(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temp = target + ".raw";
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            break;
        done += n;
    }
    ::fsync(fd);
    ::close(fd);
    ::rename(temp.constData(), target.constData());
    const int dir = ::open(QFile::encodeName(QFileInfo(path).path()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
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
    bench::startLikeTheProgram();
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
    // In turns, so that both meet the same disk and load; the ratio is the median of the
    // rounds' ratios.
    std::vector<double> writes, rawWrites, writeRatios;
    for (int i = 0; i < runs; ++i) {
        writes.push_back(msOf([&] { WriteAlbum(*a); }));
        rawWrites.push_back(msOf([&] { rawAtomicWrite(file, bytes); }));
        writeRatios.push_back(writes.back() / rawWrites.back());
    }
    const double write = median(writes);
    const double rawWrite = median(rawWrites);
    const double writeRatio = median(writeRatios);
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
                write, rawWrite, writeRatio);
    std::printf("ReadAlbum   %7.3f ms   reference: raw read         %7.3f ms   ratio %.2fx\n", read,
                rawRead, read / rawRead);
    std::printf("encode only %7.3f ms, decode only %7.3f ms (target: WriteAlbum <= 1.5x, ReadAlbum "
                "< 5 ms)\n",
                encode, decode);
    bench::result("WriteAlbum, full album", write, "ms", rawWrite, writeRatio,
                  bench::ratioAtMost(1.5));
    bench::result("ReadAlbum, full album", read, "ms", rawRead, read / rawRead,
                  bench::figureBelow(5.0));
    bench::result("encodeAlbum, full album", encode, "ms", bench::none, bench::none);
    bench::result("decodeAlbum, full album", decode, "ms", bench::none, bench::none);
    return bench::exitCode();
}
