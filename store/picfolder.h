// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which files belong to the album's picture folder, decided by identity (device and inode),
// never by path text: the same folder can be reached through a link, a bind mount or "..",
// and any of those paths must be refused wherever the folder's own path would be.

#include "album.h"

#include <QSet>
#include <QString>

#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

namespace vimbrel {

struct FileId {
    dev_t dev = 0;
    ino_t ino = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};
size_t qHash(const FileId& id, size_t seed = 0) noexcept;

// The identity of what `st` describes.
FileId fileIdOf(const struct stat& st);

// What `path` names, links followed; nothing when it cannot be reached.
std::optional<FileId> fileId(const QString& path);

// The picture folder as it was when made. Build one per operation: it lists the folder once.
class PictureFolder {
public:
    explicit PictureFolder(const QString& picdir);

    // Whether `folder` is the picture folder itself.
    bool isFolder(const QString& folder) const;
    // Whether `folder` is the picture folder or lies anywhere below it.
    bool contains(const QString& folder) const;
    // Whether `path` is a file of the picture folder: its folder is (or lies below) the picture
    // folder, or it is one of the folder's files under another name (a link of either kind).
    // A dangling link counts by where it points.
    bool holds(const QString& path) const;

private:
    std::optional<FileId> m_id;
    QSet<FileId> m_files;
};

// Whether `folder` is the picture folder, however it is reached. Lists nothing.
bool isPictureFolder(const QString& folder, const QString& picdir);

// The identities of the files the album's records name (album pictures and Photo Box), for
// those that exist.
QSet<FileId> recordFileIds(const Album& a);

} // namespace vimbrel
