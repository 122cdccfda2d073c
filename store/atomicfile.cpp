// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomicfile.h"

#include "filenames.h"
#include "folderlist.h"
#include "logging.h"
#include "regularfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {

namespace {

// The temporary name a write of `base` goes through: "." + base + ".vimbrel-" + six letters or
// digits. Hidden, and unlike any name a user gives a backup, so that only the program's own
// leftovers are ever taken for leftovers.
const char tempInfix[] = ".vimbrel-";

bool isTemporaryNameOf(const QByteArray& name, const QByteArray& base) {
    const QByteArray head = '.' + base + tempInfix;
    if (name.size() != head.size() + 6 || !name.startsWith(head))
        return false;
    for (qsizetype i = head.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

} // namespace

int removeWriteLeftovers(const QString& path, int minAgeSeconds) {
    const QFileInfo fi(path);
    const QByteArray base = QFile::encodeName(fi.fileName());
    if (base.isEmpty())
        return 0;
    const int fd =
        ::open(QFile::encodeName(fi.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    int removed = 0;
    const std::time_t now = std::time(nullptr);
    // Only the few names that match are looked at: the album's folder may hold thousands.
    for (const FolderEntry& e : listOpenFolder(fd).entries) {
        const QByteArray name = nameBytes(e.name);
        struct stat st {};
        if (isTemporaryNameOf(name, base) &&
            ::fstatat(fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            now - st.st_mtime >= minAgeSeconds && ::unlinkat(fd, name.constData(), 0) == 0) {
            ++removed;
            qCDebug(storeLog) << "removed the leftover of an interrupted write:" << e.name;
        }
    }
    ::close(fd);
    return removed;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    // A link is followed only onto a regular file: renaming over it replaces that file.
    const QString target = regularWriteTarget(path, error);
    if (target.isEmpty())
        return false;
    const QFileInfo ti(target);
    QByteArray temp =
        QFile::encodeName(ti.path() + QStringLiteral("/.") + ti.fileName()) + tempInfix + "XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = systemError(errno);
        return false;
    }
    // The file keeps the permissions it had; a new one gets the usual ones.
    struct stat old {};
    if (::stat(QFile::encodeName(target).constData(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    int failure = 0;
    for (qsizetype done = 0; !failure && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            failure = errno;
        else if (n == 0)
            failure = ENOSPC;
    }
    if (!failure && ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && !failure)
        failure = errno;
    if (!failure && ::rename(temp.constData(), QFile::encodeName(target).constData()) != 0)
        failure = errno;
    if (failure) {
        ::unlink(temp.constData());
        if (error)
            *error = systemError(failure);
        return false;
    }
    // The rename itself reaches the disk with its folder.
    const int dir =
        ::open(QFile::encodeName(ti.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace vimbrel
