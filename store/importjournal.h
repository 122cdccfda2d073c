// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an import copies into the picture folder is written down beside the album
// (".NAME.vmb.importing") before each copy starts, and the note goes once the album naming the
// copies is written. A run killed in between leaves the note: the next session that opens the
// album for changes removes exactly those copies that the album does not name, and nothing
// else. (A file's age proves nothing: an album restored from a backup is older than pictures
// imported since.)

#include "album.h"

#include <QString>

namespace vimbrel {

QString importJournalPath(const QString& albfile);
// Adds the copy `target` (a picture file name) to the note; false when it cannot be written.
bool noteImportCopy(const QString& albfile, const QString& target);
// The run is over and the album names what it kept: the note goes.
void endImportJournal(const QString& albfile);
// Opening a writable album this session holds: removes the noted copies that no record names
// (plain files only) and the note itself. Returns how many copies went; the caller rebuilds
// fileused when any did.
int removeUnfinishedImports(const Album& a);

} // namespace vimbrel
