// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The persistent thumbnail tier: one small picture per source picture under a cache folder,
// longest side kDiskThumbSide, in the orientation the picture is shown in.
//
// A file's name is a hash of the source's absolute path, modification time and size, so a
// changed picture simply misses and its old thumbnail ages out. Files are written atomically
// and carry a checksum; anything that does not check out is a miss. The folder is kept under
// its byte budget by removing the least recently used files (a hit refreshes the file's time).
// Half-written files count against the budget, and those a killed writer left are removed.
// Thread-safe.

#include <QFileInfoList>
#include <QImage>
#include <QMutex>
#include <QSize>
#include <QString>

namespace vimbrel {

inline constexpr int kDiskThumbSide = 512;

// What identifies one state of a picture file.
struct PictureSource {
    QString path; // absolute
    qint64 mtime = 0;
    qint64 size = 0;

    // Empty path when the file is missing or not a regular file.
    static PictureSource of(const QString& path);
    bool valid() const { return !path.isEmpty(); }
};

class DiskThumbnails {
public:
    DiskThumbnails(const QString& folder, qint64 budgetBytes);

    enum class Lookup { Hit, Missing, TooSmall };

    // The stored thumbnail scaled to cover `cover` (which may be empty: the thumbnail as
    // stored). TooSmall: the thumbnail exists but is smaller than `cover` and than the picture.
    Lookup read(const PictureSource& src, QSize cover, QImage* image, QSize* fullSize);
    // The picture's full size from the thumbnail's header alone.
    bool fullSize(const PictureSource& src, QSize* fullSize);
    // Stores `thumb` (already at most kDiskThumbSide) for a picture of `fullSize`.
    bool write(const PictureSource& src, const QImage& thumb, QSize fullSize);

    // Sets the checksum in a stored file's header to match the bytes after the header; false
    // when `file` is shorter than a header. For tools that make such files.
    static bool sealChecksum(QByteArray& file);

    QString fileFor(const PictureSource& src) const;
    const QString& folder() const { return m_folder; }

private:
    void trimLocked();
    QFileInfoList partFiles() const;
    // Removes the half-written files a killed writer left; returns the bytes of the rest.
    qint64 removePartLeftovers();

    QString m_folder;
    qint64 m_budget;
    QMutex m_mutex;
    qint64 m_used = -1; // bytes in the folder; -1 until first counted
};

} // namespace vimbrel
