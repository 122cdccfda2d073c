// SPDX-License-Identifier: GPL-3.0-or-later
// vimbrel-sample-album FOLDER: makes FOLDER/SAMPLE.vmb and FOLDER/SAMPLE/ for trying the
// program out; leaves an existing sample album as it is.

#include "samplealbum.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv); // no display needed: the pictures are drawn in memory
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vimbrel-sample-album FOLDER\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const vimbrel::sample::Result r = vimbrel::sample::makeSampleAlbum(args.at(1));
    switch (r.outcome) {
    case vimbrel::sample::Result::AlreadyThere:
        std::printf("Sample album %s already exists; left as it is.\n", qPrintable(r.albumFile));
        return 0;
    case vimbrel::sample::Result::Created:
        std::printf("Sample album %s made with %d pictures in %.1f s.\n", qPrintable(r.albumFile),
                    vimbrel::sample::pictureCount, double(timer.elapsed()) / 1000);
        return 0;
    case vimbrel::sample::Result::Failed:
        break;
    }
    std::fprintf(stderr, "vimbrel-sample-album: %s\n", qPrintable(r.error));
    return 1;
}
