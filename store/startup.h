// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start-up steps that need no window: where the files live, the remembered list and
// display settings, the memory card, and the album named on the command line.

#include "album.h"

#include <QList>
#include <QString>
#include <optional>

namespace vimbrel {

struct StartupPlaces {
    std::optional<QString> windir; // the windir environment variable, when set
    QString configHome;            // $XDG_CONFIG_HOME (or ~/.config)
    QString cacheHome;             // $XDG_CACHE_HOME (or ~/.cache)
    QString appDir;                // the executable's folder
};

// The places of the running process, from its environment.
StartupPlaces processPlaces();

// The root of the last removable volume, or "" when there is none.
QString FindCardDrive(const QList<MountedVolume>& volumes);

// The album file named by the first command-line argument, made absolute; a path still
// wrapped in double quotes is unwrapped. Nothing when it is not "*.vmb" (case-sensitive).
struct CommandLineAlbum {
    QString albfile;
    QString albtitle;
};
std::optional<CommandLineAlbum> albumFromArgument(const QString& argument);

// Sets cfgfile, apppath and maildir (creating the folders), reads the configuration, adds
// "Other ...", finds the memory card when none is remembered, settles the display settings
// and clears the album. With an album argument, puts it first in the list (row 0 selected)
// and returns true: the caller then opens it.
bool InitStore(Album& a, const StartupPlaces& places, const QList<MountedVolume>& volumes,
               const QString& albumArgument);

} // namespace vimbrel
