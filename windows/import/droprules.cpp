// SPDX-License-Identifier: GPL-3.0-or-later
#include "droprules.h"

#include "filenames.h"
#include "folderlist.h"
#include "importrules.h"

#include <QSet>

#include <algorithm>
#include <optional>
#include <sys/stat.h>
#include <utility>

namespace vimbrel {

namespace {

std::optional<struct stat> statOf(const QString& path) {
    struct stat st {};
    if (::stat(nameBytes(path).constData(), &st) != 0)
        return std::nullopt;
    return st;
}

// The entries of a folder that could be statted (links followed), by name; "." and ".." left
// out. The listing takes each status, so none is asked for twice.
QList<FolderEntry> entries(const QString& folder) {
    QList<FolderEntry> listed = listFolder(folder, EntryStatus::OfTarget).entries;
    listed.removeIf([](const FolderEntry& e) { return !e.statted; });
    std::sort(listed.begin(), listed.end(), [](const FolderEntry& x, const FolderEntry& y) {
        return QString::localeAwareCompare(x.name, y.name) < 0;
    });
    return listed;
}

struct Scanner {
    const PictureFolder& own;
    bool recursive;
    DropScan out;
    QSet<FileId> seen;

    void file(const QString& path, const struct stat& st) {
        if (importExtension(path).isEmpty() || own.holds(path) || seen.contains(fileIdOf(st)))
            return;
        seen.insert(fileIdOf(st));
        out.files.append(path);
    }

    void folder(const QString& path, const struct stat& st) {
        if (own.contains(path) || seen.contains(fileIdOf(st)))
            return;
        seen.insert(fileIdOf(st));
        QList<std::pair<QString, struct stat>> below;
        for (const FolderEntry& e : entries(path)) {
            const QString p = inFolder(path, e.name);
            if (S_ISREG(e.st.st_mode))
                file(p, e.st);
            else if (S_ISDIR(e.st.st_mode))
                below.append({p, e.st});
        }
        if (!recursive) {
            out.subfolders = out.subfolders || !below.isEmpty();
            return;
        }
        for (const auto& [sub, subst] : below)
            folder(sub, subst);
    }
};

} // namespace

DropScan scanDrop(const QStringList& paths, const PictureFolder& picdir, bool recursive) {
    Scanner s{picdir, recursive, {}, {}};
    for (const QString& path : paths) {
        const std::optional<struct stat> st = statOf(path);
        if (!st)
            continue;
        if (S_ISREG(st->st_mode))
            s.file(path, *st);
        else if (S_ISDIR(st->st_mode))
            s.folder(path, *st);
    }
    return s.out;
}

} // namespace vimbrel
