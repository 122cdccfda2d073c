// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderlist.h"

#include "filenames.h"
#include "regularfile.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace vimbrel {
namespace {

// Reads and closes `d`, whose descriptor `fd` the entries are looked up in.
FolderList readEntries(DIR* d, EntryStatus status) {
    FolderList out;
    const int fd = ::dirfd(d);
    const int flags = status == EntryStatus::OfEntry ? AT_SYMLINK_NOFOLLOW : 0;
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
            FolderEntry entry;
            entry.name = nameText(QByteArray(e->d_name));
            entry.statted =
                status != EntryStatus::None && ::fstatat(fd, e->d_name, &entry.st, flags) == 0;
            out.entries.append(std::move(entry));
        }
        errno = 0;
    }
    if (errno != 0)
        out.error = systemError(errno);
    ::closedir(d);
    return out;
}

FolderList failed(int err) {
    FolderList out;
    out.error = systemError(err);
    return out;
}

} // namespace

FolderList listFolder(const QString& folder, EntryStatus status) {
    if (folder.isEmpty())
        return failed(ENOENT);
    DIR* d = ::opendir(nameBytes(folder).constData());
    if (d == nullptr)
        return failed(errno);
    return readEntries(d, status);
}

FolderList listOpenFolder(int dirfd, EntryStatus status) {
    // fdopendir takes the descriptor over; a duplicate leaves the caller's own open.
    const int fd = ::fcntl(dirfd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return failed(errno);
    DIR* d = ::fdopendir(fd);
    if (d == nullptr) {
        const int err = errno;
        ::close(fd);
        return failed(err);
    }
    // A duplicate shares the read position: start from the first entry whatever was read.
    ::rewinddir(d);
    return readEntries(d, status);
}

} // namespace vimbrel
