// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps an album to one session at a time: a lock file beside the album file
// (".NAME.vmb.lock", hidden). Another session, a second login or another machine on a shared
// drive, finds it held and opens the album read-only. A lock whose process is gone, or a
// file that names no process at all (empty, cut short, garbage), is stale and taken over.
// Where no lock can be made for another reason (a read-only medium) the album goes without
// one: the medium already keeps it from being changed.
//
// The lock is released when the object is destroyed, released or moved onto.

#include <QString>
#include <memory>

class QLockFile;

namespace vimbrel {

class AlbumLock {
public:
    enum class Outcome {
        Locked,        // this session holds the album
        HeldElsewhere, // another session holds it: open it read-only
        Unavailable,   // no lock can be made here; nobody else was seen holding one
    };

    AlbumLock();
    ~AlbumLock();
    AlbumLock(AlbumLock&&) noexcept;
    AlbumLock& operator=(AlbumLock&&) noexcept;

    // Releases what this object holds, then locks the album file `albfile` (which need not
    // exist yet: a new album is locked before it is written).
    Outcome lock(const QString& albfile);
    void release();
    bool isLocked() const { return m_lock != nullptr; }

    // The lock file of an album file, beside the file it really is, so that every path to
    // one album finds one lock.
    static QString lockPathFor(const QString& albfile);

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace vimbrel
