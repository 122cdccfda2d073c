#include "albumlock.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QLoggingCategory>

#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {
namespace {

Q_LOGGING_CATEGORY(lockLog, "vimbrel.store.lock")

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

// QLockFile would read through a link or wait on a pipe placed where the lock goes.
bool somethingElseIsThere(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode);
}

// QLockFile gives up a lock that names no process only by age, and an album stays locked
// for as long as it is open, so no age is set. Such a file is removed here instead, when it
// is past its first moment and nobody holds it locked (a live QLockFile keeps it flock()ed).
bool removeLockNamingNoProcess(const QString& path) {
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
        if (n >= 0 && !namesAProcess(QByteArray(head, n)) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::lstat(name.constData(), &now) == 0 && now.st_dev == st.st_dev &&
            now.st_ino == st.st_ino)
            removed = ::unlink(name.constData()) == 0;
    }
    ::close(fd);
    if (removed)
        qCInfo(lockLog) << "took over a lock file that named no process:" << path;
    return removed;
}

} // namespace

AlbumLock::AlbumLock() = default;
AlbumLock::~AlbumLock() = default;
AlbumLock::AlbumLock(AlbumLock&&) noexcept = default;
AlbumLock& AlbumLock::operator=(AlbumLock&&) noexcept = default;

QString AlbumLock::lockPathFor(const QString& albfile) {
    const QFileInfo given(albfile);
    QString real = given.canonicalFilePath(); // empty when the file does not exist yet
    if (real.isEmpty()) {
        const QString dir = QFileInfo(given.absolutePath()).canonicalFilePath();
        real = (dir.isEmpty() ? given.absolutePath() : dir) + QLatin1Char('/') + given.fileName();
    }
    const QFileInfo file(real);
    return file.path() + QStringLiteral("/.") + file.fileName() + QStringLiteral(".lock");
}

AlbumLock::Outcome AlbumLock::lock(const QString& albfile) {
    release();
    const QString path = lockPathFor(albfile);
    if (somethingElseIsThere(path)) {
        qCWarning(lockLog) << "not locking" << albfile << "- not a lock file:" << path;
        return Outcome::Unavailable;
    }
    auto file = std::make_unique<QLockFile>(path);
    file->setStaleLockTime(0); // stale only when its process is gone, never by age
    bool locked = file->tryLock(0);
    if (!locked && file->error() == QLockFile::LockFailedError && removeLockNamingNoProcess(path))
        locked = file->tryLock(0);
    if (locked) {
        m_lock = std::move(file);
        return Outcome::Locked;
    }
    if (file->error() == QLockFile::LockFailedError)
        return Outcome::HeldElsewhere;
    qCWarning(lockLog) << "cannot lock" << albfile << "- lock file" << path << "error"
                       << file->error();
    return Outcome::Unavailable;
}

void AlbumLock::release() {
    m_lock.reset(); // QLockFile removes its file when it goes
}

} // namespace vimbrel
