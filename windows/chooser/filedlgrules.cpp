#include "filedlgrules.h"

#include "albumfile.h"
#include "config.h"
#include "ui.h"

#include <QFile>
#include <QFileInfo>

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
    a.ui->message(caption, QStringLiteral("Album \r") + file + QStringLiteral("\rAlready Exists."),
                  MsgIcon::Information);
}

} // namespace

bool nameKeyAccepted(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '+' ||
           u == '-' || u == '_';
}

DlgOutcome confirmNewOrOpen(Album& a, DlgMode mode, const QString& caption, const QString& name,
                            const QString& desc, const QString& folder) {
    const QString iname = name.trimmed();
    const QString idesc = desc.trimmed();
    if (iname.isEmpty()) {
        a.ui->message(caption, QStringLiteral("Name is Invalid"), MsgIcon::Information);
        return {false, DlgOutcome::Name};
    }
    if (idesc.isEmpty() && mode == DlgMode::New) {
        a.ui->message(caption, QStringLiteral("Description is Invalid"), MsgIcon::Information);
        return {false, DlgOutcome::Desc};
    }

    ClearAlbum(a);
    a.changed = 'y';
    a.albname = iname;
    a.albdesc = idesc;
    a.albtitle = iname + QStringLiteral(".vmb");
    const QString dir = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    a.albfile = dir + a.albtitle;

    if (mode == DlgMode::Open) {
        ReadAlbum(a);
    } else if (!QFileInfo::exists(a.albfile)) {
        a.picdir = dir + iname + QLatin1Char('/');
        if (::mkdir(QFile::encodeName(a.picdir).constData(), 0777) != 0) {
            a.ui->message(QStringLiteral("Make Directory - ERROR"), systemError(errno),
                          MsgIcon::Critical);
            ClearAlbum(a);
            return {false, DlgOutcome::None};
        }
        WriteAlbum(a);
    } else {
        alreadyExists(a, caption, a.albfile);
        ClearAlbum(a);
        return {false, DlgOutcome::Name};
    }

    if (a.changed == 'y') {
        a.changed = 'n';
        return {false, DlgOutcome::None};
    }
    return {true, DlgOutcome::None};
}

RenameSource renameSource(const Album& a) {
    const int row = a.cfglist.selectedRow();
    RenameSource s;
    s.oldfile = a.cfglist.name(row).trimmed();
    s.olddir = QFileInfo(a.cfglist.file(row).trimmed()).path();
    s.oldname = s.oldfile.left(s.oldfile.size() - 4);
    return s;
}

DlgOutcome confirmRename(Album& a, const QString& caption, const QString& name,
                         const RenameSource& src) {
    const QString iname = name.trimmed();
    if (iname.isEmpty()) {
        a.ui->message(caption, QStringLiteral("Name is Invalid"), MsgIcon::Information);
        return {false, DlgOutcome::Name};
    }
    const QString newfile = src.olddir + QLatin1Char('/') + iname + QStringLiteral(".vmb");
    if (QFileInfo::exists(newfile)) {
        alreadyExists(a, caption, newfile);
        return {false, DlgOutcome::Name};
    }
    if (a.albname.trimmed() == iname)
        return {true, DlgOutcome::None};

    const QString oldpath = src.olddir + QLatin1Char('/') + src.oldfile;
    QString why;
    if (!renameNoReplace(oldpath, newfile, &why)) {
        a.ui->message(QStringLiteral("Rename - ERROR"), why, MsgIcon::Critical);
        return {false, DlgOutcome::None};
    }
    const QString newdir = src.olddir + QLatin1Char('/') + iname;
    if (!renameNoReplace(src.olddir + QLatin1Char('/') + src.oldname, newdir, &why)) {
        a.ui->message(QStringLiteral("Rename - ERROR"), why, MsgIcon::Critical);
        QString ignored;
        renameNoReplace(newfile, oldpath, &ignored);
        return {true, DlgOutcome::None};
    }

    a.albname = iname;
    a.albtitle = iname + QStringLiteral(".vmb");
    a.albfile = newfile;
    a.picdir = newdir + QLatin1Char('/');
    WriteAlbum(a);

    // The old name leaves the list; the new one is on top.
    for (int i = 0; i < a.cfglist.count(); ++i)
        if (a.cfglist.name(i).trimmed() == src.oldfile &&
            QFileInfo(a.cfglist.file(i).trimmed()).path() == src.olddir) {
            a.cfglist.removeAt(i);
            break;
        }
    SaveCfg(a, -1);
    SaveCfg(a, -9); // the list lost a row even when the new name was already on top
    return {true, DlgOutcome::None};
}

} // namespace vimbrel
