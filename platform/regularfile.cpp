// SPDX-License-Identifier: GPL-3.0-or-later
#include "regularfile.h"

#include <QCoreApplication>

#include "filenames.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

namespace {

QString notRegular(const QString& path) {
    return QCoreApplication::translate("vimbra", "Not a regular file: ") + path;
}

} // namespace

bool openRegularFile(QFile& file, const QString& path, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (path.isEmpty())
        return fail(systemError(ENOENT));
    // O_NONBLOCK: a pipe opens at once instead of waiting for a writer; fstat then refuses it.
    const int fd =
        ::open(nameBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(systemError(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(notRegular(path));
    }
    // Reads of a regular file never block anyway; the flag goes so nothing downstream sees
    // EAGAIN semantics it does not expect.
    if (const int flags = ::fcntl(fd, F_GETFL); flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    return true;
}

QString regularWriteTarget(const QString& path, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return QString();
    };
    QString at = path;
    // A chain of links is followed by hand, so that every step is seen; the system's own limit.
    for (int depth = 0; depth <= 40; ++depth) {
        struct stat st {};
        if (::lstat(nameBytes(at).constData(), &st) != 0) {
            if (errno != ENOENT)
                return fail(systemError(errno));
            // Nothing there: a new file, unless a link pointed here (a link to nowhere is
            // not made into a file somewhere the user did not choose).
            return at == path ? at : fail(notRegular(path));
        }
        if (S_ISREG(st.st_mode))
            return at;
        if (!S_ISLNK(st.st_mode))
            return fail(notRegular(path));
        char buf[4096];
        const ssize_t n = ::readlink(nameBytes(at).constData(), buf, sizeof buf);
        if (n <= 0 || n == ssize_t(sizeof buf))
            return fail(notRegular(path));
        // Joined as text, never cleaned: ".." after a linked folder is the system's business.
        const QString target = nameText(QByteArray(buf, n));
        at = target.startsWith(QLatin1Char('/')) ? target
                                                 : QFileInfo(at).path() + QLatin1Char('/') + target;
    }
    return fail(systemError(ELOOP));
}

} // namespace vimbrel
