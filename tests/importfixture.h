// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The writable album TRIP in a temporary folder that pictures are imported into.

#include "albumfixture.h"
#include "picturefiles.h"
#include "picturelibrary.h"
#include "scriptedui.h"
#include "windowhub.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vimbrel::test {

struct ImportAlbum {
    QTemporaryDir tmp;
    Fixture f;
    Album& a = f.a;
    ScriptedUi& ui = f.ui;
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

// The Photo Box's append as the import windows see it: where, and how many pictures.
struct CountingHub : WindowHub {
    Album& a;
    QStringList calls;
    explicit CountingHub(Album& album) : a(album) {}
    void AddToFS(int pos) override {
        calls.append(QStringLiteral("AddToFS %1 nimps %2").arg(pos).arg(a.nimps));
    }
};

// An old card's Latin-1 name, 80 x 60, beside the UTF-8 name a lossy decoding turns it into,
// 40 x 30, both in `folder`. QTemporaryDir cannot remove the Latin-1 one: the caller does.
struct LossyNames {
    QByteArray latin1 = "M\xfcller.jpg";
    QByteArray lookAlike = QString::fromUtf8(latin1).toUtf8(); // U+FFFD for the byte
    explicit LossyNames(const QString& folder) {
        const QByteArray at = QFile::encodeName(folder) + '/';
        writeFileAt(at + lookAlike, jpegBytes(markedPicture(40, 30)));
        writeFileAt(at + latin1, jpegBytes(markedPicture(80, 60)));
    }
};

// "a b c" as a list, to keep file lists short.
inline QStringList names(const char* spaced) {
    return QString::fromLatin1(spaced).split(QLatin1Char(' '));
}

} // namespace vimbrel::test
