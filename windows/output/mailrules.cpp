// SPDX-License-Identifier: GPL-3.0-or-later
#include "mailrules.h"

#include <QCoreApplication>

#include <QDir>
#include <cmath>

namespace vimbrel {

int mailShortSide(int option) {
    return option == 0 ? 300 : option == 1 ? 450 : 600;
}

QSize mailSize(int width, int height, int shortSide) {
    // Single precision and rounding half to even, so sizes match the captions' arithmetic.
    int w, h;
    if (width >= height) {
        const float r = float(width) / float(height);
        h = shortSide;
        w = static_cast<int>(std::nearbyint(r * float(shortSide)));
    } else {
        const float r = float(height) / float(width);
        w = shortSide;
        h = static_cast<int>(std::nearbyint(r * float(shortSide)));
    }
    if (width <= w || height <= h)
        return {width, height}; // never enlarged
    return {w, h};
}

int mailRotation(const PicRec& p) {
    if (p.porient == "L")
        return 0;
    return p.porient == "P" ? 90 : 270;
}

namespace {

QString lastThree(const QString& name) {
    return name.right(3).toLower();
}

} // namespace

int mailType(const QString& pfile) {
    const QString ext = lastThree(pfile.trimmed());
    if (ext == QLatin1String("jpg"))
        return PictureLibrary::Jpeg;
    if (ext == QLatin1String("gif"))
        return PictureLibrary::Gif;
    return PictureLibrary::OtherSource;
}

QString mailCopyName(const QString& pfile) {
    const QString name = pfile.trimmed();
    const QLatin1String ext(mailType(name) == PictureLibrary::Gif ? "gif" : "jpg");
    return name.left(name.size() - 4) + QLatin1Char('.') + ext;
}

std::optional<PictureLibrary::ResizeJob> mailJob(const PicRec& p, const QString& picdir,
                                                 const QString& maildir, int shortSide) {
    const QString name = p.pfile.trimmed();
    // No size means nothing to keep the proportions of.
    if (name.size() <= 4 || p.pwidth <= 0 || p.pheight <= 0)
        return std::nullopt;
    PictureLibrary::ResizeJob job;
    job.src = picdir + name;
    job.dest = QDir(maildir).filePath(mailCopyName(name));
    job.quality = 50;
    job.rotation = mailRotation(p);
    job.type = mailType(name);
    QSize size = mailSize(p.pwidth, p.pheight, shortSide);
    if (job.rotation != 0)
        size.transpose();
    job.width = size.width();
    job.height = size.height();
    return job;
}

QString mailBody(const QString& maildir) {
    const QLatin1String crlf("\r\n");
    return QCoreApplication::translate("phmail",
                                       "*** SELECT 'File Attach' From the Menu, and Attach the") +
           crlf + QCoreApplication::translate("phmail", "Files in Directory: ") +
           QDir::toNativeSeparators(maildir) + crlf +
           QCoreApplication::translate("phmail",
                                       "**** Replace this Message with Your Email Text ****") +
           crlf;
}

QString mailAttachedBody() {
    return QCoreApplication::translate("phmail",
                                       "**** Replace this Message with Your Email Text ****") +
           QLatin1String("\r\n");
}

QStringList xdgEmailArgs(const QStringList& files) {
    QStringList args{QStringLiteral("--subject"), QStringLiteral("Photos"),
                     QStringLiteral("--body"), mailAttachedBody()};
    for (const QString& f : files)
        args << QStringLiteral("--attach") << f;
    return args;
}

QString noMailProgramText(const QString& maildir) {
    return QCoreApplication::translate("phmail",
                                       "No Email App Is Set Up.\rThe Photos Are In Directory: ") +
           QDir::toNativeSeparators(maildir);
}

QUrl mailUrl(const QString& maildir) {
    // Everything but letters, digits, -._~ and the path's slashes is percent-encoded: an '&' or
    // '#' in the folder path would end the body, and some mail programs read '+' as a blank.
    const QByteArray body = QUrl::toPercentEncoding(mailBody(maildir), "/");
    return QUrl::fromEncoded(QByteArrayLiteral("mailto:?cc=&subject=Photos&body=") + body,
                             QUrl::StrictMode);
}

} // namespace vimbrel
