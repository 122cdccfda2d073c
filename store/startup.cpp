// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup.h"

#include "atomicfile.h"
#include "config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vimbrel {

StartupPlaces processPlaces() {
    StartupPlaces p;
    if (qEnvironmentVariableIsSet("windir"))
        p.windir = qEnvironmentVariable("windir");
    p.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    p.cacheHome = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    p.appDir = QCoreApplication::applicationDirPath();
    return p;
}

QString FindCardDrive(const QList<MountedVolume>& volumes) {
    QString card;
    for (const MountedVolume& v : volumes)
        if (v.removable)
            card = v.root;
    return card;
}

std::optional<CommandLineAlbum> albumFromArgument(const QString& argument) {
    QString path = argument.trimmed();
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    if (path.isEmpty())
        return std::nullopt;
    path = QFileInfo(path).absoluteFilePath();
    if (path.size() <= 9 || !path.endsWith(QLatin1String(".vmb")))
        return std::nullopt;
    return CommandLineAlbum{path, path.mid(path.lastIndexOf(QLatin1Char('/')) + 1)};
}

bool InitStore(Album& a, const StartupPlaces& places, const QList<MountedVolume>& volumes,
               const QString& albumArgument) {
    a.aboutflag = 'n';
    const QString cfgdir = places.windir && !places.windir->isEmpty()
                               ? *places.windir
                               : places.configHome + QStringLiteral("/vimbrel");
    QDir().mkpath(cfgdir);
    a.cfgfile = QDir(cfgdir).filePath(QStringLiteral("vimbra.cfg"));
    a.apppath = places.appDir;
    a.maildir = places.cacheHome + QStringLiteral("/vimbrel/VIMBRA_EMAIL_PICS");
    QDir().mkpath(a.maildir);

    a.cfglist.clear();
    a.pgsize = 0;
    a.descon = ' ';
    a.carddir.clear();
    // Old enough not to be the write of another instance that runs without the lock.
    removeWriteLeftovers(a.cfgfile, 60);
    readConfig(a);
    a.cfglist.append(AlbumList::other, AlbumList::other);

    if (a.carddir.isEmpty()) {
        a.carddir = FindCardDrive(volumes);
        if (!a.carddir.isEmpty())
            SaveCfg(a, -9);
    }

    if (!QChar::fromLatin1(a.descon).isLetter())
        a.descon = 'n';
    a.sizes[1] = {108, 72, 4, 3};
    a.sizes[2] = {200, 133, 3, 1};
    a.sizes[3] = {324, 216, 2, 1};
    a.szsmall = 1;
    a.szmed = 2;
    a.szlarge = 3;
    if (a.pgsize < 1 || a.pgsize > 3)
        a.pgsize = a.szsmall;
    a.maxpics = 1000;
    ClearAlbum(a);

    const std::optional<CommandLineAlbum> arg = albumFromArgument(albumArgument);
    if (!arg)
        return false;
    a.albfile = arg->albfile;
    a.albtitle = arg->albtitle;
    SaveCfg(a, -1);
    return true;
}

} // namespace vimbrel
