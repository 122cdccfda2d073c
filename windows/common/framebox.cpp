// SPDX-License-Identifier: GPL-3.0-or-later
#include "framebox.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vimbrel {

FrameBox::FrameBox(int index, QWidget* parent) : QWidget(parent), m_index(index) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Frame %1").arg(index + 1));
}

void FrameBox::focusInEvent(QFocusEvent* e) {
    update();
    QWidget::focusInEvent(e);
}
void FrameBox::focusOutEvent(QFocusEvent* e) {
    update();
    QWidget::focusOutEvent(e);
}

bool repeatedToggle(const QKeyEvent* e) {
    if (!e->isAutoRepeat())
        return false;
    switch (e->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_B:
        return true;
    default:
        return false;
    }
}

// The focus frame: blue with a white inner line, readable on a picture and on the page.
void drawFocusFrame(QPainter& p, const QRect& r) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 90, 168), 3));
    p.drawRect(QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5));
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(QRectF(r).adjusted(3.5, 3.5, -3.5, -3.5));
}

void FrameBox::setPicture(const QPixmap& p) {
    m_picture = p;
    update();
}

void FrameBox::clearPicture() {
    m_picture = QPixmap();
    update();
}

void FrameBox::setOccupied(bool occupied) {
    if (m_occupied != occupied) {
        m_occupied = occupied;
        update();
    }
}

void FrameBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_picture.isNull()) {
        p.drawPixmap(0, 0, m_picture);
        if (hasFocus())
            drawFocusFrame(p, rect());
        return;
    }
    // An empty frame: a faint photo corner outline on the page, so the grid reads as places.
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5);
    p.setPen(QPen(QColor(176, 150, 118, m_occupied ? 200 : 110), 1, Qt::DashLine));
    p.setBrush(QColor(255, 255, 255, m_occupied ? 60 : 25));
    p.drawRoundedRect(r, 3, 3);
    if (hasFocus())
        drawFocusFrame(p, rect());
}

void FrameBox::mousePressEvent(QMouseEvent* e) {
    emit mousePressed(m_index, e->button(), e->position().toPoint());
}
void FrameBox::mouseReleaseEvent(QMouseEvent* e) {
    emit mouseReleased(m_index, e->button(), e->position().toPoint());
}
void FrameBox::mouseMoveEvent(QMouseEvent* e) {
    emit mouseMoved(m_index, e->buttons(), e->position().toPoint());
}
void FrameBox::mouseDoubleClickEvent(QMouseEvent*) {
    emit doubleClicked(m_index);
}

SelectionOutline::SelectionOutline(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SelectionOutline::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(QColor(208, 40, 32), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

} // namespace vimbrel
