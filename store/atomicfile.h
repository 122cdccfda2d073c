#pragma once

#include <QByteArray>
#include <QString>

namespace vimbrel {

// Replaces `path` with `bytes` through a temporary file and a rename, so a failed or
// interrupted write leaves the previous file as it was. False with the error text on failure.
//
// QSaveFile alone is not enough: a short write (a full disk) is buffered away and committed
// as a truncated file, so the file is opened unbuffered and every write is checked.
// A link is written through only onto a regular file; anything else at `path` is refused.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// Removes what interrupted writes of `path` left beside it (NAME.XXXXXX, plain files only)
// when older than `minAgeSeconds`: a younger one may be another writer's, still at work.
// Returns how many were removed.
int removeWriteLeftovers(const QString& path, int minAgeSeconds);

} // namespace vimbrel
