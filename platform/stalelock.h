// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the album lock and the single-instance lock share about QLockFile files that were
// left behind: QLockFile gives up a lock naming no process only by age, and both locks are
// held for as long as the program runs, so no age is set and such files are handled here.

#include <QString>

namespace vimbrel {

// Whether something other than a plain file stands where the lock file goes (a folder, a
// pipe, a link): QLockFile would read through a link or wait on a pipe.
bool somethingElseIsAtLockPath(const QString& path);

// Whether the lock file's first line names a process, as every lock QLockFile writes does.
bool lockNamesAProcess(const QString& path);

// Removes a lock file that names no process (empty, cut short, garbage) when it is past its
// first moment and nobody holds it (a live QLockFile keeps its file flock()ed). True when
// it was removed and the lock may be tried again.
bool removeLockNamingNoProcess(const QString& path);

// The same for a lock on this machine's own disk whatever it names: a live QLockFile holds its
// file flock()ed, so one nobody holds is stale even when it names a process QLockFile cannot
// judge (another host name, written before the host was renamed).
bool removeUnheldLocalLock(const QString& path);

} // namespace vimbrel
