// SPDX-License-Identifier: GPL-3.0-or-later
#include "bookart.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace vimbrel {
namespace {

constexpr int kCover = 10; // leather showing around the pages

QPixmap sheet(QSize size, qreal dpr) {
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

QRect leftPageRect(QSize size) {
    return QRect(kCover, kCover - 2, size.width() / 2 - kCover, size.height() - 2 * kCover + 2);
}

QPixmap bookPixmap(QSize size, qreal dpr) {
    QPixmap pm = sheet(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all(0, 0, size.width(), size.height());

    // Cover
    QLinearGradient leather(all.topLeft(), all.bottomLeft());
    leather.setColorAt(0, QColor(122, 74, 42));
    leather.setColorAt(1, QColor(92, 52, 28));
    p.setPen(QPen(QColor(64, 36, 18), 1.5));
    p.setBrush(leather);
    p.drawRoundedRect(all.adjusted(0.75, 0.75, -0.75, -0.75), 9, 9);
    p.setPen(QPen(QColor(214, 172, 120, 150), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(all.adjusted(4.5, 4.5, -4.5, -4.5), 6, 6);

    // Pages, each with a hint of the pages under it and shading towards the gutter.
    const QRectF left = leftPageRect(size);
    const QRectF right(size.width() / 2.0, left.top(), left.width(), left.height());
    for (const QRectF& page : {left, right}) {
        const bool isLeft = page.left() < size.width() / 2.0;
        for (int i = 3; i >= 1; --i) {
            const qreal off = i * 1.2;
            p.setPen(QPen(QColor(190, 175, 150), 0.8));
            p.setBrush(QColor(236, 226, 206));
            p.drawRect(page.adjusted(isLeft ? -off : 0, off, isLeft ? 0 : off, off));
        }
        QLinearGradient paper(page.topLeft(), page.topRight());
        const QColor cream(250, 245, 232), shade(222, 210, 186);
        paper.setColorAt(isLeft ? 0.0 : 1.0, QColor(246, 240, 226));
        paper.setColorAt(isLeft ? 0.86 : 0.14, cream);
        paper.setColorAt(isLeft ? 1.0 : 0.0, shade);
        p.setPen(QPen(QColor(186, 168, 140), 0.8));
        p.setBrush(paper);
        p.drawRect(page);
    }
    // Gutter
    const qreal gx = size.width() / 2.0;
    QLinearGradient gutter(gx - 7, 0, gx + 7, 0);
    gutter.setColorAt(0, QColor(0, 0, 0, 0));
    gutter.setColorAt(0.5, QColor(60, 40, 20, 90));
    gutter.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(gx - 7, left.top(), 14, left.height()), gutter);
    return pm;
}

QPixmap leafPixmap(QSize size, qreal dpr, int step) {
    QPixmap pm = sheet(size, dpr);
    if (step < 1 || step > 5)
        return pm;
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF page = leftPageRect(size);
    const qreal gx = size.width() / 2.0, top = page.top(), bottom = page.bottom();
    const qreal w = page.width();

    // The free edge's distance from the gutter, as the leaf seen from above: full on the right
    // (step 0), upright (3), full on the left (6). Lifted edges rise above the page.
    const qreal angle = M_PI * step / 6.0;
    const qreal reach = w * std::cos(angle); // > 0 right of the gutter, < 0 left
    const qreal lift = w * 0.09 * std::sin(angle);
    const qreal edge = gx + reach;

    QPainterPath leaf;
    leaf.moveTo(gx, top);
    leaf.cubicTo(gx + reach * 0.5, top - lift * 0.6, edge, top - lift, edge, top - lift);
    leaf.lineTo(edge, bottom + lift * 0.4);
    leaf.cubicTo(edge, bottom + lift * 0.4, gx + reach * 0.5, bottom + lift * 0.3, gx, bottom);
    leaf.closeSubpath();

    // Shadow cast on the page the leaf moves over.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 25, 10, 46));
    p.drawPath(leaf.translated(reach > 0 ? -6 : 6, 5));

    // The leaf: light at the free edge, darker towards the gutter where it bends.
    QLinearGradient paper(gx, 0, edge, 0);
    const bool upright = std::abs(reach) < w * 0.2;
    paper.setColorAt(0, QColor(208, 194, 166));
    paper.setColorAt(upright ? 0.5 : 0.25, QColor(238, 230, 212));
    paper.setColorAt(1, QColor(253, 250, 241));
    p.setBrush(paper);
    p.setPen(QPen(QColor(150, 130, 100), 1));
    p.drawPath(leaf);
    return pm;
}

} // namespace vimbrel
