// SPDX-License-Identifier: GPL-3.0-or-later
#include "singleinstance.h"

#include "logging.h"
#include "stalelock.h"

#include <QDir>
#include <QStandardPaths>

namespace vimbrel {

SingleInstance::SingleInstance(const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    m_path = QDir(dir).filePath(QStringLiteral("vimbrel.lock"));
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0); // a lock is stale only when its process is gone
}

SingleInstance::Outcome SingleInstance::acquire() {
    if (somethingElseIsAtLockPath(m_path)) {
        qCWarning(platformLog) << "running without the single-instance lock: not a lock file:"
                               << m_path;
        return Outcome::Unavailable;
    }
    bool locked = m_lock->tryLock(0);
    // The runtime folder is this machine's: a lock no live process holds is stale.
    if (!locked && m_lock->error() == QLockFile::LockFailedError && removeUnheldLocalLock(m_path))
        locked = m_lock->tryLock(0);
    if (locked)
        return Outcome::Locked;
    // QLockFile has already taken over a lock whose process is gone or is another program.
    if (m_lock->error() == QLockFile::LockFailedError && lockNamesAProcess(m_path))
        return Outcome::AlreadyRunning;
    qCWarning(platformLog) << "running without the single-instance lock:" << m_path << "error"
                           << m_lock->error();
    return Outcome::Unavailable;
}

} // namespace vimbrel
