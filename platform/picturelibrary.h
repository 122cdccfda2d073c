// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture library every window draws and converts through.
//
// Drawing goes through one thumbnail path with three tiers: drawn-size images in memory
// (least recently used out, bounded in bytes), a persistent 512-pixel thumbnail per picture in
// the cache folder (only for pictures larger than that), and reduced-scale decoding of the
// picture itself, which also fills the disk tier. Windows never wait for a picture: they ask
// through a PictureLoader, which decodes on the library's one pool (sized to the cores) and hands
// each picture over as it arrives.
//
// Rotation angles are clockwise degrees, 0, 90 or 270 (180 works too). The EXIF orientation of
// a picture is applied first, so angle 0 shows the picture the way the camera held it.
// Unreadable pictures fail quietly: DispPic draws nothing, the save calls return non-zero,
// MeasurePic returns the decoder's error text. All members may be called from any thread.

#include "diskthumbnails.h"

#include <QCache>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <optional>

class QPainter;

namespace vimbrel {

class PictureLibrary {
public:
    // `cacheFolder` holds the disk tier (created when first needed); the budgets are in bytes.
    PictureLibrary(const QString& cacheFolder, qint64 memoryBudget,
                   qint64 diskBudget = 256 * 1024 * 1024);
    ~PictureLibrary();
    PictureLibrary(const PictureLibrary&) = delete;
    PictureLibrary& operator=(const PictureLibrary&) = delete;

    // Results of the save calls.
    enum SaveResult { Saved = 0, Unreadable = 1, NotWritten = 2, BadArguments = 3 };
    // Output types of SavePic, source types of SaveResizePic.
    enum { Jpeg = 0, Gif = 1, OtherSource = 2 };

    // Draws the picture turned by `rotation` and scaled to exactly width x height at left, top.
    // One-off large drawings (printed pages) pass keep = false, so they do not push the
    // screen's pictures out of the memory tier.
    void DispPic(QPainter& target, const QString& path, int left, int top, int width, int height,
                 int rotation, bool keep = true);
    // Writes the picture converted to `type` (Jpeg or Gif); `quality` is JPEG quality 0..100.
    int SavePic(const QString& src, const QString& dest, int quality, int type);
    // Writes a copy turned by `rotation` and scaled to width x height (the caller has already
    // swapped them for 90 and 270). `type` names the source: Jpeg and OtherSource are written
    // as JPEG, Gif as GIF.
    int SaveResizePic(const QString& src, const QString& dest, int quality, int rotation, int type,
                      int width, int height);

    struct ResizeJob {
        QString src;
        QString dest;
        int quality = 50;
        int rotation = 0;
        int type = Jpeg;
        int width = 0;
        int height = 0;
    };
    // SaveResizePic for every job, on all cores (one JPEG decode cannot be split, so a batch is
    // how copies for several pictures get both cores). The results come in the jobs' order.
    QList<int> saveResized(const QList<ResizeJob>& jobs);

    struct Measure {
        QSize size;    // as shown, EXIF orientation applied
        QString error; // the decoder's text when the picture cannot be read
        bool ok() const { return error.isEmpty(); }
    };
    // Decodes the picture to prove it readable and fills the disk tier on the way, so that the
    // first drawing after an import costs little.
    Measure MeasurePic(const QString& path);

    struct Request {
        QString path;
        QSize size; // drawn size, after turning
        int angle = 0;
    };
    // Fills the memory tier for every request on all cores; returns when all are done.
    void prepare(const QList<Request>& requests);

    // The picture turned by `angle` and scaled to exactly `size`, through the three tiers;
    // null when it cannot be read.
    QImage thumbnail(const QString& path, QSize size, int angle, bool keep = true);
    // The same from the memory tier alone: null when it is not there.
    QImage cached(const QString& path, QSize size, int angle);

    struct Stats {
        int memoryHits = 0;
        int diskHits = 0;
        int decodes = 0;
        // Pictures read from disk for drawing on the GUI thread, where a window would freeze
        // meanwhile; the windows keep this at 0.
        int guiThreadLoads = 0;
    };
    Stats stats() const;
    // Empties the memory tier (the disk tier stays).
    void clearMemory();
    DiskThumbnails& disk() { return m_disk; }
    // The one pool all picture work runs on.
    QThreadPool& pool() { return m_pool; }

private:
    QImage load(const PictureSource& src, QSize need);
    static QString memoryKey(const PictureSource& src, QSize size, int angle);
    // A request as the memory tier keeps it, with the picture found there (null when not).
    struct Lookup {
        PictureSource src;
        int angle = 0; // 0, 90, 180 or 270
        QString key;
        QImage hit;
    };
    // Nothing when the request draws nothing or its file is not there.
    std::optional<Lookup> lookUp(const QString& path, QSize size, int angle);

    DiskThumbnails m_disk;
    QMutex m_memoryMutex;
    QCache<QString, QImage> m_memory;
    std::atomic<int> m_memoryHits{0};
    std::atomic<int> m_diskHits{0};
    std::atomic<int> m_decodes{0};
    std::atomic<int> m_guiThreadLoads{0};
    QThreadPool m_pool; // last: it is waited for before the tiers go
};

} // namespace vimbrel
