// SPDX-License-Identifier: GPL-3.0-or-later
#include "picfolder.h"

#include "filenames.h"
#include "folderlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {

namespace {

// `path` made absolute as text only: QFileInfo would also fold "dir/.." away, which is wrong
// when dir is a link; the system resolves what is left.
QString absoluteText(const QString& path) {
    return path.startsWith(QLatin1Char('/')) ? path : QDir::currentPath() + QLatin1Char('/') + path;
}

// The folder an absolute `path` lies in, by its text: its last part taken away.
QString parentText(const QString& path) {
    QString p = path;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : p.left(slash);
}

// The folder resolved as the system resolves it (links, ".."), or its nearest existing
// ancestor's when it does not exist yet: a folder about to be made is where its parent is.
QString resolvedFolder(const QString& folder) {
    QString p = absoluteText(folder);
    for (int depth = 0; depth < 4096; ++depth) {
        if (char* real = ::realpath(nameBytes(p).constData(), nullptr)) {
            const QString text = nameText(QByteArray(real));
            std::free(real);
            return text;
        }
        const QString up = parentText(p);
        if (up == p)
            break;
        p = up;
    }
    return {};
}

// Where the link `path` points, as an absolute path; nothing when it is no link.
std::optional<QString> linkTarget(const QString& path) {
    const QByteArray bytes = nameBytes(path);
    struct stat st {};
    if (::lstat(bytes.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return std::nullopt;
    QByteArray target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(bytes.constData(), target.data(), size_t(target.size()));
    if (n <= 0 || n >= target.size())
        return std::nullopt;
    target.truncate(n);
    const QString text = nameText(target);
    return text.startsWith(QLatin1Char('/'))
               ? text
               : parentText(absoluteText(path)) + QLatin1Char('/') + text;
}

} // namespace

FileId fileIdOf(const struct stat& st) {
    return FileId{st.st_dev, st.st_ino};
}

size_t qHash(const FileId& id, size_t seed) noexcept {
    return qHashMulti(seed, quint64(id.dev), quint64(id.ino));
}

std::optional<FileId> fileId(const QString& path) {
    struct stat st {};
    if (path.isEmpty() || ::stat(nameBytes(path).constData(), &st) != 0)
        return std::nullopt;
    return fileIdOf(st);
}

PictureFolder::PictureFolder(const QString& picdir) {
    const QString folder = picdir.trimmed();
    if (folder.isEmpty())
        return;
    m_id = fileId(folder);
    if (!m_id)
        return;
    // An entry that is a link counts by what it points at: deleting that elsewhere would
    // take the album's picture with it.
    for (const FolderEntry& e : listFolder(folder, EntryStatus::OfTarget).entries)
        if (e.statted)
            m_files.insert(fileIdOf(e.st));
}

bool PictureFolder::isFolder(const QString& folder) const {
    return m_id && fileId(folder) == m_id;
}

bool PictureFolder::contains(const QString& folder) const {
    if (!m_id || folder.isEmpty())
        return false;
    // A resolved path has no links or ".." left, so its text ancestors are its real ones; a
    // bind mount of the folder shows up as one of them with the folder's identity.
    QString p = resolvedFolder(folder);
    while (!p.isEmpty()) {
        if (fileId(p) == m_id)
            return true;
        const QString up = QFileInfo(p).path();
        if (up == p)
            break;
        p = up;
    }
    return false;
}

bool PictureFolder::holds(const QString& path) const {
    if (!m_id || path.isEmpty())
        return false;
    QString at = absoluteText(path);
    if (contains(parentText(at)))
        return true;
    for (int depth = 0; depth < 40; ++depth) {
        const std::optional<QString> next = linkTarget(at);
        if (!next)
            break;
        at = *next;
        if (contains(parentText(at)))
            return true;
    }
    const std::optional<FileId> id = fileId(path);
    return id && (m_files.contains(*id) || *id == *m_id);
}

bool isPictureFolder(const QString& folder, const QString& picdir) {
    const std::optional<FileId> id = fileId(picdir.trimmed());
    return id && fileId(folder) == id;
}

QSet<FileId> recordFileIds(const Album& a) {
    QSet<FileId> ids;
    if (a.picdir.isEmpty())
        return ids;
    const auto add = [&](int s) {
        const QString name = a.pics[s].pfile.trimmed();
        if (name.isEmpty() || name.contains(QLatin1Char('/')))
            return;
        if (const std::optional<FileId> id = fileId(a.picdir + name))
            ids.insert(*id);
    };
    for (int s = 1; s <= qBound(0, int(a.npics), 1000); ++s)
        add(s);
    for (int s = 1001 - qBound(0, int(a.npbox), 1000); s <= 1000; ++s)
        add(s);
    return ids;
}

} // namespace vimbrel
