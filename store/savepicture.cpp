#include "savepicture.h"

#include "album.h"
#include "picfolder.h"
#include "picturedecoder.h"
#include "picturelibrary.h"
#include "ui.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace vimbrel {

namespace {

const QString kErrorTitle = QStringLiteral("Save - ERROR");

// A plain copy that replaces `dest` only once the whole file is there.
bool copyReplacing(const QString& source, const QString& dest, QString* error) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
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

// Why `dest` may not be written even outside the picture folder: a link is only followed
// onto a regular file, and only a regular file is replaced. Empty when it may be written.
QString unwritableTarget(const QString& dest) {
    const QByteArray path = QFile::encodeName(dest);
    struct stat lst {
    }, st{};
    if (::lstat(path.constData(), &lst) != 0)
        return {}; // a new file
    if (S_ISLNK(lst.st_mode) && ::stat(path.constData(), &st) != 0)
        return QString::fromLocal8Bit(std::strerror(errno)) + QStringLiteral(": ") + dest;
    if (!S_ISREG(S_ISLNK(lst.st_mode) ? st.st_mode : lst.st_mode))
        return QStringLiteral("Not a regular file: ") + dest;
    return {};
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
        a.ui->message(kErrorTitle, QStringLiteral("File Extension Must Be  jpg , gif , or bmp"),
                      MsgIcon::Exclamation);
        return true;
    }
    // Any way into the folder counts (a link, a bind mount), and so does an album picture
    // under another name: writing there would replace the album's own picture.
    if (PictureFolder(a.picdir).holds(dest)) {
        a.ui->message(kErrorTitle,
                      QStringLiteral("File Can NOT be Saved to the Album's Picture Folder"),
                      MsgIcon::Critical);
        return true;
    }

    if (const QString why = unwritableTarget(dest); !why.isEmpty()) {
        a.ui->message(kErrorTitle, why, MsgIcon::Critical);
        return false;
    }

    BusyPointer busy(*a.ui);
    const QString srcext = source.right(3).toLower();
    QString error;
    if (srcext == destext) {
        if (!copyReplacing(source, dest, &error))
            a.ui->message(kErrorTitle, error, MsgIcon::Critical);
    } else if (destext == QLatin1String("bmp")) {
        if (!saveAsBmp(source, dest, &error))
            a.ui->message(kErrorTitle, error, MsgIcon::Critical);
    } else {
        const int type =
            destext == QLatin1String("jpg") ? PictureLibrary::Jpeg : PictureLibrary::Gif;
        if (pictures.SavePic(source, dest, 80, type) != PictureLibrary::Saved)
            a.ui->message(kErrorTitle, QStringLiteral("Error Saving File"), MsgIcon::Critical);
    }
    return false;
}

} // namespace vimbrel
