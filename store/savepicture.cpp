// SPDX-License-Identifier: GPL-3.0-or-later
#include "savepicture.h"

#include <QCoreApplication>

#include "album.h"
#include "picfolder.h"
#include "picturedecoder.h"
#include "picturelibrary.h"
#include "regularfile.h"
#include "ui.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace vimbrel {

namespace {

QString errorTitle() {
    return QCoreApplication::translate("phpage", "Save - ERROR");
}

// A plain copy that replaces `dest` only once the whole file is there.
bool copyReplacing(const QString& source, const QString& dest, QString* error) {
    QFile in;
    if (!openRegularFile(in, source, error))
        return false;
    QSaveFile out(dest);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    QByteArray chunk;
    while (!in.atEnd()) {
        chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            *error = in.errorString();
            return false;
        }
        if (out.write(chunk) != chunk.size()) {
            *error = out.errorString();
            return false;
        }
    }
    if (!out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

bool saveAsBmp(const QString& source, const QString& dest, QString* error) {
    const DecodedPicture d = decodePicture(source);
    if (!d.ok()) {
        *error = d.error;
        return false;
    }
    QSaveFile out(dest);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    QImageWriter writer(&out, "bmp");
    if (!writer.write(d.image)) {
        *error = writer.errorString();
        return false;
    }
    if (!out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}

} // namespace

bool savePictureAs(Album& a, PictureLibrary& pictures, const QString& source,
                   const QString& chosen) {
    const QString dest = chosen.trimmed();
    const QString title = QFileInfo(dest).fileName();
    // The extension is the last three characters as typed: "x.JPG" is refused, not lowered.
    const QString destext = title.right(3);
    if (destext != QLatin1String("bmp") && destext != QLatin1String("jpg") &&
        destext != QLatin1String("gif")) {
        a.ui->message(
            errorTitle(),
            QCoreApplication::translate("phpage", "File Extension Must Be  jpg , gif , or bmp"),
            MsgIcon::Exclamation);
        return true;
    }
    // Any way into the folder counts (a link, a bind mount), and so does an album picture
    // under another name: writing there would replace the album's own picture.
    if (PictureFolder(a.picdir).holds(dest)) {
        a.ui->message(errorTitle(),
                      QCoreApplication::translate(
                          "phpage", "File Can NOT be Saved to the Album's Picture Folder"),
                      MsgIcon::Critical);
        return true;
    }

    // Even outside the folder a link is followed only onto a regular file.
    QString why;
    const QString target = regularWriteTarget(dest, &why);
    if (target.isEmpty()) {
        a.ui->message(errorTitle(), why, MsgIcon::Critical);
        return false;
    }

    BusyPointer busy(*a.ui);
    const QString srcext = source.right(3).toLower();
    QString error;
    if (srcext == destext) {
        if (!copyReplacing(source, target, &error))
            a.ui->message(errorTitle(), error, MsgIcon::Critical);
    } else if (destext == QLatin1String("bmp")) {
        if (!saveAsBmp(source, target, &error))
            a.ui->message(errorTitle(), error, MsgIcon::Critical);
    } else {
        const int type =
            destext == QLatin1String("jpg") ? PictureLibrary::Jpeg : PictureLibrary::Gif;
        if (pictures.SavePic(source, target, 80, type) != PictureLibrary::Saved)
            a.ui->message(errorTitle(), QCoreApplication::translate("phpage", "Error Saving File"),
                          MsgIcon::Critical);
    }
    return false;
}

} // namespace vimbrel
