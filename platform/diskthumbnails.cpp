// SPDX-License-Identifier: GPL-3.0-or-later
#include "diskthumbnails.h"

#include "logging.h"
#include "picturedecoder.h"
#include "regularfile.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace vimbrel {

namespace {

// File layout, little-endian: magic, full width, full height, thumb width, thumb height,
// payload length, payload checksum (FNV-1a), then the payload (a JPEG, or a PNG when the
// picture has transparency).
constexpr char kMagic[8] = {'V', 'M', 'B', 'T', 'H', 'M', 'B', '1'};
constexpr int kChecksumAt = 8 + 5 * 4;
constexpr int kHeaderSize = kChecksumAt + 8;
constexpr const char* kSuffix = ".vthumb";
constexpr const char* kPartSuffix = ".part";
// A file being written is renamed within moments; one this old was left by a killed writer.
constexpr qint64 kPartLeftoverSeconds = 60;

struct Header {
    QSize full;
    QSize thumb;
    quint32 length = 0;
    quint64 checksum = 0;
};

quint64 fnv1a(const char* data, qsizetype n) {
    quint64 h = 14695981039346656037ull;
    for (qsizetype i = 0; i < n; ++i) {
        h ^= quint8(data[i]);
        h *= 1099511628211ull;
    }
    return h;
}

bool sane(QSize s) {
    return s.width() >= 1 && s.height() >= 1 && s.width() <= 65535 && s.height() <= 65535;
}

bool parseHeader(const QByteArray& bytes, qint64 fileSize, Header* h) {
    if (bytes.size() < kHeaderSize || !bytes.startsWith(QByteArrayView(kMagic, 8)))
        return false;
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + 8;
    auto u32 = [&p] {
        const quint32 v = qFromLittleEndian<quint32>(p);
        p += 4;
        return int(std::min<quint32>(v, 0x7fffffff));
    };
    h->full.setWidth(u32());
    h->full.setHeight(u32());
    h->thumb.setWidth(u32());
    h->thumb.setHeight(u32());
    h->length = quint32(u32());
    h->checksum = qFromLittleEndian<quint64>(p);
    return sane(h->full) && sane(h->thumb) && h->thumb.width() <= h->full.width() &&
           h->thumb.height() <= h->full.height() && kHeaderSize + qint64(h->length) == fileSize;
}

// Formats with an alpha channel often hold only opaque pixels (most GIFs decode that way);
// those are stored as the smaller, faster JPEG.
// A cache folder that cannot be written fails for every picture shown; one line per picture.
bool notWritten(const PictureSource& src, const QString& file, const QString& why) {
    if (firstReport(QStringLiteral("thumbnail\n") + file))
        qCWarning(picturesLog) << "thumbnail not written:" << file << "for" << src.path << "-"
                               << why;
    return false;
}

bool hasTransparency(const QImage& img) {
    if (!img.hasAlphaChannel())
        return false;
    const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) != 255)
                return true;
    }
    return false;
}

} // namespace

PictureSource PictureSource::of(const QString& path) {
    const QFileInfo fi(path);
    PictureSource s;
    if (!fi.isFile())
        return s;
    s.path = fi.absoluteFilePath();
    s.mtime = fi.lastModified().toMSecsSinceEpoch();
    s.size = fi.size();
    return s;
}

DiskThumbnails::DiskThumbnails(const QString& folder, qint64 budgetBytes)
    : m_folder(folder), m_budget(budgetBytes) {
    removePartLeftovers();
}

QFileInfoList DiskThumbnails::partFiles() const {
    return QDir(m_folder).entryInfoList({QStringLiteral("??????") + QLatin1String(kPartSuffix)},
                                        QDir::Files | QDir::Hidden | QDir::NoSymLinks);
}

qint64 DiskThumbnails::removePartLeftovers() {
    qint64 kept = 0;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QFileInfo& fi : partFiles()) {
        if (fi.lastModified().secsTo(now) >= kPartLeftoverSeconds && QFile::remove(fi.filePath()))
            continue;
        kept += fi.size();
    }
    return kept;
}

QString DiskThumbnails::fileFor(const PictureSource& src) const {
    QByteArray key = src.path.toUtf8();
    key += '\0' + QByteArray::number(src.mtime) + '\0' + QByteArray::number(src.size);
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex();
    return QDir(m_folder).filePath(QString::fromLatin1(hash) + QLatin1String(kSuffix));
}

bool DiskThumbnails::fullSize(const PictureSource& src, QSize* size) {
    QFile f;
    if (!openRegularFile(f, fileFor(src)))
        return false;
    Header h;
    if (!parseHeader(f.read(kHeaderSize), f.size(), &h))
        return false;
    *size = h.full;
    return true;
}

DiskThumbnails::Lookup DiskThumbnails::read(const PictureSource& src, QSize cover, QImage* image,
                                            QSize* fullSize) {
    QFile f;
    if (!openRegularFile(f, fileFor(src)))
        return Lookup::Missing;
    const qint64 fileSize = f.size();
    if (fileSize > 16 * 1024 * 1024)
        return Lookup::Missing;
    Header h;
    const QByteArray bytes = f.readAll();
    if (!parseHeader(bytes, fileSize, &h))
        return Lookup::Missing;
    if (h.thumb != h.full && (h.thumb.width() < cover.width() || h.thumb.height() < cover.height()))
        return Lookup::TooSmall;
    if (fnv1a(bytes.constData() + kHeaderSize, h.length) != h.checksum)
        return Lookup::Missing;

    QByteArray payload = QByteArray::fromRawData(bytes.constData() + kHeaderSize, h.length);
    QBuffer buffer(&payload);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (reader.size() != h.thumb)
        return Lookup::Missing;
    const QSize want = coveringSize(h.thumb, cover);
    if (want != h.thumb)
        reader.setScaledSize(want);
    QImage img = reader.read();
    if (img.isNull())
        return Lookup::Missing;

    // Recently used files are kept when the folder is trimmed; an hour's precision is plenty
    // and spares a write per drawn frame.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (f.fileTime(QFileDevice::FileModificationTime).secsTo(now) > 3600)
        f.setFileTime(now, QFileDevice::FileModificationTime);

    *image = std::move(img);
    *fullSize = h.full;
    return Lookup::Hit;
}

bool DiskThumbnails::sealChecksum(QByteArray& file) {
    if (file.size() < kHeaderSize)
        return false;
    const quint64 sum = fnv1a(file.constData() + kHeaderSize, file.size() - kHeaderSize);
    qToLittleEndian<quint64>(sum, file.data() + kChecksumAt);
    return true;
}

bool DiskThumbnails::write(const PictureSource& src, const QImage& thumb, QSize full) {
    if (thumb.isNull() || !sane(full) || !sane(thumb.size()))
        return false;
    QByteArray payload;
    {
        QBuffer buffer(&payload);
        buffer.open(QIODevice::WriteOnly);
        const bool alpha = hasTransparency(thumb);
        QImageWriter writer(&buffer, alpha ? "png" : "jpeg");
        if (!alpha)
            writer.setQuality(88);
        if (!writer.write(thumb))
            return notWritten(src, fileFor(src), writer.errorString());
    }
    QByteArray bytes(kHeaderSize, '\0');
    auto* p = reinterpret_cast<uchar*>(bytes.data());
    std::copy(kMagic, kMagic + 8, p);
    const quint32 fields[] = {quint32(full.width()), quint32(full.height()), quint32(thumb.width()),
                              quint32(thumb.height()), quint32(payload.size())};
    for (int i = 0; i < 5; ++i)
        qToLittleEndian<quint32>(fields[i], p + 8 + 4 * i);
    bytes += payload;
    sealChecksum(bytes);

    if (!QDir().mkpath(m_folder))
        return notWritten(src, fileFor(src),
                          QStringLiteral("cannot make the folder %1").arg(m_folder));
    // Written beside its final name and renamed over it, so readers see a whole file or none.
    // No flush to disk (QSaveFile would sync each file): after a crash a half-written file
    // fails its checksum and is simply made again.
    QTemporaryFile tmp(
        QDir(m_folder).filePath(QStringLiteral("XXXXXX") + QLatin1String(kPartSuffix)));
    if (!tmp.open() || tmp.write(bytes) != bytes.size() || !tmp.flush())
        return notWritten(src, fileFor(src), tmp.errorString());
    if (std::rename(QFile::encodeName(tmp.fileName()).constData(),
                    QFile::encodeName(fileFor(src)).constData()) != 0)
        return notWritten(src, fileFor(src), qt_error_string(errno));
    tmp.setAutoRemove(false);

    QMutexLocker lock(&m_mutex);
    if (m_used >= 0)
        m_used += bytes.size();
    if (m_used < 0 || m_used > m_budget)
        trimLocked();
    return true;
}

void DiskThumbnails::trimLocked() {
    QDir dir(m_folder);
    const QFileInfoList files =
        dir.entryInfoList({QStringLiteral("*") + QLatin1String(kSuffix)}, QDir::Files,
                          QDir::Time | QDir::Reversed); // oldest first
    // Half-written files take room too; those a killed writer left go first.
    qint64 used = removePartLeftovers();
    for (const QFileInfo& fi : files)
        used += fi.size();
    // Trim to three quarters, so that the folder is not listed again at the next write.
    if (used > m_budget) {
        const qint64 goal = m_budget / 4 * 3;
        for (const QFileInfo& fi : files) {
            if (used <= goal)
                break;
            if (QFile::remove(fi.filePath()))
                used -= fi.size();
        }
    }
    m_used = used;
}

} // namespace vimbrel
