// SPDX-License-Identifier: GPL-3.0-or-later
// Photo printing: pages composed at 300 dpi from 12-megapixel JPEGs and written to a PDF file
// through Qt's printing, against vipsthumbnail making the same pictures at the cell size in the
// same run (decoding and scaling them is most of the work). Three jobs: 8 x 10 prints, one a
// page; a contact sheet with an empty thumbnail cache; the same sheet with the disk tier filled.

#include "benchpictures.h"
#include "benchresult.h"
#include "phprint.h"
#include "picturelibrary.h"
#include "ui.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
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

double vips(const QStringList& paths, const QString& size, const QString& out) {
    QDir().mkpath(out);
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral("vipsthumbnail"),
            QStringList{QStringLiteral("-s"), size, QStringLiteral("-o"),
                        out + QStringLiteral("/%s.jpg")} +
                paths);
    p.waitForFinished(-1);
    return msSince(t);
}

class Confirming : public PrinterSetup {
public:
    bool setup(const QString&, QWidget*) override { return true; }
};

} // namespace

int main(int argc, char** argv) {
    bench::startLikeTheProgram();
    QApplication app(argc, argv);
    const bench::PhotoAlbum photos(bench::photoFolder(argc, argv), 24);
    const QString& folder = photos.folder;
    const QStringList& paths = photos.paths;
    Album& a = *photos.album;
    QTemporaryDir tmp;
    a.ngrps = 1;
    a.grps[1].gfirst = 1;
    a.grps[1].glast = 24;
    a.grps[1].gcount = 24;
    a.curgrp = 1;
    SilentUi ui;
    a.ui = &ui;
    Confirming printers;

    // One job: the first `count` pictures selected, layout `layout`, printed to a PDF file.
    auto job = [&](int layout, int count, const QString& cache) {
        for (int i = 1; i <= 24; ++i)
            a.pics[i].psel = i <= count ? 0 : -1;
        a.nsel = static_cast<Integer>(count);
        PictureLibrary lib(cache, 64 << 20);
        phprint w(a, lib, printers);
        w.frmtype_Click(layout);
        printers.printer().setOutputFileName(tmp.filePath(QStringLiteral("job.pdf")));
        QElapsedTimer t;
        t.start();
        w.cb_print_Click();
        return msSince(t);
    };

    std::printf("Photo printing to a PDF file, JPEGs of 4000x3000 (%s)\n", qPrintable(folder));
    std::vector<double> big, bigRef, sheetCold, sheetDisk, sheetRef;
    for (int r = 0; r < 3; ++r) {
        const QString cache = tmp.filePath(QStringLiteral("cache%1").arg(r));
        big.push_back(job(3, 6, cache) / 6);
        bigRef.push_back(vips(paths.mid(0, 6), QStringLiteral("3000x2400"),
                              tmp.filePath(QStringLiteral("big%1").arg(r))) /
                         6);
        const QString sheetCache = tmp.filePath(QStringLiteral("sheet%1").arg(r));
        sheetCold.push_back(job(4, 24, sheetCache));
        sheetDisk.push_back(job(4, 24, sheetCache));
        sheetRef.push_back(
            vips(paths, QStringLiteral("450x338"), tmp.filePath(QStringLiteral("s%1").arg(r))));
    }
    std::printf("%-48s %8.1f ms  %5.2fx vipsthumbnail\n", "8 x 10 print, per page", median(big),
                median(big) / median(bigRef));
    std::printf("%-48s %8.1f ms\n", "  reference: vipsthumbnail -s 3000x2400, per file",
                median(bigRef));
    std::printf("%-48s %8.1f ms  %5.2fx vipsthumbnail\n", "contact sheet of 24, no cache",
                median(sheetCold), median(sheetCold) / median(sheetRef));
    std::printf("%-48s %8.1f ms  %5.2fx vipsthumbnail\n", "contact sheet of 24, disk tier filled",
                median(sheetDisk), median(sheetDisk) / median(sheetRef));
    std::printf("%-48s %8.1f ms\n", "  reference: vipsthumbnail -s 450x338, 24 files",
                median(sheetRef));
    bench::result("print: 8 x 10 print, per page", median(big), "ms", median(bigRef),
                  median(big) / median(bigRef));
    bench::result("print: contact sheet of 24, no cache", median(sheetCold), "ms", median(sheetRef),
                  median(sheetCold) / median(sheetRef));
    bench::result("print: contact sheet of 24, disk tier filled", median(sheetDisk), "ms",
                  median(sheetRef), median(sheetDisk) / median(sheetRef));
    return bench::exitCode();
}
