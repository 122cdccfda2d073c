// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test pictures for the benchmarks, made here so every run measures the same kind of files.

#include "album.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

namespace vimbrel::bench {

// First thing in every benchmark's main(), before its application object: the memory tuning
// the program's main() applies, so the figures are the ones users get, and the offscreen
// platform for the windows measured.
void startLikeTheProgram();

// Runs the event loop, asleep between events (a loop that spun would take a core from the
// decodes), until every picture `window` asked for has arrived.
template <class Window> void waitForPictures(const Window& window) {
    while (window.picturesPending() > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// A picture with detail at every scale (large soft shapes, mid-size texture, fine grain), so
// that it compresses and decodes like a camera photo rather than like flat colour.
QImage makePhoto(int width, int height, quint32 seed);

// The folder named on the command line, else one in the temporary folder.
QString photoFolder(int argc, char** argv);

// Makes `count` JPEGs of `size` (4000 x 3000 unless given) at quality 90 in `folder` unless they
// are already there; returns their paths.
QStringList ensurePhotos(const QString& folder, int count, QSize size = {4000, 3000});

// Clears `a` and puts the pictures of ensurePhotos() (of `size`, as stored) in frames 1..n of
// an album whose picture folder is `folder`, with the program's three frame sizes.
void fillAlbum(Album& a, const QString& folder, const QStringList& paths,
               QSize size = {4000, 3000});

// `count` photos of `size` made by ensurePhotos() in `folder`, in frames 1..count of an album.
struct PhotoAlbum {
    PhotoAlbum(const QString& folder, int count, QSize size = {4000, 3000});
    QString folder;
    QStringList paths;
    std::unique_ptr<Album> album = std::make_unique<Album>();
};

} // namespace vimbrel::bench
