// SPDX-License-Identifier: GPL-3.0-or-later
#include "pboxlogic.h"

#include <QCoreApplication>

#include "albumfile.h"
#include "logging.h"
#include "picfolder.h"
#include "picturename.h"
#include "ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QStandardPaths>
#include <QStorageInfo>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vimbrel {

StripUpdate StripUpdate::redrawAll() {
    StripUpdate u;
    u.from.fill(-1);
    return u;
}

int StripUpdate::redrawCount() const {
    int n = 0;
    for (int f : from)
        n += f < 0 ? 1 : 0;
    return n;
}

int boxFirst(const Album& a) {
    return 1001 - a.npbox;
}

int stripSlot(const Album& a, int k) {
    const int s = a.pbtop + k;
    return a.npbox > 0 && s >= boxFirst(a) && s <= 1000 ? s : 0;
}

int stripNumber(const Album& a, int k) {
    const int s = stripSlot(a, k);
    return s ? s - boxFirst(a) + 1 : 0;
}

int scrollMaximum(const Album& a) {
    return a.npbox < 6 ? 1 : a.npbox - 4;
}

int scrollValue(const Album& a) {
    const int v = a.pbtop - boxFirst(a) + 1;
    return v < 1 ? 1 : v > scrollMaximum(a) ? scrollMaximum(a) : v;
}

StripUpdate loadStrip(Album& a, int t) {
    StripUpdate u;
    if (t == LoadFSCode::fromStart) {
        // pbfirst, not boxFirst: PackPics sets it to the new pbtop for this very call.
        a.pbtop = a.pbfirst;
        return StripUpdate::redrawAll();
    }
    if (t < 0) {
        const int k = LoadFSCode::positionOf(t);
        if (k >= 0 && k < stripPositions)
            u.from[static_cast<std::size_t>(k)] = -1;
        return u;
    }
    const int d = std::abs(t - a.pbtop);
    if (d >= stripPositions) {
        u = StripUpdate::redrawAll();
    } else if (t < a.pbtop) {
        for (int k = 0; k < stripPositions; ++k)
            u.from[static_cast<std::size_t>(k)] = k >= d ? k - d : -1;
    } else {
        for (int k = 0; k < stripPositions; ++k)
            u.from[static_cast<std::size_t>(k)] = k + d < stripPositions ? k + d : -1;
    }
    a.pbtop = static_cast<Integer>(t);
    return u;
}

StripUpdate addToBox(Album& a, int pos) {
    const bool single = pos >= 0;
    const int n = single ? 1 : a.nimps;
    if (n < 1 || a.npics + a.npbox + n > a.maxpics)
        return {};
    // The box's slots move under a selection in progress; its marks would point elsewhere.
    if (a.pbsel >= 0)
        ClearPboxSel(a);
    const int old = a.npbox;
    if (old > 0 && (a.pbtop < boxFirst(a) || a.pbtop > 1000))
        a.pbtop = static_cast<Integer>(boxFirst(a));
    // An empty position (or an empty box) has no picture to go before: the picture is appended.
    if (single && (pos >= stripPositions || stripSlot(a, pos) == 0))
        pos = appendPosition;

    a.npbox = static_cast<Integer>(old + n);
    a.pbfirst = static_cast<Integer>(1001 - a.npbox);
    const bool append = pos < 0 || pos >= stripPositions;
    const int g = append ? 1001 - n : a.pbtop + pos - 1;
    const int last = append ? 1000 - n : g - 1;
    if (old > 0)
        for (int s = a.pbfirst; s <= last; ++s)
            a.pics[s] = a.pics[s + n];

    if (single) {
        a.pics[g] = a.tpic;
    } else {
        for (int i = 1; i <= n; ++i) {
            PicRec& p = a.pics[g + i - 1];
            const ImpRec& imp = a.imps[i];
            p.pfile = imp.ifile.trimmed();
            p.porient = "L";
            p.psel = -1;
            p.pwidth = imp.iwidth;
            p.pheight = imp.iheight;
            p.psdesc = FixedText<20>();
            p.pldesc = FixedText<50>();
        }
    }
    a.nimps = 0;

    if (old <= 0) {
        a.pbtop = a.pbfirst;
        return StripUpdate::redrawAll();
    }
    // The strip keeps showing the pictures it showed; only the new ones are drawn.
    a.pbtop = static_cast<Integer>(a.pbtop - n);
    StripUpdate u;
    if (single) {
        const int k = g - a.pbtop;
        if (k < stripPositions) {
            for (int j = stripPositions - 1; j > k; --j)
                u.from[static_cast<std::size_t>(j)] = j - 1;
            u.from[static_cast<std::size_t>(k)] = -1;
        }
    } else {
        for (int k = 0; k < stripPositions; ++k)
            if (a.pbtop + k >= g)
                u.from[static_cast<std::size_t>(k)] = -1;
    }
    return u;
}

StripUpdate deleteFromBox(Album& a) {
    const int first = boxFirst(a);
    int count = 0, d = 0;
    if (a.pbsel >= 0)
        for (int s = first; s <= 1000; ++s)
            if (a.wpics[s].psel == 0) {
                ++count;
                d = s;
            }
    if (count == 0)
        return {};
    a.changed = 'y';
    StripUpdate u;

    if (count == 1) {
        // The slot is found from the marks rather than dragsrc: right clicks may have moved
        // dragsrc to a picture that is no longer selected.
        const int top = a.pbtop;
        const int k = d - top;
        const bool inView = k >= 0 && k < stripPositions;
        if (top <= first) {
            // At the start of the box: the pictures after it close up from the right.
            a.pbtop = static_cast<Integer>(top + 1);
            if (inView) {
                for (int j = k; j < stripPositions - 1; ++j)
                    u.from[static_cast<std::size_t>(j)] = j + 1;
                u.from[stripPositions - 1] = -1;
            }
        } else if (inView) {
            // Scrolled on: the pictures in front of it close up from the left.
            for (int j = k; j >= 1; --j)
                u.from[static_cast<std::size_t>(j)] = j - 1;
            u.from[0] = -1;
        } else if (k >= stripPositions) {
            // The shown slots all move up one with the pictures in front of the removed one.
            a.pbtop = static_cast<Integer>(top + 1);
        }
        for (int s = d; s > first; --s)
            a.pics[s] = a.pics[s - 1];
        a.npbox = static_cast<Integer>(a.npbox - 1);
        a.pbfirst = static_cast<Integer>(first + 1);
        return u;
    }

    // Several: the kept pictures close up towards the top end, in their order. Backwards, so
    // no slot is overwritten before it is read.
    int t = 1000;
    for (int s = 1000; s >= first; --s)
        if (a.wpics[s].psel != 0)
            a.pics[t--] = a.pics[s];
    a.npbox = static_cast<Integer>(a.npbox - count);
    a.pbfirst = static_cast<Integer>(1001 - a.npbox);
    a.pbtop = a.pbfirst;
    return StripUpdate::redrawAll();
}

PageDropResult dropPagePictures(Album& a, int index) {
    PageDropResult r;
    const Integer g = a.curgrp;
    if (a.nsel != 1) {
        r.several = true;
        r.moved = PackPics(a, g) > 0;
        // PackPics leaves the group counts to its caller.
        a.grps[g].gcount = countGroupPictures(a, g);
        if (r.moved)
            a.changed = 'y';
        SetAllSel(a, -1);
        return r;
    }

    const int src = a.dragsrc;
    if (src < 1 || src > a.nframes || a.frames[src] < 1)
        return r;
    if (index < 0 || (index < stripPositions && stripSlot(a, index) == 0))
        index = appendPosition;
    a.changed = 'y';
    const Integer p = a.frames[src];
    a.frames[src] = -1;
    a.dragsrc = p;
    for (int f = 1; f <= a.nframes; ++f)
        if (a.frames[f] > p)
            --a.frames[f];
    for (int grp = 1; grp <= a.ngrps; ++grp)
        if (src >= a.grps[grp].gfirst && src <= a.grps[grp].glast)
            --a.grps[grp].gcount;
    a.tpic = a.pics[p];
    a.npics = static_cast<Integer>(a.npics - 1);
    for (int s = p; s <= a.npics; ++s)
        a.pics[s] = a.pics[s + 1];
    a.nimps = 1;
    r.strip = addToBox(a, index);
    r.moved = true;
    r.clearFrame = src;
    SetAllSel(a, -1);
    return r;
}

bool stripSelected(const Album& a, int k) {
    const int s = stripSlot(a, k);
    return a.pbsel >= 0 && s && a.wpics[s].psel == 0;
}

// A selection starts from a fresh copy of the box, nothing (or everything) marked.
static void copyBoxToWorkList(Album& a, Integer mark) {
    for (int s = boxFirst(a); s <= 1000; ++s) {
        a.wpics[s] = a.pics[s];
        a.wpics[s].psel = mark;
    }
}

StripPress pressStrip(Album& a, int k, bool leftButton) {
    StripPress r;
    if (a.canwrite != 'Y') {
        r.hideButtons = true;
        return r;
    }
    const int s = stripSlot(a, k);
    if (s == 0)
        return r;
    r.handled = true;
    if (a.nsel > 0)
        SetAllSel(a, -1);
    if (a.pbsel < 0) {
        copyBoxToWorkList(a, -1);
        a.pbsel = 0;
    }
    a.dragsrc = static_cast<Integer>(s);
    PicRec& w = a.wpics[s];
    if (!leftButton) {
        const bool selected = w.psel == 0;
        w.psel = selected ? Integer(-1) : Integer(0);
        a.pbsel = static_cast<Integer>(a.pbsel + (selected ? -1 : 1));
        return r;
    }
    if (a.pbsel == 0) {
        w.psel = 0;
        a.pbsel = 1;
    }
    // A left press on an unselected picture while others are selected starts nothing.
    r.startDrag = w.psel == 0;
    r.several = a.pbsel != 1;
    return r;
}

void selectAllOrNone(Album& a) {
    if (a.pbsel < 1) {
        copyBoxToWorkList(a, 0);
        a.pbsel = a.npbox;
        return;
    }
    ClearPboxSel(a);
    // The marks are cleared too: a later click must not find the old selection still there.
    copyBoxToWorkList(a, -1);
    a.pbsel = 0;
}

QStringList selectedBoxFiles(const Album& a) {
    QStringList names;
    if (a.pbsel < 0)
        return names;
    for (int s = boxFirst(a); s <= 1000; ++s) {
        const QString name = a.pics[s].pfile.trimmed();
        if (a.wpics[s].psel == 0 && isAlbumPictureName(name))
            names.append(name);
    }
    return names;
}

namespace {

// Whether the home Trash folder is there or can be made (a new account may not have the data
// folder yet). QFile::moveToTrash goes on without it and fills "files" and "info" folders in
// the working folder instead, so without it nothing is handed to the Trash.
bool homeTrashUsable() {
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          QStringLiteral("/Trash");
    QDir().mkpath(trash);
    const QFileInfo info(trash);
    return info.isDir() && !info.isSymLink() && info.isWritable();
}

// A Trash folder moveToTrash would use on another volume is the user's own, or is not there
// (then it is made so). It takes whatever it finds under the name, so a link, or a folder that
// someone else owns or may write in, would hand the pictures to someone else.
bool ownTrashOrNone(const QByteArray& dir, uid_t uid) {
    struct stat st {};
    if (::lstat(dir.constData(), &st) != 0)
        return errno == ENOENT;
    if (S_ISLNK(st.st_mode))
        return false;
    // Anything but a folder is passed by.
    return !S_ISDIR(st.st_mode) || (st.st_uid == uid && (st.st_mode & 022) == 0);
}

} // namespace

bool volumeTrashSafe(const QString& root, uid_t uid) {
    const QByteArray top = QFile::encodeName(root);
    const QByteArray id = QByteArray::number(uid);
    struct stat st {};
    // An administrator's shared .Trash (sticky) holds a folder per user.
    if (::lstat((top + "/.Trash").constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
        (st.st_mode & S_ISVTX) != 0 && !ownTrashOrNone(top + "/.Trash/" + id, uid))
        return false;
    return ownTrashOrNone(top + "/.Trash-" + id, uid);
}

namespace {

// Whether moveToTrash finds or makes the volume's own Trash, and so never falls back on the
// home one (which it cannot use across volumes anyway).
bool volumeTrashReady(const QString& root, uid_t uid) {
    const QByteArray top = QFile::encodeName(root);
    const QByteArray id = QByteArray::number(uid);
    const auto isDir = [](const QByteArray& p) {
        struct stat st {};
        return ::lstat(p.constData(), &st) == 0 && S_ISDIR(st.st_mode);
    };
    struct stat st {};
    if (::lstat((top + "/.Trash").constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
        (st.st_mode & S_ISVTX) != 0 &&
        (isDir(top + "/.Trash/" + id) || ::access((top + "/.Trash").constData(), W_OK) == 0))
        return true;
    return isDir(top + "/.Trash-" + id) || ::access(top.constData(), W_OK) == 0;
}

// Where a file's volume has its top, or an empty text for the home folder's volume.
QString volumeTop(const QString& path) {
    const QStorageInfo volume(path);
    return volume == QStorageInfo(QDir::home()) ? QString() : volume.rootPath();
}

// `top` as volumeTop() gives it. The Trash folders are looked at every time: one may go, or
// be swapped for a link, while a deletion runs.
bool trashUsableOn(const QString& top) {
    if (top.isEmpty())
        return homeTrashUsable();
    const uid_t uid = ::getuid();
    return volumeTrashSafe(top, uid) && (volumeTrashReady(top, uid) || homeTrashUsable());
}

bool trashUsable(const QString& path) {
    return trashUsableOn(volumeTop(path));
}

// `usable`: what trashUsable says of the file's volume.
bool moveOrErase(const QString& path, bool usable, QString* error) {
    QFile f(path);
    if (usable && f.moveToTrash())
        return true;
    // moveToTrash fails where the file's volume has no Trash and none can be made: then erased.
    const QString why = usable ? f.errorString() : QStringLiteral("no safe Trash on its volume");
    if (f.remove()) {
        qCWarning(storeLog) << "erased, not moved to the Trash:" << path << "-" << why;
        return true;
    }
    if (error)
        *error = f.errorString();
    return false;
}

} // namespace

bool trashOrRemove(const QString& path, QString* error) {
    return moveOrErase(path, trashUsable(path), error);
}

BoxDeleteOutcome deleteWithFiles(Album& a, const std::function<void()>& removeFromBox) {
    const QStringList names = selectedBoxFiles(a);
    const int first = boxFirst(a);
    std::vector<PicRec> saved;
    for (int s = first; s <= 1000; ++s)
        saved.push_back(a.pics[s]);
    const Integer npbox = a.npbox, pbfirst = a.pbfirst, pbtop = a.pbtop;
    const char changed = a.changed;

    removeFromBox();
    ClearPboxSel(a);
    if (!WriteAlbum(a)) {
        // WriteAlbum has told the user; the album file on disk still lists the pictures, and so
        // does the model again.
        for (int s = first; s <= 1000; ++s)
            a.pics[s] = saved[static_cast<std::size_t>(s - first)];
        a.npbox = npbox;
        a.pbfirst = pbfirst;
        a.pbtop = pbtop;
        a.changed = changed;
        return BoxDeleteOutcome::NotWritten;
    }

    // The pictures are gone from the written album now. Their files go to the Trash, so a
    // picture deleted by mistake can be imported again. A file that cannot be deleted stays
    // behind in the picture folder as a stray copy: its number counts as used when the album
    // is next read, so no import overwrites it. A file already missing is simply gone. A file
    // another record still names stays: only this record is gone.
    QList<std::pair<QString, QString>> failed;
    {
        BusyPointer busy(*a.ui);
        const QSet<FileId> kept = recordFileIds(a);
        // A volume's top is found once per device, not for each file (each look reads the
        // system's whole list of mounts). A picture may be a link onto another volume.
        QHash<dev_t, QString> tops;
        for (const QString& name : names) {
            const QString path = a.picdir + name;
            const std::optional<FileId> id = fileId(path);
            if (id && kept.contains(*id))
                continue;
            QString top;
            if (!id)
                top = volumeTop(path);
            else if (const auto it = tops.constFind(id->dev); it != tops.cend())
                top = *it;
            else
                top = *tops.insert(id->dev, volumeTop(path));
            if (QString why;
                !moveOrErase(path, trashUsableOn(top), &why) && QFileInfo::exists(path))
                failed.append({why, path});
        }
    }
    for (const auto& [why, path] : failed)
        a.ui->message(QCoreApplication::translate("pbox", "File - ERROR"),
                      why + QLatin1Char('\r') +
                          QCoreApplication::translate("pbox", "Error Deleting File: ") + path,
                      MsgIcon::Information);
    return BoxDeleteOutcome::Deleted;
}

} // namespace vimbrel
