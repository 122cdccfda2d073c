// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way a folder's entries are read. Names keep their bytes (filenames.h): a name that
// is not UTF-8 still opens, or deletes, the file it lists. A folder that cannot be read says
// why, with the system's own text.

#include <QList>
#include <QString>

#include <sys/stat.h>

namespace vimbrel {

struct FolderEntry {
    QString name;         // as nameText() gives it; nameBytes() gives the bytes back
    bool statted = false; // whether st holds the entry's status
    struct stat st {};
};

// What is asked of each entry besides its name.
enum class EntryStatus {
    None,
    OfEntry,  // the entry itself: a link is a link (lstat)
    OfTarget, // what a link points at; a dangling link is left unstatted (stat)
};

struct FolderList {
    QList<FolderEntry> entries; // "." and ".." left out, in the order the system gives
    QString error;              // why the folder could not be read; empty when it was
    bool ok() const { return error.isEmpty(); }
};

FolderList listFolder(const QString& folder, EntryStatus status = EntryStatus::None);

// The same for a folder already open as `dirfd`, which stays open (its read position, shared
// with the duplicate listed through, ends at the end): callers that must not have the folder
// swapped underneath them work from one handle throughout.
FolderList listOpenFolder(int dirfd, EntryStatus status = EntryStatus::None);

} // namespace vimbrel
