// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules of the image import without the window: what may be imported, what the copies are
// called, how one picture is copied, measured and checked, and where the window opens.
// Everything here but the capacity and numbering rules may run on any thread.

#include "album.h"
#include "picfolder.h"
#include "picturelibrary.h"

#include <QImage>
#include <QList>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

namespace vimbrel {

// The file list's pattern. ".jpeg" is listed too: cameras and phones write it; so are the
// formats that are converted on the way in (foreignformats.h).
QString importPattern();

// Album pictures plus Photo Box pictures plus `count` may not exceed maxpics.
bool capacityAllows(const Album& a, int count);
// The capacity message; the number keeps its blank in the sign position.
QString capacityText(int maxpics);

// `name` inside `folder`, with one slash between them.
QString inFolder(const QString& folder, const QString& name);

// The extension a copy of `sourceName` gets: lower case, "jpeg" stored as "jpg", so every
// name has 11 characters and the folder listing finds it; "jpg" for a format that is converted.
// Empty for other extensions.
QString importExtension(const QString& sourceName);

// Numbers of every vmbNNNN.* in `picdir`, whatever the extension and letter case: a copy must
// never land on one of them, and leaving without saving removes vmbNNNN.* by number.
QSet<int> numbersOnDisk(const QString& picdir);
// Numbers no copy may take: those on disk and those a record names (its file may be gone).
QSet<int> numbersTaken(const Album& a);

// The lowest number free in fileused and not in `taken`, marked used (fileused only); 0 when
// none is left. Taken numbers are marked used on the way, as a folder listing would.
int takeFileNum(Album& a, const QSet<int>& taken);

struct CopyOutcome {
    enum Kind {
        Copied,
        Exists,       // the target is there already; nothing was written
        SourceFailed, // the source cannot be read: it counts as a picture that cannot load
        TargetFailed, // the copy cannot be written; a partial target has been removed
    } kind = Copied;
    QString error; // the system's text
};
// Opens a source to read without blocking (a pipe or device named like a picture must never
// hang the import) and only when it is a regular file, by the name's bytes (filenames.h).
// -1 with the system's text, or a text of its own for pipes and devices, in `error`.
int openSource(const QString& path, QString* error);

// The picture's size as shown (EXIF orientation applied) from the header of the open file,
// with the sides checked as measurePicture() does: a file that is no picture fails here,
// before anything is copied.
PictureLibrary::Measure measureHeader(int fd);

// Copies with copy_file_range, or large buffers where the file system cannot; creates the
// target exclusively, so an existing file is never overwritten. Nothing is flushed to disk:
// syncing every file would cost several times the copy.
CopyOutcome copyPicture(const QString& source, const QString& target);
// The same from a source opened with openSource(), read from its start.
CopyOutcome copyPicture(int source, const QString& target);

// Flushes `target` to disk, then compares it with `source` byte for byte. Only a copy that
// passes may stand in for its source.
bool verifyCopy(const QString& source, const QString& target);
bool verifyCopy(int source, const QString& target);
// Flushes a folder's entries (new files' names) to disk.
bool syncFolder(const QString& folder);

// Which file a source was, and in what state, when its copy was checked.
struct FileState {
    quint64 dev = 0;
    quint64 ino = 0;
    qint64 size = -1;
    qint64 mtimeNs = 0;
    bool operator==(const FileState&) const = default;
};
FileState fileState(int fd);
FileState fileState(const QString& path); // not following a final link; size -1 when missing

// Deletes a verified source, never a file of the album's picture folder (however it is
// reached), never the copy itself, and only while the name still holds the file, unchanged,
// that was `checked`. Returns whether it was deleted.
bool deleteSource(const QString& source, const QString& target, const PictureFolder& picdir,
                  const FileState& checked);

// Decodes the picture at reduced scale (a damaged file fails here, not later) and fills the
// disk thumbnail tier from the same decode. Sizes are 16-bit in the album: a side above 32767
// pixels is refused with an error like any unreadable picture.
PictureLibrary::Measure measurePicture(PictureLibrary& pictures, const QString& path);

// The open picture decoded at `size` (as shown), for a preview of a source whose name the
// picture library cannot open; null when it cannot be read.
QImage decodeSource(int fd, QSize size);

// The folders the window tries to open, in order: the memory-card folder, a removable volume
// mounted now (a card put in after start-up counts too), then `fallback`. Empty ones and
// repeats are left out.
QStringList openingFolders(const QString& carddir, const QList<MountedVolume>& volumes,
                           const QString& fallback);

} // namespace vimbrel
