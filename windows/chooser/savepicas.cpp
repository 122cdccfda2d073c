// SPDX-License-Identifier: GPL-3.0-or-later
#include "savepicas.h"

#include <QCoreApplication>

#include "album.h"
#include "savepicture.h"
#include "ui.h"

#include <QDir>
#include <QFileInfo>

namespace vimbrel {

void SavePicAs(Album& a, PictureLibrary& pictures, const QString& source) {
    QString folder = QDir::homePath();
    for (;;) {
        const std::optional<QString> chosen = a.ui->saveFileName(
            QCoreApplication::translate("phpage", "Save Picture"),
            QCoreApplication::translate("phpage", "Image Files (*.jpg *.gif *.bmp)"), folder);
        if (!chosen)
            return;
        if (!savePictureAs(a, pictures, source, chosen->trimmed()))
            return;
        folder = QFileInfo(*chosen).path(); // the dialog comes back where the user was
    }
}

} // namespace vimbrel
