// SPDX-License-Identifier: GPL-3.0-or-later
#include "droprules.h"

#include "filenames.h"
#include "folderlist.h"
#include "importrules.h"

#include <QSet>

#include <algorithm>
#include <optional>
#include <sys/stat.h>

namespace vimbrel {

namespace {

std::optional<struct stat> statOf(const QString& path) {
    struct stat st {};
    if (::stat(nameBytes(path).constData(), &st) != 0)
        return std::nullopt;
    return st;
}

QString joined(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// The entries of a folder by name, as file name text; "." and ".." left out.
QStringList entries(const QString& folder) {
    QStringList names;
    for (const FolderEntry& e : listFolder(folder).entries)
        names.append(e.name);
    std::sort(names.begin(), names.end(), [](const QString& x, const QString& y) {
        return QString::localeAwareCompare(x, y) < 0;
    });
    return names;
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
        QStringList below;
        for (const QString& name : entries(path)) {
            const QString p = joined(path, name);
            const std::optional<struct stat> s = statOf(p);
            if (!s)
                continue;
            if (S_ISREG(s->st_mode))
                file(p, *s);
            else if (S_ISDIR(s->st_mode))
                below.append(p);
        }
        if (!recursive) {
            out.subfolders = out.subfolders || !below.isEmpty();
            return;
        }
        for (const QString& p : below)
            if (const std::optional<struct stat> s = statOf(p))
                folder(p, *s);
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
