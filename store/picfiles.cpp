// SPDX-License-Identifier: GPL-3.0-or-later
#include "picfiles.h"

#include "albumfile.h"
#include "filenames.h"
#include "folderlist.h"
#include "regularfile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {
namespace {

// Deletes a plain file or a link itself, never a folder.
void unlinkPlain(const QString& path) {
    const QByteArray p = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(p.constData(), &st) == 0 && !S_ISDIR(st.st_mode))
        ::unlink(p.constData());
}

// The numbers the album file on disk names; none when it cannot be read.
QSet<int> savedNumbers(const QString& albfile) {
    if (albfile.isEmpty())
        return {};
    QFile f;
    if (!openRegularFile(f, albfile))
        return {};
    const QByteArray bytes = f.read(maxAlbumBytes + 1);
    if (f.error() != QFileDevice::NoError || bytes.size() > maxAlbumBytes)
        return {};
    const auto saved = std::make_unique<Album>();
    ClearAlbum(*saved);
    if (decodeAlbum(bytes, *saved).outcome != AlbumDecode::Ok)
        return {};
    return namedNumbers(*saved);
}

} // namespace

int GetFileNum(const Album& a) {
    for (int n = 1; n <= 1000; ++n)
        if (a.fileused[n] == 0)
            return n;
    return 0;
}

QSet<int> namedNumbers(const Album& a) {
    QSet<int> numbers;
    const auto add = [&](int s) {
        if (const int n = namedPictureNumber(a.pics[s].pfile.trimmed()))
            numbers.insert(n);
    };
    for (int s = 1; s <= qBound(0, int(a.npics), 1000); ++s)
        add(s);
    for (int s = 1001 - qBound(0, int(a.npbox), 1000); s <= 1000; ++s)
        add(s);
    return numbers;
}

bool rebuildFileUsed(Album& a, QString* error) {
    const FolderList listed = listFolder(a.picdir);
    if (!listed.ok()) {
        if (error)
            *error = listed.error;
        return false;
    }
    for (const FolderEntry& e : listed.entries)
        if (const int n = pictureFileNumber(e.name.trimmed()))
            a.fileused[n] = -1;
    for (const int n : namedNumbers(a))
        a.fileused[n] = -1;
    return true;
}

void removeNewFiles(const Album& a) {
    if (a.picdir.isEmpty())
        return;
    const FolderList listed = listFolder(a.picdir);
    if (!listed.ok())
        return;
    // A number is only new to this session if the saved album does not name it; should one
    // ever be both, the saved album's picture wins.
    const QSet<int> saved = savedNumbers(a.albfile);
    for (const FolderEntry& e : listed.entries) {
        const int n = namedPictureNumber(e.name);
        if (n && a.filenew[n] != 0 && !saved.contains(n))
            unlinkPlain(a.picdir + e.name);
    }
}

void emptyMailDir(const QString& maildir) {
    QString dir = maildir;
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1); // "link/" would have the system follow the link after all
    if (dir.isEmpty())
        return;
    // O_NOFOLLOW: the folder linked to ~/Pictures must not be emptied through the link. Every
    // later step works from this handle, so the path cannot be swapped underneath either.
    const int fd =
        ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    for (const FolderEntry& e : listOpenFolder(fd, EntryStatus::OfEntry).entries)
        if (isMailCopyName(e.name) && e.statted && S_ISREG(e.st.st_mode))
            ::unlinkat(fd, nameBytes(e.name).constData(), 0);
    ::close(fd);
}

bool mailDirUsable(const QString& maildir) {
    if (maildir.isEmpty())
        return false;
    QString dir = maildir;
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    const QByteArray path = QFile::encodeName(dir);
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 && errno == ENOENT)
        QDir().mkpath(dir);
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

char freeSpaceTest(const Album& a) {
    const VolumeStatus vol = a.volumeStatus(QFileInfo(a.albfile).absolutePath());
    if (!vol.known || vol.available <= 256 || vol.readOnly || !vol.folderWritable)
        return 'N';
    return a.volumeStatus(a.picdir).folderWritable ? 'Y' : 'N';
}

} // namespace vimbrel
