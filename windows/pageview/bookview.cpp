// SPDX-License-Identifier: GPL-3.0-or-later
#include "bookview.h"

#include <QCoreApplication>

#include "bookart.h"

#include <QDragEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace vimbrel {

BookView::BookView(QWidget* parent) : QWidget(parent) {}

void BookView::setPicture(const QPixmap& p) {
    m_picture = p;
    update();
}

void BookView::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, m_picture);
}

LeafOverlay::LeafOverlay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void LeafOverlay::setStep(int step) {
    m_step = step >= 1 && step <= 5 ? step : 0;
    setVisible(m_step != 0);
    if (m_step)
        raise();
    update();
}

void LeafOverlay::renderFrames() {
    // Drawn once per size, so a tick of the turn only copies pixels.
    if (m_rendered == size())
        return;
    m_rendered = size();
    for (int s = 1; s <= 5; ++s)
        m_frames[s] = leafPixmap(size(), devicePixelRatioF(), s);
}

void LeafOverlay::resizeEvent(QResizeEvent*) {
    renderFrames();
}

void LeafOverlay::paintEvent(QPaintEvent*) {
    if (m_step)
        QPainter(this).drawPixmap(0, 0, m_frames[m_step]);
}

PageArrow::PageArrow(bool right, QWidget* parent) : QWidget(parent), m_right(right) {
    setFixedSize(44, 40);
    setCursor(Qt::PointingHandCursor);
    setAcceptDrops(true);
    setToolTip(right ? QCoreApplication::translate("phpage", "Next pages")
                     : QCoreApplication::translate("phpage", "Previous pages"));
}

void PageArrow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!m_right) {
        p.translate(width(), 0);
        p.scale(-1, 1);
    }
    // A dog-eared page corner with an arrow on it.
    QPainterPath corner;
    corner.moveTo(width() - 2, 6);
    corner.lineTo(width() - 2, height() - 2);
    corner.lineTo(8, height() - 2);
    corner.closeSubpath();
    p.setPen(QPen(QColor(150, 120, 84), 1));
    p.setBrush(m_hover ? QColor(240, 214, 160) : QColor(232, 218, 190));
    p.drawPath(corner);
    QPainterPath arrow;
    const qreal cx = width() - 14, cy = height() - 13;
    arrow.moveTo(cx - 9, cy - 4);
    arrow.lineTo(cx, cy - 4);
    arrow.lineTo(cx, cy - 9);
    arrow.lineTo(cx + 8, cy);
    arrow.lineTo(cx, cy + 9);
    arrow.lineTo(cx, cy + 4);
    arrow.lineTo(cx - 9, cy + 4);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(m_hover ? QColor(176, 60, 28) : QColor(122, 74, 42));
    p.drawPath(arrow);
}

void PageArrow::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

void PageArrow::enterEvent(QEnterEvent*) {
    m_hover = true;
    update();
}

void PageArrow::leaveEvent(QEvent*) {
    m_hover = false;
    update();
}

void PageArrow::dragEnterEvent(QDragEnterEvent* e) {
    e->ignore(); // no drop here: the page turns and the drag goes on
    emit dragEntered();
}

} // namespace vimbrel
