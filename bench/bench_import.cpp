// SPDX-License-Identifier: GPL-3.0-or-later
// Importing camera-size JPEGs into an album on the same volume, against the bare work it cannot
// avoid: a two-thread reduced-scale decode of the same files (QImageReader with a scaled size,
// the size the import decodes to), measured in the same run, with `cp` of the same files beside
// it. The import copies, numbers, measures, writes disk thumbnails and the album; all of that
// has to hide behind the decoding (target: at least 0.8x the decode's throughput).
//
// Then the conversion of other formats, one file at a time, against the same library's own
// command-line tool on the same files in the same run: HEIC (libheif) against heif-convert
// writing a JPEG of the same quality, DNG (libraw) against dcraw_emu developing the same way
// and writing a PPM. The pictures are the first few JPEGs made again in those formats.
//
// bench_import <picture folder> [count]: count defaults to 200 (about 800 MB of pictures, and as
// much again for each copy while it is measured).

#include "benchpictures.h"
#include "benchresult.h"
#include "foreignfiles.h"
#include "importconvert.h"
#include "importrun.h"
#include "picturedecoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace vimbrel;
using bench::median;
using bench::msSince;

namespace {

struct NoWindows : WindowHub {};

// A new album in `folder` and everything in `names` of `source` imported into it.
double importAll(const QString& folder, const QString& source, const QStringList& names) {
    auto album = std::make_unique<Album>();
    Album& a = *album;
    ClearAlbum(a);
    a.albname = QStringLiteral("BENCH");
    a.albtitle = QStringLiteral("BENCH.vmb");
    a.albfile = folder + QStringLiteral("/BENCH.vmb");
    a.picdir = folder + QStringLiteral("/BENCH/");
    a.cfgfile = folder + QStringLiteral("/vimbra.cfg");
    a.cfglist.append(AlbumList::other, AlbumList::other);
    a.canwrite = 'Y';
    QDir().mkpath(a.picdir);
    PictureLibrary pictures(folder + QStringLiteral("/thumbnails"), 64 << 20);
    NoWindows hub;

    QElapsedTimer t;
    t.start();
    ImportRun run(a, hub, pictures, source, names, false);
    while (run.next()) {
    }
    run.finish();
    const double ms = msSince(t);
    if (run.copied() != names.size() || !run.written())
        std::printf("import went wrong: %d of %d copied\n", run.copied(), int(names.size()));
    return ms;
}

double decodeAll(const QStringList& paths) {
    QThreadPool pool;
    pool.setMaxThreadCount(2);
    QElapsedTimer t;
    t.start();
    QtConcurrent::blockingMap(&pool, paths, [](const QString& path) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        reader.setScaledSize(fittingSize(reader.size(), 512));
        if (reader.read().isNull())
            std::printf("cannot decode %s\n", qPrintable(path));
    });
    return msSince(t);
}

double cpAll(const QStringList& paths, const QString& to) {
    QDir().mkpath(to);
    QElapsedTimer t;
    t.start();
    QProcess cp;
    cp.start(QStringLiteral("cp"), paths + QStringList(to));
    cp.waitForFinished(-1);
    return msSince(t);
}

// The first `n` photos in another format, made once beside them.
QStringList ensureForeign(const QString& folder, const QStringList& photos, const QString& ext,
                          QByteArray (*make)(const QImage&, const test::CameraTags&), int n) {
    QStringList out;
    const test::CameraTags tags{6, "Bench", "Camera", "2024:01:02 03:04:05"};
    for (int i = 0; i < n && i < photos.size(); ++i) {
        const QString path = folder + QStringLiteral("/foreign-%1.%2").arg(i).arg(ext);
        if (!QFileInfo::exists(path)) {
            QFile f(path + QStringLiteral(".part"));
            if (!f.open(QIODevice::WriteOnly) || f.write(make(QImage(photos[i]), tags)) <= 0)
                std::printf("cannot make %s\n", qPrintable(path));
            f.close();
            QFile::rename(f.fileName(), path);
        }
        out.append(path);
    }
    return out;
}

// `one` on each file in turn, numbered from 1, into the fresh folder `to`; the time it took,
// or NaN when `one` failed.
double timeEach(const QStringList& paths, const QString& to,
                const std::function<bool(const QString& path, int n)>& one) {
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    QElapsedTimer t;
    t.start();
    int n = 0;
    for (const QString& path : paths)
        if (!one(path, ++n))
            return bench::none;
    return msSince(t);
}

// The import's conversion step, one file after another.
double convertAll(const QStringList& paths, const QString& to) {
    return timeEach(paths, to, [&](const QString& path, int n) {
        const int fd = openSource(path, nullptr);
        const QString target = to + QStringLiteral("/vmb%1.jpg").arg(n, 4, 10, QLatin1Char('0'));
        if (fd < 0 || convertPicture(fd, path, target).kind != CopyOutcome::Copied)
            std::printf("cannot convert %s\n", qPrintable(path));
        if (fd >= 0)
            ::close(fd);
        return true;
    });
}

// The tool on each file, one after another; NaN when it is missing or fails.
double toolAll(const QString& tool, const QStringList& paths, const QString& to,
               const std::function<QStringList(const QString&, const QString&)>& args) {
    return timeEach(paths, to, [&](const QString& path, int n) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(tool, args(path, to + QStringLiteral("/out%1").arg(n)));
        if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            std::printf("%s failed on %s\n", qPrintable(tool), qPrintable(path));
            return false;
        }
        return true;
    });
}

void conversionFigures(const QString& folder, const QStringList& photos, const QString& scratch) {
    struct Kind {
        const char* title;
        QString ext;
        QByteArray (*make)(const QImage&, const test::CameraTags&);
        QString tool;
        std::function<QStringList(const QString&, const QString&)> args;
    };
    const Kind kinds[] = {
        {"HEIC", QStringLiteral("heic"), test::heicBytes, QStringLiteral("heif-convert"),
         [](const QString& in, const QString& out) {
             return QStringList{QStringLiteral("--quiet"), QStringLiteral("-q"),
                                QStringLiteral("92"), in, out + QStringLiteral(".jpg")};
         }},
        {"DNG", QStringLiteral("dng"), test::dngBytes, QStringLiteral("dcraw_emu"),
         [](const QString& in, const QString& out) {
             return QStringList{QStringLiteral("-w"), QStringLiteral("-Z"),
                                out + QStringLiteral(".ppm"), in};
         }},
    };
    const int n = 4;
    for (const Kind& k : kinds) {
        const QStringList files = ensureForeign(folder, photos, k.ext, k.make, n);
        std::vector<double> ours, tools, ratios;
        for (int r = 0; r < 3; ++r) {
            QTemporaryDir tmp(scratch);
            ours.push_back(convertAll(files, tmp.filePath(QStringLiteral("ours"))));
            tools.push_back(toolAll(k.tool, files, tmp.filePath(QStringLiteral("tool")), k.args));
            ratios.push_back(ours.back() / tools.back());
        }
        const double mine = median(ours), theirs = median(tools);
        std::printf("%-46s %9.1f ms  %6.1f ms a picture\n",
                    qPrintable(QStringLiteral("convert %1 to JPEG (decode, orient, q92, EXIF)")
                                   .arg(QLatin1String(k.title))),
                    mine, mine / n);
        std::printf("%-46s %9.1f ms  %6.1f ms a picture\n",
                    qPrintable(QStringLiteral("reference: ") + k.tool), theirs, theirs / n);
        // The same library does the decoding: the conversion may cost little more than its tool.
        bench::result(
            ("import: " + std::string(k.title) + " conversion against " + k.tool.toStdString())
                .c_str(),
            mine, "ms", theirs, mine / theirs, bench::ratioAtMost(1.5));
    }
}

} // namespace

int main(int argc, char** argv) {
    bench::startLikeTheProgram();
    QCoreApplication app(argc, argv);
    const QString folder = bench::photoFolder(argc, argv);
    const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    const QStringList paths = bench::ensurePhotos(folder, count);
    QStringList names;
    for (const QString& p : paths)
        names.append(QFileInfo(p).fileName());
    // Beside the pictures, so the copies stay on their volume.
    const QString scratch =
        QFileInfo(folder).absolutePath() + QStringLiteral("/bench-import-XXXXXX");

    std::printf("Import of %d JPEGs of 4000x3000 (%s)\n", count, qPrintable(folder));
    (void)decodeAll(paths); // every file in the page cache, for all three alike
    const int rounds = 3;
    std::vector<double> imports, decodes, cps, ratios, cpRatios;
    for (int r = 0; r < rounds; ++r) {
        QTemporaryDir tmp(scratch);
        // Each measure starts without the previous one's writes pending, and the two take
        // turns going first, so neither always meets a busier machine.
        const auto decode = [&] {
            ::sync();
            decodes.push_back(decodeAll(paths));
        };
        const auto import = [&] {
            ::sync();
            imports.push_back(importAll(tmp.filePath(QStringLiteral("album")), folder, names));
        };
        if (r % 2 == 0) {
            decode();
            import();
        } else {
            import();
            decode();
        }
        ::sync();
        cps.push_back(cpAll(paths, tmp.filePath(QStringLiteral("cp"))));
        ratios.push_back(decodes.back() / imports.back());
        cpRatios.push_back(cps.back() / imports.back());
    }
    std::printf("per round, import against decode:");
    for (double x : ratios)
        std::printf(" %.3fx", x);
    std::printf("\n");
    const double perFile = median(imports) / count;
    std::printf("%-46s %9.1f ms  %6.2f ms a picture\n", "import (copy, measure, thumbnail, album)",
                median(imports), perFile);
    std::printf("%-46s %9.1f ms  %6.2f ms a picture\n", "reference: 2-thread decode at 512 x 384",
                median(decodes), median(decodes) / count);
    std::printf("%-46s %9.1f ms  %6.2f ms a picture\n", "reference: cp of the same files",
                median(cps), median(cps) / count);
    std::printf("import throughput %.3fx the decode's (target >= 0.8), %.3fx cp's\n",
                median(ratios), median(cpRatios));
    // A throughput: the ratio is the decode's time over the import's, higher is better.
    bench::result("import: throughput against 2-thread decode", median(imports), "ms",
                  median(decodes), median(ratios), bench::ratioAtLeast(0.8));
    bench::result("import: throughput against cp", median(imports), "ms", median(cps),
                  median(cpRatios));
    std::printf("\nConversion of 4000x3000 pictures, one at a time\n");
    conversionFigures(folder, paths, scratch);
    return bench::exitCode();
}
