// SPDX-License-Identifier: GPL-3.0-or-later
// The picture library against the reference tools, timed in the same run on the same files:
// vipsthumbnail (libvips' shrink-on-load thumbnailer) and djpeg (libjpeg-turbo's decoder).
//
//   bench_pictures [folder]   pictures are made once in `folder` (default: a folder under /tmp)
//
// Every figure is printed with its reference and the ratio ours / reference.

#include "benchpictures.h"
#include "benchresult.h"
#include "picturedecoder.h"
#include "picturelibrary.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtConcurrent>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace vimbrel;
using bench::median;
using bench::msSince;

namespace {

double medianMs(int runs, const std::function<void()>& before, const std::function<void()>& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        QElapsedTimer t;
        t.start();
        f();
        times.push_back(msSince(t));
    }
    return median(times);
}

// Ours and the reference in turns, so that both meet the same machine load; the ratio is the
// median of the per-round ratios.
struct Paired {
    double ours = 0;
    double theirs = 0;
    double ratio = 0;
};

Paired paired(int rounds, const std::function<void()>& before, const std::function<void()>& ours,
              const std::function<void()>& theirs) {
    std::vector<double> o, t, r;
    for (int i = 0; i < rounds; ++i) {
        if (before)
            before();
        QElapsedTimer timer;
        timer.start();
        ours();
        o.push_back(msSince(timer));
        timer.restart();
        theirs();
        t.push_back(msSince(timer));
        r.push_back(o.back() / t.back());
    }
    return {median(o), median(t), median(r)};
}

bool run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void report(const char* what, double ours, const char* reference, double theirs,
            bench::Target target = {}, double ratio = 0) {
    if (ratio <= 0)
        ratio = ours / theirs;
    const std::string goal =
        target.on == bench::Target::nothing ? "" : "(target " + bench::describe(target, "ms") + ")";
    std::printf("%-50s %8.2f ms | %-42s %8.2f ms | %6.3fx %s\n", what, ours, reference, theirs,
                ratio, goal.c_str());
    while (*what == ' ')
        ++what;
    bench::result(("pictures: " + std::string(what)).c_str(), ours, "ms", theirs, ratio, target);
}

void report(const char* what, const Paired& p, const char* reference, bench::Target target) {
    report(what, p.ours, reference, p.theirs, target, p.ratio);
}

QList<PictureLibrary::Request> spread(const QStringList& paths, QSize size) {
    QList<PictureLibrary::Request> out;
    for (const QString& p : paths)
        out.append({p, size, 0});
    return out;
}

void drawSpread(PictureLibrary& lib, const QStringList& paths, QImage& canvas) {
    QPainter p(&canvas);
    for (int i = 0; i < paths.size(); ++i)
        lib.DispPic(p, paths[i], (i % 6) * 120, (i / 6) * 90, 108, 72, 0);
}

// The child run: a fresh process drawing the spread with the disk tier already filled.
// Prints its time, the disk hits and the decodes.
int childSpread(const QString& cache, const QStringList& paths) {
    QElapsedTimer t;
    t.start();
    PictureLibrary lib(cache, 64 << 20);
    lib.prepare(spread(paths, QSize(108, 72)));
    QImage canvas(1000, 800, QImage::Format_RGB32);
    drawSpread(lib, paths, canvas);
    const auto s = lib.stats();
    std::printf("%.3f %d %d\n", msSince(t), s.diskHits, s.decodes);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    bench::startLikeTheProgram();
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("--child-spread"))
        return childSpread(args[2], args.mid(3));

    const QString folder = args.size() >= 2
                               ? args[1]
                               : QDir::temp().filePath(QStringLiteral("vimbrel-bench-pictures"));
    std::printf("Pictures in %s (made once)\n", qPrintable(folder));
    const QStringList photos = bench::ensurePhotos(folder, 24);
    qint64 bytes = 0;
    for (const QString& p : photos)
        bytes += QFileInfo(p).size();
    std::printf("24 JPEGs of 4000 x 3000 at quality 90, %.1f MB on average; %d threads\n\n",
                double(bytes) / double(photos.size()) / 1e6,
                QThreadPool::globalInstance()->maxThreadCount());

    // A GIF and a BMP of an ordinary size, made from the first photo.
    const QString gif = QDir(folder).filePath(QStringLiteral("photo.gif"));
    const QString bmp = QDir(folder).filePath(QStringLiteral("photo.bmp"));
    if (!QFileInfo::exists(gif) || !QFileInfo::exists(bmp)) {
        const DecodedPicture d = decodePicture(photos[0], QSize(1600, 1200));
        d.image.scaled(1600, 1200).save(bmp, "bmp");
        PictureLibrary(QDir(folder).filePath(QStringLiteral("unused-cache")), 0)
            .SaveResizePic(bmp, gif, 80, 0, PictureLibrary::Gif, 1600, 1200);
    }

    QTemporaryDir work;
    const QString out = work.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    int cacheRun = 0;
    auto newCache = [&] {
        return work.filePath(QStringLiteral("cache%1").arg(++cacheRun));
    };

    const int runs = 5;
    auto vipsthumbnail = [&](const char* size, const char* format) {
        run(QStringLiteral("vipsthumbnail"),
            QStringList{QStringLiteral("-s"), QString::fromLatin1(size), QStringLiteral("-o"),
                        out + QLatin1Char('/') + QString::fromLatin1(format)} +
                photos);
    };
    const double djpegEighth =
        medianMs(runs, nullptr,
                 [&] {
                     for (const QString& p : photos)
                         run(QStringLiteral("djpeg"),
                             {QStringLiteral("-scale"), QStringLiteral("1/8"), p});
                 }) /
        double(photos.size());
    const double vipsHeader =
        medianMs(runs, nullptr, [&] { run(QStringLiteral("vipsheader"), photos); }) /
        double(photos.size());

    // Small spread, nothing cached anywhere: reduced-scale decoding on both cores, filling the
    // disk tier on the way.
    QString cache;
    const Paired cold = paired(
        runs, [&] { cache = newCache(); },
        [&] {
            PictureLibrary lib(cache, 64 << 20);
            lib.prepare(spread(photos, QSize(108, 72)));
        },
        [&] { vipsthumbnail("108x72", "%s.jpg"); });
    const double vipsSpread = cold.theirs;
    report("Small spread 24 x 108x72, no cache", cold, "vipsthumbnail -s 108x72, 24 files",
           bench::ratioAtMost(0.5));

    // The same spread in a fresh process with the disk tier filled (the last cold run's).
    std::vector<double> inChild, wall;
    for (int i = 0; i < 5; ++i) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        p.start(QCoreApplication::applicationFilePath(),
                QStringList{QStringLiteral("--child-spread"), cache} + photos);
        p.waitForFinished(-1);
        wall.push_back(msSince(t));
        const QList<QByteArray> fields = p.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() == 3 && fields[1].toInt() == photos.size() && fields[2].toInt() == 0)
            inChild.push_back(fields[0].toDouble());
    }
    if (inChild.empty()) {
        std::printf("Fresh-process spread: the child did not answer from the disk tier\n");
        bench::result("pictures: Small spread, fresh process, disk tier filled", bench::none, "ms",
                      vipsSpread, bench::none, bench::ratioAtMost(0.05));
    } else {
        report("Small spread, fresh process, disk tier filled", median(inChild),
               "vipsthumbnail -s 108x72, 24 files", vipsSpread, bench::ratioAtMost(0.05));
        report("  the whole child process, Qt start-up included", median(wall),
               "vipsthumbnail -s 108x72, 24 files", vipsSpread);
    }

    // The same spread from memory: the window asks again and draws the 24 frames.
    {
        PictureLibrary lib(cache, 64 << 20);
        const auto requests = spread(photos, QSize(108, 72));
        lib.prepare(requests);
        QImage canvas(1000, 800, QImage::Format_RGB32);
        const double memory = medianMs(21, nullptr, [&] {
            lib.prepare(requests);
            drawSpread(lib, photos, canvas);
        });
        report("Small spread from memory (prepare + 24 DispPic)", memory,
               "vipsthumbnail -s 108x72, 24 files", vipsSpread, bench::figureBelow(2));
    }

    // E-mail copies: SaveResizePic of the 24 to 800 x 600 at quality 50.
    {
        PictureLibrary lib(newCache(), 0);
        QList<PictureLibrary::ResizeJob> jobs;
        for (const QString& p : photos)
            jobs.append({p, out + QLatin1Char('/') + QFileInfo(p).fileName(), 50, 0,
                         PictureLibrary::Jpeg, 800, 600});
        auto vips = [&] {
            vipsthumbnail("800x600", "%s.jpg[Q=50]");
        };
        const Paired serial = paired(
            runs, nullptr,
            [&] {
                for (const auto& j : jobs)
                    lib.SaveResizePic(j.src, j.dest, j.quality, j.rotation, j.type, j.width,
                                      j.height);
            },
            vips);
        const Paired both = paired(
            runs, nullptr, [&] { lib.saveResized(jobs); }, vips);
        report("SaveResizePic 24 x 800x600 q50, one by one", serial,
               "vipsthumbnail -s 800x600 Q=50, 24 files", bench::ratioAtMost(0.5));
        report("saveResized (batch) 24 x 800x600 q50, both cores", both,
               "vipsthumbnail -s 800x600 Q=50, 24 files", bench::ratioAtMost(0.5));
    }

    // Measuring, per picture: the import's call (decodes, fills the disk tier), the same with
    // the disk tier filled, and the header alone.
    {
        QString measureCache;
        const double measure = medianMs(
                                   runs, [&] { measureCache = newCache(); },
                                   [&] {
                                       PictureLibrary lib(measureCache, 0);
                                       for (const QString& p : photos)
                                           lib.MeasurePic(p);
                                   }) /
                               double(photos.size());
        report("MeasurePic per picture, filling the disk tier", measure,
               "djpeg -scale 1/8, per picture", djpegEighth);
        PictureLibrary warm(measureCache, 0);
        const double measureWarm = medianMs(runs, nullptr,
                                            [&] {
                                                for (const QString& p : photos)
                                                    warm.MeasurePic(p);
                                            }) /
                                   double(photos.size());
        report("MeasurePic per picture, disk tier filled", measureWarm,
               "djpeg -scale 1/8, per picture", djpegEighth);
        // A file that goes on after its picture (a phone's motion photo) cannot be told from a
        // cut one by its last bytes: the decoder reads it once more at 1/8 scale to see.
        QStringList motion;
        for (int i = 0; i < 4; ++i) {
            QFile in(photos[i]);
            QFile f(work.filePath(QStringLiteral("motion%1.jpg").arg(i)));
            if (in.open(QIODevice::ReadOnly) && f.open(QIODevice::WriteOnly)) {
                f.write(in.readAll());
                f.write(QByteArray(3 << 20, 'v'));
                motion.append(f.fileName());
            }
        }
        const double measureMotion = medianMs(
                                         runs, [&] { measureCache = newCache(); },
                                         [&] {
                                             PictureLibrary lib(measureCache, 0);
                                             for (const QString& p : motion)
                                                 lib.MeasurePic(p);
                                         }) /
                                     double(motion.size());
        report("MeasurePic per motion photo (3 MB after it)", measureMotion,
               "djpeg -scale 1/8, per picture", djpegEighth);
        const double header = medianMs(runs, nullptr,
                                       [&] {
                                           for (const QString& p : photos)
                                               readPictureHeader(p);
                                       }) /
                              double(photos.size());
        report("Header-only size read per picture", header, "vipsheader, 24 files, per picture",
               vipsHeader);
    }

    // GIF and BMP: no reduced-scale decoding exists for them; one picture, cold.
    for (const QString& p : {gif, bmp}) {
        bool referenceOk = true;
        const double vips = medianMs(runs, nullptr, [&] {
            referenceOk = run(QStringLiteral("vipsthumbnail"),
                              {QStringLiteral("-s"), QStringLiteral("108x72"), QStringLiteral("-o"),
                               out + QStringLiteral("/%s-x.jpg"), p});
        });
        QString c;
        const double ours = medianMs(
            runs, [&] { c = newCache(); },
            [&] { PictureLibrary(c, 1 << 20).thumbnail(p, QSize(108, 72), 0); });
        const QByteArray what =
            "1600x1200 " + QFileInfo(p).suffix().toUpper().toLatin1() + " to 108x72, no cache";
        if (referenceOk)
            report(what.constData(), ours, "vipsthumbnail -s 108x72, 1 file", vips);
        else {
            std::printf("%-50s %8.2f ms | vipsthumbnail cannot read this file here\n",
                        what.constData(), ours);
            bench::result(("pictures: " + what.toStdString()).c_str(), ours, "ms", bench::none,
                          bench::none);
        }
    }
    return bench::exitCode();
}
