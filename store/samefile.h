// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether two paths name one file. Paths are never compared as text where the files exist:
// a link, a "..", a second mount or a different spelling reach the same file.

#include <QString>

namespace vimbrel {

// By device and inode where both files exist. A path to a missing file has no identity; it
// is the same only as another spelling of the same missing path.
bool sameFile(const QString& a, const QString& b);

} // namespace vimbrel
