// SPDX-License-Identifier: GPL-3.0-or-later
#include "filedlgrules.h"

#include <QCoreApplication>

#include "albumfile.h"
#include "config.h"
#include "ui.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace vimbrel {
namespace {

QString systemError(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// rename(2) silently replaces an empty folder or a file; an album never replaces anything.
bool renameNoReplace(const QString& from, const QString& to, QString* error) {
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink()) {
        *error = systemError(EEXIST);
        return false;
    }
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        *error = systemError(errno);
        return false;
    }
    return true;
}

void alreadyExists(Album& a, const QString& caption, const QString& file) {
    a.ui->message(caption,
                  QCoreApplication::translate("filedlg", "Album \r") + file +
                      QCoreApplication::translate("filedlg", "\rAlready Exists."),
                  MsgIcon::Information);
}

} // namespace

bool nameKeyAccepted(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '+' ||
           u == '-' || u == '_';
}

bool nameFits(const QString& name) {
    return !name.isEmpty() && name.size() <= maxNameLength &&
           std::all_of(name.begin(), name.end(), nameKeyAccepted);
}

DlgOutcome confirmNewOrOpen(Album& a, DlgMode mode, const QString& caption, const QString& name,
                            const QString& desc, const QString& folder) {
    const QString iname = name.trimmed();
    const QString idesc = desc.trimmed();
    if (iname.isEmpty()) {
        a.ui->message(caption, QCoreApplication::translate("filedlg", "Name is Invalid"),
                      MsgIcon::Information);
        return {false, DlgOutcome::Name};
    }
    if (mode == DlgMode::Open)
        return confirmOpen(a, caption, iname + QStringLiteral(".vmb"), folder);
    if (idesc.isEmpty()) {
        a.ui->message(caption, QCoreApplication::translate("filedlg", "Description is Invalid"),
                      MsgIcon::Information);
        return {false, DlgOutcome::Desc};
    }

    ClearAlbum(a);
    a.changed = 'y';
    a.albname = iname;
    a.albdesc = idesc;
    a.albtitle = iname + QStringLiteral(".vmb");
    const QString dir = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    a.albfile = dir + a.albtitle;

    // Locked before it exists: a session creating the same album at the same moment finds
    // the name taken.
    if (QFileInfo::exists(a.albfile) ||
        a.alblock.lock(a.albfile) == AlbumLock::Outcome::HeldElsewhere) {
        alreadyExists(a, caption, a.albfile);
        ClearAlbum(a);
        return {false, DlgOutcome::Name};
    }
    a.picdir = dir + iname + QLatin1Char('/');
    if (::mkdir(QFile::encodeName(a.picdir).constData(), 0777) != 0) {
        a.ui->message(QCoreApplication::translate("filedlg", "Make Directory - ERROR"),
                      systemError(errno), MsgIcon::Critical);
        a.alblock.release();
        ClearAlbum(a);
        return {false, DlgOutcome::None};
    }
    if (!WriteAlbum(a)) {
        a.alblock.release();
        a.changed = 'n';
        return {false, DlgOutcome::None};
    }
    return {true, DlgOutcome::None};
}

DlgOutcome confirmOpen(Album& a, const QString& caption, const QString& fileName,
                       const QString& folder) {
    // The name is used as it stands: trimming or cutting it could name another album.
    const QString name = fileName.left(fileName.size() - 4);
    if (name.trimmed().isEmpty()) {
        a.ui->message(caption, QCoreApplication::translate("filedlg", "Name is Invalid"),
                      MsgIcon::Information);
        return {false, DlgOutcome::Name};
    }
    ClearAlbum(a);
    a.changed = 'y';
    a.albname = name;
    a.albdesc = QString();
    a.albtitle = fileName;
    a.albfile = folder.endsWith(QLatin1Char('/')) ? folder + fileName
                                                  : folder + QLatin1Char('/') + fileName;
    ReadAlbum(a); // leaves changed "n" whether or not it opened: the dialog closes
    return {true, DlgOutcome::None};
}

RenameSource renameSource(const Album& a) {
    // Never the selected row: its name may be another album's in another folder.
    const QFileInfo open(a.albfile);
    RenameSource s;
    s.oldfile = open.fileName();
    s.olddir = open.path();
    s.oldname = s.oldfile.left(s.oldfile.size() - 4);
    return s;
}

DlgOutcome confirmRename(Album& a, const QString& caption, const QString& name,
                         const RenameSource& src) {
    const QString iname = name.trimmed();
    if (iname.isEmpty()) {
        a.ui->message(caption, QCoreApplication::translate("filedlg", "Name is Invalid"),
                      MsgIcon::Information);
        return {false, DlgOutcome::Name};
    }
    const QString newfile = src.olddir + QLatin1Char('/') + iname + QStringLiteral(".vmb");
    if (QFileInfo::exists(newfile)) {
        alreadyExists(a, caption, newfile);
        return {false, DlgOutcome::Name};
    }
    if (a.albname.trimmed() == iname)
        return {true, DlgOutcome::None};
    // The lock goes with the album; a session about to create the new name has it already.
    AlbumLock newlock;
    if (newlock.lock(newfile) == AlbumLock::Outcome::HeldElsewhere) {
        alreadyExists(a, caption, newfile);
        return {false, DlgOutcome::Name};
    }

    const QString oldpath = src.olddir + QLatin1Char('/') + src.oldfile;
    // Found while the old file is still there to be compared with.
    const QList<int> oldrows = a.cfglist.rowsOf(oldpath);
    QString why;
    if (!renameNoReplace(oldpath, newfile, &why)) {
        a.ui->message(QCoreApplication::translate("filedlg", "Rename - ERROR"), why,
                      MsgIcon::Critical);
        return {false, DlgOutcome::None};
    }
    const QString newdir = src.olddir + QLatin1Char('/') + iname;
    if (!renameNoReplace(src.olddir + QLatin1Char('/') + src.oldname, newdir, &why)) {
        a.ui->message(QCoreApplication::translate("filedlg", "Rename - ERROR"), why,
                      MsgIcon::Critical);
        QString ignored;
        renameNoReplace(newfile, oldpath, &ignored);
        return {true, DlgOutcome::None};
    }

    a.alblock = std::move(newlock);
    a.albname = iname;
    a.albtitle = iname + QStringLiteral(".vmb");
    a.albfile = newfile;
    a.picdir = newdir + QLatin1Char('/');

    // The old name leaves the list; the new one goes on top.
    for (auto row = oldrows.crbegin(); row != oldrows.crend(); ++row)
        a.cfglist.removeAt(*row);
    WriteAlbum(a);
    SaveCfg(a, -1);
    SaveCfg(a, -9); // the list lost a row even when the new name was already on top
    return {true, DlgOutcome::None};
}

} // namespace vimbrel
