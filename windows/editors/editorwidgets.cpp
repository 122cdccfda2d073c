// SPDX-License-Identifier: GPL-3.0-or-later
#include "editorwidgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace vimbrel {

QString editorButtonStyle() {
    return QStringLiteral(
        "QPushButton { background: #f1ebe0; color: #3b2a1a; border: 1px solid #b8a88f;"
        "  border-radius: 4px; padding: 4px 10px; }"
        "QPushButton:hover { background: #f8f3ea; }"
        "QPushButton:pressed { background: #d9ceba; }"
        "QPushButton:disabled { background: #ece4d6; color: #9a8a78; border-color: #d9ceba; }"
        "QPushButton:focus { border: 2px solid #1e5aa8; }");
}

GroupMarker::GroupMarker(int index, bool top, QWidget* parent)
    : QWidget(parent), m_index(index), m_top(top),
      m_colour(QColor::fromRgb(editorcolours::marker)) {
    setCursor(Qt::PointingHandCursor);
}

void GroupMarker::setColour(QColor c) {
    if (c == m_colour)
        return;
    m_colour = c;
    update();
}

void GroupMarker::paintEvent(QPaintEvent*) {
    // A tab pointing at the bar: flat on the far side, a point towards the group's extent.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal tip = std::min<qreal>(4.0, r.height() / 3);
    QPainterPath path;
    if (m_top) {
        path.moveTo(r.topLeft());
        path.lineTo(r.topRight());
        path.lineTo(r.right(), r.bottom() - tip);
        path.lineTo(r.center().x(), r.bottom());
        path.lineTo(r.left(), r.bottom() - tip);
    } else {
        path.moveTo(r.bottomLeft());
        path.lineTo(r.bottomRight());
        path.lineTo(r.right(), r.top() + tip);
        path.lineTo(r.center().x(), r.top());
        path.lineTo(r.left(), r.top() + tip);
    }
    path.closeSubpath();
    p.setPen(QPen(QColor::fromRgb(editorcolours::brown), 1));
    p.setBrush(m_colour);
    p.drawPath(path);
}

void GroupMarker::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton)
        emit pressed(m_index);
}

GroupStrip::GroupStrip(QWidget* parent) : QWidget(parent) {}

void GroupStrip::setScale(int gbase, int unit, int markerWidth) {
    m_gbase = gbase;
    m_unit = unit;
    m_markerWidth = markerWidth;
    update();
}

void GroupStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor::fromRgb(0xc4b193), 1));
    p.setBrush(QColor::fromRgb(editorcolours::well));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.setBrush(QColor::fromRgb(editorcolours::groove));
    p.setPen(Qt::NoPen);
    const int x0 = m_gbase + m_unit, x1 = m_gbase + 500 * m_unit;
    p.drawRoundedRect(QRectF(x0, grooveTop, x1 - x0, grooveHeight), 2, 2);

    // Frame numbers every 100 frames, ticks every 50, centred on the marker of that frame.
    QFont f = font();
    f.setPointSizeF(7.5);
    p.setFont(f);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int frame = 0; frame <= 1000; frame += 50) {
        const int x = m_gbase + (frame / 2) * m_unit - m_markerWidth / 2;
        const bool major = frame % 100 == 0;
        p.setPen(QColor::fromRgb(major ? editorcolours::label : 0xb8a586));
        p.drawLine(x, 15, x, major ? 21 : 19);
        if (major) {
            p.drawText(QRect(x - 20, 1, 40, 13), Qt::AlignHCenter | Qt::AlignBottom,
                       QString::number(frame));
        }
    }
}

} // namespace vimbrel
