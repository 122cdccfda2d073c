// SPDX-License-Identifier: GPL-3.0-or-later
#include "samefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace vimbrel {
namespace {

bool statOf(const QString& path, struct stat& st) {
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

} // namespace

bool sameFile(const QString& a, const QString& b) {
    struct stat sa {};
    struct stat sb {};
    const bool hasA = statOf(a, sa);
    const bool hasB = statOf(b, sb);
    if (hasA && hasB)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    if (hasA || hasB || a.isEmpty() || b.isEmpty())
        return false;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

} // namespace vimbrel
