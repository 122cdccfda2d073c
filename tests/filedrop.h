// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files from a file manager dropped onto a widget, as the drag's enter and drop events.

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace vimbrel::test {

// Whether the drop was taken, as a copy (files from outside are never moved).
inline bool dropFiles(QWidget* target, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls.append(QUrl::fromLocalFile(p));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent e(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                 Qt::NoModifier);
    QApplication::sendEvent(target, &e);
    return e.isAccepted() && e.dropAction() == Qt::CopyAction;
}

} // namespace vimbrel::test
