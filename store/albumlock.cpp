// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumlock.h"

#include "logging.h"
#include "stalelock.h"

#include <QFileInfo>
#include <QLockFile>

namespace vimbrel {

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
    if (somethingElseIsAtLockPath(path)) {
        qCWarning(storeLog) << "not locking" << albfile << "- not a lock file:" << path;
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
    qCWarning(storeLog) << "cannot lock" << albfile << "- lock file" << path << "error"
                        << file->error();
    return Outcome::Unavailable;
}

void AlbumLock::release() {
    m_lock.reset(); // QLockFile removes its file when it goes
}

} // namespace vimbrel
