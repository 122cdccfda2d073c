// SPDX-License-Identifier: GPL-3.0-or-later
#include "samefile.h"

#include "picfolder.h"

#include <QDir>
#include <QFileInfo>

namespace vimbrel {

bool sameFile(const QString& a, const QString& b) {
    const std::optional<FileId> idA = fileId(a);
    const std::optional<FileId> idB = fileId(b);
    if (idA && idB)
        return *idA == *idB;
    if (idA || idB || a.isEmpty() || b.isEmpty())
        return false;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

} // namespace vimbrel
