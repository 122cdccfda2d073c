#include "singleinstance.h"

#include <QDir>
#include <QStandardPaths>

namespace vimbrel {

SingleInstance::SingleInstance(const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    m_lock = std::make_unique<QLockFile>(QDir(dir).filePath(QStringLiteral("vimbrel.lock")));
    m_lock->setStaleLockTime(0); // a lock is stale only when its process is gone
}

bool SingleInstance::acquire() {
    return m_lock->tryLock(0);
}

} // namespace vimbrel
