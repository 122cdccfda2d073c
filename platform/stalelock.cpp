// SPDX-License-Identifier: GPL-3.0-or-later
#include "stalelock.h"

#include "logging.h"

#include <QFile>
#include <QLockFile>

#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {
namespace {

// A new lock file is empty for the moment between its creation and its content; one that
// still names no process after this long was abandoned.
constexpr std::time_t settleSeconds = 2;

// QLockFile writes the holder's process id on the first line.
bool namesAProcess(const QByteArray& content) {
    const qsizetype end = content.indexOf('\n');
    bool ok = false;
    const qlonglong pid = end < 0 ? 0 : content.left(end).toLongLong(&ok);
    return ok && pid > 0;
}

} // namespace

bool somethingElseIsAtLockPath(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool lockNamesAProcess(const QString& path) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    char head[256];
    struct stat st {};
    const ssize_t n =
        ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? ::read(fd, head, sizeof head) : -1;
    ::close(fd);
    return n > 0 && namesAProcess(QByteArray(head, n));
}

namespace {

bool removeStale(const QString& path, bool evenNamingAProcess) {
    // The same guard QLockFile takes before removing a stale lock, so two removers never
    // remove each other's fresh lock.
    QLockFile guard(path + QStringLiteral(".rmlock"));
    if (!guard.tryLock(0))
        return false;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool removed = false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        std::time(nullptr) - st.st_mtime >= settleSeconds) {
        char head[256];
        const ssize_t n = ::read(fd, head, sizeof head);
        struct stat now {};
        if (n >= 0 && (evenNamingAProcess || !namesAProcess(QByteArray(head, n))) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(name.constData(), &now) == 0 &&
            now.st_dev == st.st_dev && now.st_ino == st.st_ino)
            removed = ::unlink(name.constData()) == 0;
    }
    ::close(fd);
    if (removed)
        qCDebug(platformLog) << "took over a lock file nobody holds:" << path;
    return removed;
}

} // namespace

bool removeLockNamingNoProcess(const QString& path) {
    return removeStale(path, false);
}

bool removeUnheldLocalLock(const QString& path) {
    return removeStale(path, true);
}

} // namespace vimbrel
