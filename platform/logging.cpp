// SPDX-License-Identifier: GPL-3.0-or-later
#include "logging.h"

#include <QMutex>
#include <QSet>

namespace vimbrel {

Q_LOGGING_CATEGORY(storeLog, "vimbrel.store", QtWarningMsg)
Q_LOGGING_CATEGORY(picturesLog, "vimbrel.pictures", QtWarningMsg)
Q_LOGGING_CATEGORY(importLog, "vimbrel.import", QtWarningMsg)
Q_LOGGING_CATEGORY(printLog, "vimbrel.print", QtWarningMsg)
Q_LOGGING_CATEGORY(mailLog, "vimbrel.mail", QtWarningMsg)
Q_LOGGING_CATEGORY(platformLog, "vimbrel.platform", QtWarningMsg)

bool firstReport(const QString& key) {
    static QMutex mutex;
    static QSet<QString> reported;
    QMutexLocker lock(&mutex);
    if (reported.contains(key))
        return false;
    reported.insert(key);
    return true;
}

} // namespace vimbrel
