// SPDX-License-Identifier: GPL-3.0-or-later
// The page view's drag and drop: page photos moved, swapped and put aside, Photo Box pictures
// placed on the pages, pages turned by hovering over an arrow, files dropped from outside.

#include "dragdata.h"
#include "pagedrop.h"
#include "pagelogic.h"
#include "phpage.h"
#include "ui.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QTimer>

namespace vimbrel {

void phpage::pb_MouseDown(int k, Qt::MouseButton button) {
    m_dragArmed = false;
    m_a.curslot = static_cast<Integer>(k);
    m_a.dragsrc = m_a.pgframes[k];
    if (m_a.dragsrc < 1 || m_a.frames[m_a.dragsrc] < 1)
        return;
    if (button != Qt::LeftButton) {
        ClearPboxSel(m_a);
        frsel[k]->setVisible(togglePhoto(m_a, m_a.dragsrc));
        setSelCount(m_a.nsel);
        Set_it(SetItCode::selectionChanged);
        Set_it(SetItCode::spreadChanged);
        return;
    }
    if (m_a.canwrite != 'Y')
        return;
    if (m_a.nsel == 0) {
        ClearPboxSel(m_a);
        frsel[k]->show();
    }
    // The drag itself starts once the mouse moves, so clicks and double clicks stay clicks.
    m_dragArmed = pressPhoto(m_a, m_a.dragsrc);
    setSelCount(m_a.nsel);
}

void phpage::pb_MouseMove(int k, Qt::MouseButtons buttons, QPoint pos) {
    if (!m_dragArmed || !(buttons & Qt::LeftButton) || k != m_a.curslot ||
        (pos - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragArmed = false;
    pb_DragStart(k);
    QDrag* drag = makeDrag(pb[k], QStringLiteral("pb"), m_a.nsel != 1);
    if (!m_pbhold.isNull())
        drag->setPixmap(m_pbhold.scaled(m_pbhold.size() / 2));
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::CopyAction);
}

void phpage::pb_DragStart(int k) {
    m_a.framepage = m_a.curpage;
    m_pbhold = pb[k]->picture();
    m_holdPending = m_wanted[k].has_value(); // m_pbhold is only the empty frame
    m_dragcap = ibn[k]->text();
    m_a.nfree = 0;
}

void phpage::pb_DblClick(int k) {
    m_dragArmed = false;
    const bool boxVisible = m_hub.photoBoxVisible();
    m_hub.setPhotoBoxVisible(false);
    m_a.dragsrc = m_a.pgframes[k];
    if (m_a.dragsrc >= 1 && m_a.frames[m_a.dragsrc] > 0) {
        m_a.slidesrc = QStringLiteral("Pic");
        m_hub.showSlideShow();
    }
    m_hub.setPhotoBoxVisible(boxVisible);
}

bool phpage::pb_KeyPress(int k, int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const char dir = key == Qt::Key_Left    ? 'L'
                         : key == Qt::Key_Right ? 'R'
                         : key == Qt::Key_Up    ? 'U'
                                                : 'D';
        std::array<QRect, 24> frames;
        std::array<bool, 24> shown{};
        for (int j = 0; j < 24; ++j) {
            frames[j] = pb[j]->geometry();
            shown[j] = pb[j]->isVisible();
        }
        const int next = neighbourFrame(frames, shown, k, dir);
        if (next >= 0)
            pb[next]->setFocus(Qt::OtherFocusReason);
        else if (dir == 'L')
            pgleft_Click();
        else if (dir == 'R')
            pgright_Click();
        return true;
    }
    case Qt::Key_Space:
        pb_MouseDown(k, Qt::RightButton);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pb_DblClick(k);
        return true;
    case Qt::Key_B:
        pb_ToBox(k);
        return true;
    default:
        return false;
    }
}

void phpage::pb_ToBox(int k) {
    const Integer f = m_a.pgframes[k];
    if (m_a.canwrite != 'Y' || f < 1 || m_a.frames[f] < 1)
        return;
    // The photo with the focus goes with the selection it belongs to, or alone.
    if (m_a.pics[m_a.frames[f]].psel != 0 && m_a.nsel > 0)
        SetAllSel(m_a, -1);
    pb_MouseDown(k, Qt::LeftButton);
    m_dragArmed = false;
    if (m_a.pics[m_a.frames[f]].psel != 0)
        return;
    pb_DragStart(k);
    m_hub.fs_DragDrop(BoxPosition::append);
    setSelCount(m_a.nsel);
    Set_it(SetItCode::selectionChanged);
}

// Whether a drop of `source` on position k would be taken (the pointer shows dropico).
bool phpage::dropWelcome(int k, const QString& source) {
    const Integer f = m_a.pgframes[k];
    if (f < 1)
        return false;
    const int count = source == QLatin1String("fs") ? m_a.pbsel : m_a.nsel;
    if (source != QLatin1String("fs") &&
        (dropStartedHere(m_a, k) || (m_a.frames[f] > 0 && m_a.nsel >= 2)))
        return false;
    CountFree(m_a, f);
    return !(count != 1 && m_a.nfree < count);
}

void phpage::pb_DragDrop(int k, const QString& source) {
    const bool boxVisible = m_hub.photoBoxVisible();
    m_a.curframe = m_a.pgframes[k];
    if (m_a.curframe < 1)
        return;
    const bool occupied = m_a.frames[m_a.curframe] > 0;

    if (source != QLatin1String("fs")) {
        if (dropStartedHere(m_a, k)) {
        } else if (occupied) {
            if (m_a.nsel == 1) {
                swapFrames(m_a);
                // Both pictures are already drawn: they change places on the screen.
                if (m_a.curpage == m_a.framepage) {
                    pb[m_a.curslot]->setPicture(pb[k]->picture());
                    ibn[m_a.curslot]->setText(ibn[k]->text());
                }
                pb[k]->setPicture(m_pbhold);
                ibn[k]->setText(m_dragcap);
                // A picture still on its way would land in the frame it left.
                if (m_holdPending || m_wanted[k]) {
                    if (m_a.curpage == m_a.framepage)
                        drawFrame(m_a.curslot, m_a.pgframes[m_a.curslot]);
                    drawFrame(k, m_a.curframe);
                    requestPictures();
                }
            }
        } else if (m_a.nsel != 1) {
            if (moveSelectedRun(m_a)) {
                DispPage(m_a.curpage);
                DispPage(m_a.curpage + 1);
            }
        } else {
            moveOne(m_a);
            pb[k]->setPicture(m_pbhold);
            pb[k]->setOccupied(true);
            ibn[k]->setText(m_dragcap);
            if (m_a.curpage == m_a.framepage)
                clearPagePosition(m_a.curslot);
            if (m_holdPending)
                drawFrame(k, m_a.curframe);
            requestPictures();
        }
        SetAllSel(m_a, -1);
        return;
    }

    m_a.curslot = static_cast<Integer>(k);
    if (occupied) {
        if (m_a.pbsel == 1) {
            m_hub.setPhotoBoxVisible(false);
            if (m_a.ui->message(QCoreApplication::translate("phpage", "Add/Replace Photo"),
                                QCoreApplication::translate("phpage", "Replace Photo?"),
                                MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes) {
                replaceFromBox(m_a);
                DispPage(DispPageCode::oneFrame);
                m_hub.LoadFS(LoadFSCode::position(m_a.dragsrc - m_a.pbtop));
            }
            m_hub.setPhotoBoxVisible(boxVisible);
        }
        ClearPboxSel(m_a);
        return;
    }
    CountFree(m_a, m_a.curframe);
    if (m_a.nfree < m_a.pbsel) {
        ClearPboxSel(m_a);
        return;
    }
    const int n = m_a.pbsel;
    // Taken out of the box before they join the album: in a full album the first free album
    // slot is the box's first slot.
    const QList<PicRec> pictures = boxSelection(m_a);
    m_hub.DeletePbox();
    placeInFrames(m_a, pictures);
    if (n == 1) {
        DispPage(DispPageCode::oneFrame);
    } else {
        if (k < 12)
            DispPage(m_a.curpage);
        DispPage(m_a.curpage + 1);
    }
    showPhotoCount(m_a.grps[m_a.curgrp].gcount);
    ClearPboxSel(m_a);
}

void phpage::clearPagePosition(int k) {
    m_wanted[k].reset();
    pb[k]->clearPicture();
    pb[k]->setOccupied(false);
    ibn[k]->clear();
    frsel[k]->hide();
}

// Files from a file manager: taken by the Photo Box tool and by an empty frame of a writable
// album. The import runs once the drop has ended, so the file manager is not kept waiting
// while it asks questions and shows its progress.
void phpage::fileDragEvent(QObject* o, QDropEvent* d) {
    const QStringList paths = droppedFiles(d->mimeData());
    int k = -1;
    if (o != it[4]) {
        for (k = 0; k < 24 && o != pb[k]; ++k) {
        }
        const Integer f = k < 24 ? m_a.pgframes[k] : Integer(0);
        if (f < 1 || m_a.frames[f] > 0)
            k = 24;
    }
    if (paths.isEmpty() || m_a.canwrite != 'Y' || k >= 24) {
        d->ignore();
        return;
    }
    d->setDropAction(Qt::CopyAction);
    d->accept();
    if (d->type() != QEvent::Drop)
        return;
    // The frame itself, not its position: the leaf may turn while the import runs.
    const Integer f = k >= 0 ? m_a.pgframes[k] : Integer(0);
    QTimer::singleShot(0, this, [this, paths, f] { importFiles(paths, f); });
}

void phpage::importFiles(const QStringList& paths, int f) {
    const Integer group = m_a.curgrp;
    ClearPboxSel(m_a);
    const int n = m_hub.importDropped(paths);
    if (n < 1)
        return;
    if (f < 1 || m_a.curgrp != group || !landsInFrames(m_a, f, n)) {
        m_hub.setPhotoBoxVisible(true);
        return;
    }
    selectBoxTail(m_a, n);
    const QList<PicRec> pictures = boxSelection(m_a);
    m_hub.DeletePbox();
    m_a.curframe = static_cast<Integer>(f);
    placeInFrames(m_a, pictures);
    ClearPboxSel(m_a);
    showPhotoCount(m_a.grps[m_a.curgrp].gcount);
    // A turning leaf shows the new spread when it ends.
    if (!pgtimer.isActive()) {
        DispPage(m_a.curpage);
        DispPage(m_a.curpage + 1);
    }
}

// Drag events of the frames and of the Photo Box tool, caught here so the rules stay in one
// place.
bool phpage::dragEvent(QObject* o, QEvent* e) {
    const auto type = e->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto* d = static_cast<QDropEvent*>(e);
    const QString source = dragSource(d->mimeData());
    if (source.isEmpty()) {
        fileDragEvent(o, d);
        return true;
    }
    if (o == it[4]) {
        if (source != QLatin1String("pb")) {
            e->ignore();
            return true;
        }
        d->setDropAction(Qt::MoveAction);
        d->accept();
        if (type == QEvent::Drop)
            m_hub.fs_DragDrop(BoxPosition::append);
        return true;
    }
    for (int k = 0; k < 24; ++k) {
        if (o != pb[k])
            continue;
        if (type == QEvent::DragEnter)
            m_dropAction = dropWelcome(k, source) ? Qt::MoveAction : Qt::CopyAction;
        d->setDropAction(m_dropAction);
        d->accept();
        if (type == QEvent::Drop)
            pb_DragDrop(k, source);
        return true;
    }
    return false;
}

} // namespace vimbrel
