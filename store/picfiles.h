// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The album's picture folder: file numbers, the files copied since the last save, the
// e-mail folder, and whether the album's volume may be written.

#include "album.h"
#include "picturename.h"

#include <QSet>

#include <ctime>

namespace vimbrel {

// The lowest free picture number, or 0 when all 1000 are taken.
int GetFileNum(const Album& a);

// The picture numbers the records name (album pictures and Photo Box), whether or not their
// files exist.
QSet<int> namedNumbers(const Album& a);

// fileused(n) = -1 for every vmbNNNN.bmp/.gif/.jpg (any letter case) in picdir with
// 0 < n <= 1000, and for every number a record names: a file deleted by hand must not hand
// its number to a new picture while the old record still names it. False, with the system's
// error text, when the folder cannot be listed.
bool rebuildFileUsed(Album& a, QString* error);

// Leaving without saving: deletes picdir/vmbNNNN.* for every number copied since the last
// save, except numbers the saved album file names. Nothing outside the picture folder is
// touched; errors are ignored.
void removeNewFiles(const Album& a);

// Deletes the e-mail window's own copies (plain files with its names) from the e-mail folder
// and nothing else: no other files, no subfolders, no links, and nothing at all when the
// folder itself is a link.
void emptyMailDir(const QString& maildir);
// Makes the e-mail folder when it is missing. True when it is a folder of its own: a link
// (to ~/Pictures, say) would have the copies written over the user's files, so it is not used.
bool mailDirUsable(const QString& maildir);

// 'Y' when the volume holding the album has more than 256 bytes available, is not mounted
// read-only, and the album's folder and picture folder accept new files; else 'N'.
char freeSpaceTest(const Album& a);

} // namespace vimbrel
