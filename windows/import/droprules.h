// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a drop of files and folders from a file manager imports, without the windows. The
// import itself is an ordinary run (importrun.h) of full paths, never deleting a source.

#include "picfolder.h"

#include <QString>
#include <QStringList>

namespace vimbrel {

struct DropScan {
    QStringList files;       // full paths of the pictures to import, in order
    bool subfolders = false; // a dropped folder holds folders that were not looked into
};

// The pictures a drop brings: each dropped file the import takes by its name, and the files
// the import takes inside each dropped folder, in name order, with those of its subfolders
// (depth first) when `recursive`. Only regular files, each once however it is reached; a
// folder is entered once, so a link back up ends there. Nothing of the album's picture folder.
DropScan scanDrop(const QStringList& paths, const PictureFolder& picdir, bool recursive);

} // namespace vimbrel
