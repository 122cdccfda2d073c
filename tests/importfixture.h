// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The writable album TRIP in a temporary folder that pictures are imported into.

#include "albumfixture.h"
#include "picturelibrary.h"

#include <QDir>
#include <QTemporaryDir>

namespace vimbrel::test {

struct ImportAlbum {
    QTemporaryDir tmp;
    Fixture f;
    Album& a = f.a;
    PictureLibrary pictures{tmp.filePath(QStringLiteral("thumbs")), 16 << 20};

    ImportAlbum() {
        a.albname = QStringLiteral("TRIP");
        a.albtitle = QStringLiteral("TRIP.vmb");
        a.albfile = tmp.filePath(QStringLiteral("TRIP.vmb"));
        a.picdir = tmp.filePath(QStringLiteral("TRIP/"));
        a.cfgfile = tmp.filePath(QStringLiteral("vimbra.cfg"));
        a.cfglist.append(AlbumList::other, AlbumList::other);
        a.canwrite = 'Y';
        QDir().mkpath(a.picdir);
    }

    QStringList copies() const { return QDir(a.picdir).entryList(QDir::Files, QDir::Name); }
};

// "a b c" as a list, to keep file lists short.
inline QStringList names(const char* spaced) {
    return QString::fromLatin1(spaced).split(QLatin1Char(' '));
}

} // namespace vimbrel::test
