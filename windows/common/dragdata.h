// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a drag between the page view and the Photo Box carries: the name of the control it
// started from, "pb" (a page frame) or "fs" (the Photo Box strip). The model says the rest
// (dragsrc, the selections), since both windows share it. Files dragged in from outside come
// as a uri-list.

#include "artwork.h"
#include "filenames.h"

#include <QDrag>
#include <QMimeData>
#include <QString>
#include <QStringList>
#include <QSysInfo>
#include <QUrl>

namespace vimbrel {

inline const QString dragMimeType = QStringLiteral("application/x-vimbrel-drag");

inline QMimeData* makeDragData(const QString& source) {
    auto* m = new QMimeData;
    m->setData(dragMimeType, source.toLatin1());
    return m;
}

// "pb", "fs", or "" when the drag is not one of ours.
inline QString dragSource(const QMimeData* m) {
    return m && m->hasFormat(dragMimeType) ? QString::fromLatin1(m->data(dragMimeType)) : QString();
}

// The local files and folders a drag from outside carries (a file manager's text/uri-list), as
// file name text (filenames.h): a name that is not UTF-8 keeps its bytes. Empty for a drag of
// ours and for other addresses.
inline QStringList droppedFiles(const QMimeData* m) {
    QStringList out;
    if (!m || m->hasFormat(dragMimeType) || !m->hasUrls())
        return out;
    for (const QUrl& url : m->urls()) {
        // A file of another machine (file://host/...) has a path that may name a file here.
        const QString host = url.host();
        if (!url.isLocalFile() ||
            !(host.isEmpty() ||
              host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
              host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0))
            continue;
        // From the encoded path, so the bytes of the name survive.
        const QByteArray bytes =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (!bytes.isEmpty())
            out.append(nameText(bytes));
    }
    return out;
}

// A drag carrying one photo (dragico) or several (draggrpico). A target that would take the
// drop answers with the move action and the pointer shows dropico; one that would refuse it
// (but still hears of the drop) answers with the copy action and the pointer shows the
// carried picture. Start it with exec(Qt::MoveAction | Qt::CopyAction).
inline QDrag* makeDrag(QObject* source, const QString& name, bool several) {
    auto* d = new QDrag(source);
    d->setMimeData(makeDragData(name));
    const QPixmap carried = artworkPixmap(
        several ? QStringLiteral("draggrpico") : QStringLiteral("dragico"), QSize(32, 32), 1.0);
    d->setDragCursor(artworkPixmap(QStringLiteral("dropico"), QSize(32, 32), 1.0), Qt::MoveAction);
    d->setDragCursor(carried, Qt::CopyAction);
    d->setDragCursor(carried, Qt::IgnoreAction);
    return d;
}

} // namespace vimbrel
