// SPDX-License-Identifier: GPL-3.0-or-later
// The page view filling a Small spread of 24 camera-size JPEGs through the picture library:
// with no cache, with the disk tier filled (a fresh library, as in a fresh process) and from
// memory, each against vipsthumbnail making the same 24 thumbnails in the same run; then the
// drawing time of every tick of a page turn.

#include "benchpictures.h"
#include "benchresult.h"
#include "bookview.h"
#include "phpage.h"
#include "picturelibrary.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace vimbrel;
using bench::msSince;

namespace {

double vipsSpread(const QStringList& paths, const QString& out) {
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral("vipsthumbnail"),
            QStringList{QStringLiteral("-s"), QStringLiteral("108x72"), QStringLiteral("-o"),
                        out + QStringLiteral("/%s.jpg")} +
                paths);
    p.waitForFinished(-1);
    return msSince(t);
}

struct NoViews : WindowHub {};

// Shows the spread and runs the event loop until its last picture is drawn.
void showSpread(phpage& w) {
    w.SetPage();
    bench::waitForPictures(w);
}

} // namespace

int main(int argc, char** argv) {
    bench::startLikeTheProgram();
    QApplication app(argc, argv);
    const bench::PhotoAlbum photos(bench::photoFolder(argc, argv), 24);
    const QString& folder = photos.folder;
    const QStringList& paths = photos.paths;
    Album& a = *photos.album;
    QTemporaryDir tmp;
    a.pgsize = 1;
    a.grps[1].glast = 96;
    a.grps[1].gcount = 24;
    a.nframes = 96;
    for (int i = 25; i <= 48; ++i) // a second spread for the turn, the same pictures again
        a.frames[i] = static_cast<Integer>(i - 24);
    NoViews hub;

    std::printf("Small spread, 24 JPEGs of 4000x3000 (%s)\n", qPrintable(folder));
    const int rounds = 3;
    std::vector<double> cold, disk, memory, vips;
    for (int r = 0; r < rounds; ++r) {
        const QString cache = tmp.filePath(QStringLiteral("cache%1").arg(r));
        {
            PictureLibrary lib(cache, 64 << 20);
            phpage w(a, hub, lib);
            a.curpage = 1;
            QElapsedTimer t;
            t.start();
            showSpread(w);
            cold.push_back(msSince(t));
            t.restart();
            showSpread(w);
            memory.push_back(msSince(t));
        }
        {
            PictureLibrary lib(cache, 64 << 20); // memory empty, disk tier filled
            phpage w(a, hub, lib);
            QElapsedTimer t;
            t.start();
            showSpread(w);
            disk.push_back(msSince(t));
        }
        const QString out = tmp.filePath(QStringLiteral("vips%1").arg(r));
        QDir().mkpath(out);
        vips.push_back(vipsSpread(paths, out));
    }
    const auto med = bench::median;
    const double ref = med(vips);
    std::printf("%-44s %8.2f ms  %6.3fx vipsthumbnail (target <= 0.5x)\n", "no cache", med(cold),
                med(cold) / ref);
    std::printf("%-44s %8.2f ms  %6.3fx vipsthumbnail (target <= 0.05x)\n", "disk tier filled",
                med(disk), med(disk) / ref);
    std::printf("%-44s %8.2f ms  %6.3fx vipsthumbnail (target < 2 ms)\n", "from memory",
                med(memory), med(memory) / ref);
    std::printf("%-44s %8.2f ms\n", "reference: vipsthumbnail -s 108x72, 24 files", ref);
    bench::result("page view: Small spread, no cache", med(cold), "ms", ref, med(cold) / ref,
                  bench::ratioAtMost(0.5));
    bench::result("page view: Small spread, disk tier filled", med(disk), "ms", ref,
                  med(disk) / ref, bench::ratioAtMost(0.05));
    bench::result("page view: Small spread, from memory", med(memory), "ms", ref, med(memory) / ref,
                  bench::figureBelow(2));

    // A turn: every tick, with the book painted at once (grab() paints every layer of it into
    // a picture, as the screen would).
    PictureLibrary lib(tmp.filePath(QStringLiteral("cache0")), 64 << 20);
    phpage w(a, hub, lib);
    w.show();
    a.curpage = 1;
    showSpread(w);
    w.repaint();
    w.pgright_Click();
    w.pgtimer.stop(); // the ticks are driven here, one by one
    std::vector<double> ticks;
    for (int i = 0; i < 6; ++i) {
        QElapsedTimer t;
        t.start();
        w.pgtimer_Timer();
        (void)w.phpg->grab();
        ticks.push_back(msSince(t));
    }
    std::printf("page turn ticks (target <= 10 ms each):");
    for (double d : ticks)
        std::printf(" %.2f", d);
    std::printf(" ms\n");
    bench::result("page view: slowest page turn tick",
                  *std::max_element(ticks.begin(), ticks.end()), "ms", bench::none, bench::none,
                  bench::figureAtMost(10));
    return bench::exitCode();
}
