// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One logging category per layer. Warnings are on by default and debug lines off; turn them
// on with QT_LOGGING_RULES="vimbrel.*.debug=true".

#include <QLoggingCategory>
#include <QString>

namespace vimbrel {

Q_DECLARE_LOGGING_CATEGORY(storeLog)    // vimbrel.store: album, configuration, locks
Q_DECLARE_LOGGING_CATEGORY(picturesLog) // vimbrel.pictures: decoding and thumbnails
Q_DECLARE_LOGGING_CATEGORY(importLog)   // vimbrel.import
Q_DECLARE_LOGGING_CATEGORY(printLog)    // vimbrel.print
Q_DECLARE_LOGGING_CATEGORY(mailLog)     // vimbrel.mail
Q_DECLARE_LOGGING_CATEGORY(platformLog) // vimbrel.platform: system services

// True the first time it is asked about `key` in this run, so that a failure met on every
// repaint is logged once. Thread-safe.
bool firstReport(const QString& key);

} // namespace vimbrel
