// SPDX-License-Identifier: GPL-3.0-or-later
#include "pboxwidgets.h"

#include <QCoreApplication>

#include "framebox.h"

#include "dragdata.h"
#include "windowhub.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

namespace vimbrel {

DropZone::DropZone(int index, QStringList sources, QWidget* parent)
    : QWidget(parent), m_index(index), m_sources(std::move(sources)) {
    setAcceptDrops(true);
    setMouseTracking(true);
}

void DropZone::dragEnterEvent(QDragEnterEvent* e) {
    // Accepting shows the drag's drop picture (dropico) while it is over this place.
    if (m_sources.contains(dragSource(e->mimeData())))
        e->acceptProposedAction();
}

void DropZone::dragMoveEvent(QDragMoveEvent* e) {
    if (m_sources.contains(dragSource(e->mimeData())))
        e->acceptProposedAction();
}

void DropZone::dropEvent(QDropEvent* e) {
    const QString source = dragSource(e->mimeData());
    if (!m_sources.contains(source))
        return;
    e->acceptProposedAction();
    emit dropped(m_index, source);
}

StripBox::StripBox(int index, QWidget* parent)
    : DropZone(index, {QStringLiteral("pb"), QStringLiteral("fs")}, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void StripBox::focusInEvent(QFocusEvent* e) {
    update();
    DropZone::focusInEvent(e);
}
void StripBox::focusOutEvent(QFocusEvent* e) {
    update();
    DropZone::focusOutEvent(e);
}

void StripBox::setPicture(const QPixmap& p) {
    m_picture = p;
    update();
}

void StripBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // A sunken well, so an empty position still reads as a place for a picture.
    p.setPen(QPen(QColor(0xb8, 0x9d, 0x7a), 1));
    p.setBrush(QColor(boxcolours::well));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    if (!m_picture.isNull())
        p.drawPixmap(0, 0, m_picture);
    if (hasFocus())
        drawFocusFrame(p, rect());
}

void StripBox::mousePressEvent(QMouseEvent* e) {
    emit pressed(index(), e->button());
}

RollArea::RollArea(QWidget* parent)
    : DropZone(BoxPosition::append, {QStringLiteral("pb")}, parent) {
    setToolTip(QCoreApplication::translate(
        "pbox", "Drop photos here to put them at the end of the Photo Box"));
}

void RollArea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor brown(boxcolours::brown);
    p.setPen(QPen(QColor(brown.red(), brown.green(), brown.blue(), 120), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 4, 4);
    // An arrow into a tray: "put it at the end".
    const QPointF c = QRectF(rect()).center();
    p.setPen(QPen(brown, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(c.x(), c.y() - 14), QPointF(c.x(), c.y() + 2));
    p.drawPolyline(QPolygonF({{c.x() - 5, c.y() - 3}, {c.x(), c.y() + 2}, {c.x() + 5, c.y() - 3}}));
    p.drawPolyline(QPolygonF({{c.x() - 8, c.y() + 4},
                              {c.x() - 8, c.y() + 10},
                              {c.x() + 8, c.y() + 10},
                              {c.x() + 8, c.y() + 4}}));
}

BoxButton::BoxButton(Glyph glyph, QWidget* parent) : QWidget(parent), m_glyph(glyph) {
    setFixedSize(19, 19);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void BoxButton::setHot(bool hot) {
    if (m_hot != hot) {
        m_hot = hot;
        update();
    }
}

void BoxButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(m_hot ? boxcolours::hover : boxcolours::strip));
    p.setRenderHint(QPainter::Antialiasing);
    const QColor brown(boxcolours::brown);
    p.setPen(QPen(brown, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (m_glyph) {
    case SelectAll: // two stacked frames with a tick
        p.drawRect(QRectF(3.5, 5.5, 9, 9));
        p.drawPolyline(QPolygonF({{5.5, 3.5}, {15.5, 3.5}, {15.5, 12.5}}));
        p.drawPolyline(QPolygonF({{5.5, 10}, {7.5, 12.5}, {11, 7.5}}));
        break;
    case Delete: // a bin
        p.drawLine(QPointF(4, 5.5), QPointF(15, 5.5));
        p.drawLine(QPointF(7.5, 3.5), QPointF(11.5, 3.5));
        p.drawPolyline(QPolygonF({{5.5, 6}, {6.5, 15.5}, {12.5, 15.5}, {13.5, 6}}));
        p.drawLine(QPointF(8, 8), QPointF(8.3, 13.5));
        p.drawLine(QPointF(11, 8), QPointF(10.7, 13.5));
        break;
    case Hide: // a bar at the bottom
        p.drawLine(QPointF(5, 13.5), QPointF(14, 13.5));
        break;
    }
}

void BoxButton::mouseMoveEvent(QMouseEvent* e) {
    setHot(inHotSquare(e->position().toPoint()));
}

void BoxButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

void BoxButton::leaveEvent(QEvent*) {
    setHot(false);
}

BoxFrame::BoxFrame(QWidget* parent) : QFrame(parent) {
    setMouseTracking(true);
}

void BoxFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(boxcolours::strip));
    p.setPen(QPen(QColor(boxcolours::brown), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    // A grip of dots at the left end of the title line: this is where the window is held.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb8, 0x9d, 0x7a));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c)
            p.drawEllipse(QPointF(10.5 + c * 4, 12.5 + r * 4), 1.2, 1.2);
}

void BoxFrame::mouseMoveEvent(QMouseEvent* e) {
    if ((e->buttons() & Qt::LeftButton) && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
    QFrame::mouseMoveEvent(e);
}

StripScrollBar::StripScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

void StripScrollBar::paintEvent(QPaintEvent* e) {
    QScrollBar::paintEvent(e);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(boxcolours::brown));
    const qreal cy = height() / 2.0;
    const qreal l = 7, r = width() - 7.0;
    p.drawPolygon(QPolygonF({{l - 2.5, cy}, {l + 2, cy - 4}, {l + 2, cy + 4}}));
    p.drawPolygon(QPolygonF({{r + 2.5, cy}, {r - 2, cy - 4}, {r - 2, cy + 4}}));
}

} // namespace vimbrel
