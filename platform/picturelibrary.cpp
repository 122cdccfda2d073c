// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturelibrary.h"

#include "gifwriter.h"
#include "logging.h"
#include "picturedecoder.h"
#include "regularfile.h"

#include <QCoreApplication>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QThread>
#include <QTransform>
#include <QtConcurrent>

#include <algorithm>

namespace vimbrel {

namespace {

// Sizes that can be drawn or written: the album keeps sizes as 16-bit numbers anyway.
bool drawable(QSize size) {
    return size.width() >= 1 && size.height() >= 1 && size.width() <= 32767 &&
           size.height() <= 32767 && qint64(size.width()) * size.height() <= kMaxPicturePixels;
}

// 0, 90, 180 or 270 for multiples of 90 degrees, -1 otherwise.
int normalAngle(int angle) {
    if (angle % 90 != 0)
        return -1;
    return ((angle % 360) + 360) % 360;
}

// Scaling happens before turning, so the turn is an exact pixel shuffle.
QImage turnAndScale(const QImage& img, QSize size, int angle) {
    const QSize before = angle % 180 ? size.transposed() : size;
    QImage out = img.size() == before
                     ? img
                     : img.scaled(before, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (angle != 0)
        out = out.transformed(QTransform().rotate(angle));
    // The formats QPainter draws fastest.
    return out.convertToFormat(out.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                     : QImage::Format_RGB32);
}

// A picture no larger than a disk thumbnail reads as fast as one would, and a thumbnail
// would only be a lossy copy of it.
bool worthADiskThumbnail(QSize full) {
    return std::max(full.width(), full.height()) > kDiskThumbSide;
}

QImage shrinkTo(const QImage& img, int longest) {
    const QSize s = fittingSize(img.size(), longest);
    return s == img.size() ? img : img.scaled(s, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool writeJpeg(const QImage& img, const QString& dest, int quality) {
    QImage flat = img;
    if (img.hasAlphaChannel()) {
        // JPEG has no transparency: show it over white rather than over whatever colour the
        // transparent pixels happen to hold.
        flat = QImage(img.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, img);
    }
    const QString target = regularWriteTarget(dest);
    if (target.isEmpty())
        return false;
    QSaveFile f(target);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&f, "jpeg");
    writer.setQuality(quality);
    return writer.write(flat) && f.commit();
}

bool onGuiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

bool writePicture(const QImage& img, const QString& dest, int quality, bool gif) {
    return gif ? writeGif(img, dest) : writeJpeg(img, dest, quality);
}

} // namespace

PictureLibrary::PictureLibrary(const QString& cacheFolder, qint64 memoryBudget, qint64 diskBudget)
    : m_disk(cacheFolder, diskBudget), m_memory(memoryBudget) {
    m_pool.setMaxThreadCount(QThread::idealThreadCount());
}

PictureLibrary::~PictureLibrary() {
    // A decode ahead that is still running uses the tiers: it ends before they go.
    m_pool.waitForDone();
}

void PictureLibrary::DispPic(QPainter& target, const QString& path, int left, int top, int width,
                             int height, int rotation, bool keep) {
    // On a screen scaled to 200% the picture is made at twice the size, so it stays sharp.
    const qreal dpr = target.device() ? target.device()->devicePixelRatioF() : 1.0;
    QImage img = thumbnail(path, (QSizeF(width, height) * dpr).toSize(), rotation, keep);
    if (img.isNull())
        return;
    img.setDevicePixelRatio(dpr);
    target.drawImage(QPoint(left, top), img);
}

int PictureLibrary::SavePic(const QString& src, const QString& dest, int quality, int type) {
    if ((type != Jpeg && type != Gif) || quality < 0 || quality > 100)
        return BadArguments;
    const DecodedPicture d = decodePicture(src);
    if (!d.ok())
        return Unreadable;
    return writePicture(d.image, dest, quality, type == Gif) ? Saved : NotWritten;
}

int PictureLibrary::SaveResizePic(const QString& src, const QString& dest, int quality,
                                  int rotation, int type, int width, int height) {
    const int angle = normalAngle(rotation);
    const QSize size(width, height);
    if (angle < 0 || type < Jpeg || type > OtherSource || quality < 0 || quality > 100 ||
        !drawable(size))
        return BadArguments;
    const DecodedPicture d = decodePicture(src, angle % 180 ? size.transposed() : size);
    if (!d.ok())
        return Unreadable;
    const QImage out = turnAndScale(d.image, size, angle);
    return writePicture(out, dest, quality, type == Gif) ? Saved : NotWritten;
}

QList<int> PictureLibrary::saveResized(const QList<ResizeJob>& jobs) {
    return QtConcurrent::blockingMapped<QList<int>>(&m_pool, jobs, [this](const ResizeJob& j) {
        return SaveResizePic(j.src, j.dest, j.quality, j.rotation, j.type, j.width, j.height);
    });
}

PictureLibrary::Measure PictureLibrary::MeasurePic(const QString& path) {
    Measure m;
    const PictureSource src = PictureSource::of(path);
    if (!src.valid()) {
        m.error = QStringLiteral("File not found");
        return m;
    }
    if (m_disk.fullSize(src, &m.size))
        return m;
    const DecodedPicture d = decodePicture(src.path, {}, kDiskThumbSide);
    if (!d.ok()) {
        m.error = d.error;
        return m;
    }
    ++m_decodes;
    if (worthADiskThumbnail(d.fullSize))
        m_disk.write(src, shrinkTo(d.image, kDiskThumbSide), d.fullSize);
    m.size = d.fullSize;
    return m;
}

void PictureLibrary::prepare(const QList<Request>& requests) {
    QtConcurrent::blockingMap(&m_pool, requests,
                              [this](const Request& r) { thumbnail(r.path, r.size, r.angle); });
}

QString PictureLibrary::memoryKey(const PictureSource& src, QSize size, int angle) {
    return QStringLiteral("%1\n%2\n%3\n%4x%5\n%6")
        .arg(src.path)
        .arg(src.mtime)
        .arg(src.size)
        .arg(size.width())
        .arg(size.height())
        .arg(angle);
}

std::optional<PictureLibrary::Lookup> PictureLibrary::lookUp(const QString& path, QSize size,
                                                             int angle) {
    const int turn = normalAngle(angle);
    if (turn < 0 || !drawable(size))
        return std::nullopt;
    Lookup l{PictureSource::of(path), turn, {}, {}};
    if (!l.src.valid())
        return std::nullopt;
    l.key = memoryKey(l.src, size, l.angle);
    QMutexLocker lock(&m_memoryMutex);
    if (const QImage* hit = m_memory.object(l.key)) {
        ++m_memoryHits;
        l.hit = *hit;
    }
    return l;
}

QImage PictureLibrary::cached(const QString& path, QSize size, int angle) {
    const auto l = lookUp(path, size, angle);
    return l ? l->hit : QImage();
}

QImage PictureLibrary::thumbnail(const QString& path, QSize size, int angle, bool keep) {
    const auto l = lookUp(path, size, angle);
    if (!l || !l->hit.isNull())
        return l ? l->hit : QImage();
    const QImage base = load(l->src, l->angle % 180 ? size.transposed() : size);
    if (base.isNull())
        return {};
    const QImage out = turnAndScale(base, size, l->angle);
    if (!keep)
        return out;
    QMutexLocker lock(&m_memoryMutex);
    m_memory.insert(l->key, new QImage(out), out.sizeInBytes());
    return out;
}

QImage PictureLibrary::load(const PictureSource& src, QSize need) {
    if (onGuiThread())
        ++m_guiThreadLoads;
    QImage img;
    QSize full;
    const DiskThumbnails::Lookup found = m_disk.read(src, need, &img, &full);
    if (found == DiskThumbnails::Lookup::Hit) {
        ++m_diskHits;
        return img;
    }
    // A missing thumbnail is made from the same decode, which then has to be large enough.
    const bool fill = found == DiskThumbnails::Lookup::Missing;
    DecodedPicture d = decodePicture(src.path, need, fill ? kDiskThumbSide : 0);
    if (!d.ok()) {
        // Shown as an empty frame, and asked for again at every repaint.
        if (firstReport(QStringLiteral("decode\n") + src.path))
            qCWarning(picturesLog) << "picture not decoded:" << src.path << "-" << d.error;
        return {};
    }
    ++m_decodes;
    if (fill && worthADiskThumbnail(d.fullSize))
        m_disk.write(src, shrinkTo(d.image, kDiskThumbSide), d.fullSize);
    return std::move(d.image);
}

PictureLibrary::Stats PictureLibrary::stats() const {
    return {m_memoryHits.load(), m_diskHits.load(), m_decodes.load(), m_guiThreadLoads.load()};
}

void PictureLibrary::clearMemory() {
    QMutexLocker lock(&m_memoryMutex);
    m_memory.clear();
}

} // namespace vimbrel
