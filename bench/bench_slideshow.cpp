// SPDX-License-Identifier: GPL-3.0-or-later
// The slide show's change of slide: from the Next command to the new picture painted, for
// 24-megapixel JPEGs, with the picture decoded ahead (as it is while a slide is on show) and
// without (a jump to a slide not prepared). The references, run in the same rounds: djpeg
// decoding the same file at 1/8 scale (the floor for any picture of display size) and a full
// decode with QImageReader (what showing the picture without reduced-scale decoding costs).

#include "benchpictures.h"
#include "benchresult.h"
#include "phslide.h"
#include "picturelibrary.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace vimbrel;
using bench::median;
using bench::msSince;

namespace {

double djpegEighth(const QString& path) {
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral("djpeg"), {QStringLiteral("-scale"), QStringLiteral("1/8"), path});
    p.waitForFinished(-1);
    return msSince(t);
}

double fullDecode(const QString& path) {
    QElapsedTimer t;
    t.start();
    QImageReader r(path);
    const QImage img = r.read();
    const double ms = msSince(t);
    return img.isNull() ? -1 : ms;
}

} // namespace

int main(int argc, char** argv) {
    bench::startLikeTheProgram();
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("A"));
    QDir().mkpath(folder);

    auto album = std::make_unique<Album>();
    Album& a = *album;
    ClearAlbum(a);
    a.picdir = folder + QLatin1Char('/');
    const int count = 3;
    QStringList paths;
    for (int i = 1; i <= count; ++i) {
        const QString name = QStringLiteral("vmb%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        paths.append(a.picdir + name);
        bench::makePhoto(6000, 4000, quint32(i)).save(paths.back(), "JPEG", 90);
        PicRec& p = a.pics[i];
        p.pfile = name;
        p.porient = "L";
        p.pwidth = 6000;
        p.pheight = 4000;
        p.psel = 0;
        a.frames[i] = static_cast<Integer>(i);
    }
    a.npics = count;
    a.nsel = count;
    a.grps[1].glast = 12;
    a.grps[1].gcount = count;
    a.nframes = 12;
    a.curgrp = 1;
    a.slidesrc = QStringLiteral("Slide");

    PictureLibrary pictures(tmp.filePath(QStringLiteral("thumbs")), 64 << 20);
    WindowHub hub;
    phslide w(a, hub, pictures);
    w.show();
    QApplication::processEvents();

    // One change of slide, timed up to the picture painted in the display area.
    const auto change = [&] {
        QElapsedTimer t;
        t.start();
        w.cb_next_Click();
        bench::waitForPictures(w);
        w.pb->repaint();
        return msSince(t);
    };
    const auto waitForAhead = [&] {
        while (w.loadingAhead())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };

    std::printf("Slide change, 600 x 450, JPEGs of 6000x4000 (24 megapixels)\n");
    const int rounds = 7;
    std::vector<double> ahead, cold, djpeg, full, aheadRatio, coldRatio, fullRatio;
    for (int r = 0; r < rounds; ++r) {
        const QString next = paths[(w.pg_scroll->value()) % count];
        waitForAhead();
        const double a1 = change();
        waitForAhead();
        pictures.clearMemory(); // the next slide is no longer prepared
        const double c1 = change();
        const double d1 = djpegEighth(next);
        const double f1 = fullDecode(next);
        ahead.push_back(a1);
        cold.push_back(c1);
        djpeg.push_back(d1);
        full.push_back(f1);
        aheadRatio.push_back(a1 / d1);
        coldRatio.push_back(c1 / d1);
        fullRatio.push_back(c1 / f1);
    }
    waitForAhead();
    std::printf("%-40s %8.2f ms  %6.3fx djpeg -scale 1/8\n", "decoded ahead", median(ahead),
                median(aheadRatio));
    std::printf("%-40s %8.2f ms  %6.3fx djpeg -scale 1/8, %6.3fx full decode\n",
                "not decoded ahead", median(cold), median(coldRatio), median(fullRatio));
    std::printf("%-40s %8.2f ms\n", "reference: djpeg -scale 1/8 (process)", median(djpeg));
    std::printf("%-40s %8.2f ms\n", "reference: QImageReader full decode", median(full));
    bench::result("slide show: change, decoded ahead", median(ahead), "ms", median(djpeg),
                  median(aheadRatio));
    bench::result("slide show: change, not decoded ahead", median(cold), "ms", median(djpeg),
                  median(coldRatio));
    bench::result("slide show: change, not ahead, vs full decode", median(cold), "ms", median(full),
                  median(fullRatio));
    return bench::exitCode();
}
