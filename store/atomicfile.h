// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace vimbrel {

// Replaces `path` with `bytes` through a temporary file and a rename, so a failed or
// interrupted write leaves the previous file as it was. False with the error text on failure.
//
// Every write is checked (a full disk must not commit a truncated file), the data is synced
// before the rename, and the temporary file has a name of its own (".NAME.vimbrel-XXXXXX").
// A link is written through only onto a regular file; anything else at `path` is refused.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// Removes what interrupted writes of `path` left beside it (".NAME.vimbrel-XXXXXX", plain
// files only: nothing a user names, a backup NAME.backup or NAME.240101 included)
// when older than `minAgeSeconds`: a younger one may be another writer's, still at work.
// Returns how many were removed.
int removeWriteLeftovers(const QString& path, int minAgeSeconds);

} // namespace vimbrel
