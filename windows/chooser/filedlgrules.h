// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules behind the album file dialog (New, Open, Rename), without the window. Each
// confirm function shows its own messages and says whether the dialog closes and where the
// focus goes when it stays.

#include "album.h"

namespace vimbrel {

enum class DlgMode { New, Open, Rename };

// Letters, digits, "+", "-" and "_": what an album name may hold (at most 8 of them).
bool nameKeyAccepted(QChar c);
constexpr int maxNameLength = 8;
// Whether `name` could have been typed into the name box: put there, it stays whole.
bool nameFits(const QString& name);
constexpr int maxDescLength = 40;

struct DlgOutcome {
    enum Focus { None, Name, Desc };
    bool close = false;
    Focus focus = None;
};

// New and Open: `folder` is the folder the dialog shows. Open reads iname + ".vmb".
DlgOutcome confirmNewOrOpen(Album& a, DlgMode mode, const QString& caption, const QString& iname,
                            const QString& idesc, const QString& folder);
// Open of the file picked in the list, `fileName` exactly as it is named there (of any
// length, any characters, ".VMB" too), in `folder`.
DlgOutcome confirmOpen(Album& a, const QString& caption, const QString& fileName,
                       const QString& folder);

// The album being renamed: the open one (albfile), whichever row is selected.
struct RenameSource {
    QString oldfile; // TRIP.vmb
    QString olddir;  // folder holding it, no trailing "/"
    QString oldname; // TRIP
};
RenameSource renameSource(const Album& a);

DlgOutcome confirmRename(Album& a, const QString& caption, const QString& iname,
                         const RenameSource& src);

} // namespace vimbrel
