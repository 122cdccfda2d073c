// SPDX-License-Identifier: GPL-3.0-or-later
#include "samplealbumscenes.h"

#include "samplealbumcanvas.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace vimbrel::sample {

namespace {

// The scenes: which ridges, water, trees and houses, in which order, from far to near.
class ScenePainter : public Canvas {
public:
    ScenePainter(QImage& image, Scene scene, Light light, quint32 seed)
        : Canvas(image, light, seed), m_scene(scene) {}
    void draw();

private:
    void seaside();
    // Ridges from far to near, with snow on the far peaks; the near meadow only when asked.
    void ranges(double nearBase);
    void mountains();
    void lake();
    void countryside();
    void town();

    Scene m_scene;
};

void ScenePainter::seaside() {
    // A headland on one side, sometimes with a lighthouse.
    const bool left = m_rng.chance(0.5);
    const Ridge head = ridge(m_horizon + 1, m_h * m_rng.real(0.08, 0.16), 5, 0.5, 3,
                             left ? 0 : 0.62, left ? 0.38 : 1);
    fillGround(head.path, m_pal.far(QColor(96, 120, 80), 0.35), m_pal.far(QColor(70, 90, 60), 0.2));
    if (m_rng.chance(0.6)) {
        const double lx = m_w * (left ? m_rng.real(0.08, 0.25) : m_rng.real(0.72, 0.9));
        const double top = head.top(lx);
        const double lh = m_h * 0.09;
        m_p.setBrush(m_pal.land(QColor(246, 244, 236)));
        m_p.drawRect(QRectF(lx - m_unit, top - lh, m_unit * 2, lh + m_unit));
        m_p.setBrush(m_pal.land(QColor(196, 52, 44)));
        for (int band = 0; band < 3; ++band)
            m_p.drawRect(
                QRectF(lx - m_unit, top - lh + lh * (0.2 + band * 0.28), m_unit * 2, lh * 0.12));
        m_p.setBrush(m_pal.night ? QColor(255, 236, 160) : m_pal.land(QColor(60, 60, 64)));
        m_p.drawRect(
            QRectF(lx - m_unit * 1.3, top - lh - m_unit * 1.4, m_unit * 2.6, m_unit * 1.4));
    }

    // The sea: darker towards the viewer, with waves and the sun's glitter.
    QLinearGradient sea(0, m_horizon, 0, m_h);
    const QColor seaFar = mix(m_pal.skyHorizon, m_pal.land(QColor(40, 96, 140)), 0.55);
    const QColor seaNear = m_pal.land(QColor(20, 70, 110));
    sea.setColorAt(0, seaFar);
    sea.setColorAt(1, seaNear);
    m_p.fillRect(QRectF(0, m_horizon, m_w, m_h - m_horizon), sea);
    waves(seaFar, seaNear);

    if (m_rng.chance(0.7)) { // a few sails
        const int boats = m_rng.integer(1, 4);
        for (int i = 0; i < boats; ++i) {
            const double y = m_horizon + (m_h - m_horizon) * m_rng.real(0.04, 0.25);
            const double s = m_unit * (0.6 + (y - m_horizon) / (m_h - m_horizon) * 6);
            const double x = m_rng.real(0.1, 0.9) * m_w;
            m_p.setBrush(m_pal.land(QColor(60, 40, 30)));
            QPainterPath hull(QPointF(x - 3 * s, y - s));
            hull.lineTo(x + 3 * s, y - s);
            hull.lineTo(x + 2.2 * s, y);
            hull.lineTo(x - 2.2 * s, y);
            hull.closeSubpath();
            m_p.drawPath(hull);
            m_p.setBrush(m_pal.land(QColor(250, 248, 240)));
            QPainterPath sail(QPointF(x, y - 8 * s));
            sail.lineTo(x + 2.6 * s, y - 1.4 * s);
            sail.lineTo(x, y - 1.4 * s);
            sail.closeSubpath();
            m_p.drawPath(sail);
        }
    }

    // The beach in front, with a line of foam.
    const double shore = m_h * m_rng.real(0.78, 0.9);
    const Ridge sand = ridge(shore, m_h * 0.07, 3, 0.45, 2);
    fillGround(sand.path, m_pal.land(QColor(226, 204, 160)), m_pal.land(QColor(196, 168, 124)));
    m_p.setBrush(Qt::NoBrush);
    m_p.setPen(QPen(withAlpha(m_pal.land(QColor(255, 255, 255)), 190), m_unit * 0.7));
    m_p.drawPath(topLine(sand).translated(0, m_unit * 0.2));
    m_p.setPen(Qt::NoPen);
    pebbles(sand.path, QColor(170, 146, 110));
}

void ScenePainter::ranges(double nearBase) {
    const QColor rock(96, 106, 130);
    const Ridge farthest = ridge(m_horizon - m_h * 0.04, m_h * m_rng.real(0.18, 0.26), 6, 0.5, 2);
    fillGround(farthest.path, m_pal.far(rock, 0.7), m_pal.far(rock, 0.6));
    const Ridge far = ridge(m_horizon, m_h * m_rng.real(0.22, 0.32), 7, 0.55, 3);
    fillGround(far.path, m_pal.far(rock.lighter(110), 0.42), m_pal.far(rock.darker(110), 0.3));
    m_p.save();
    m_p.setClipPath(far.path);
    const double peak = *std::min_element(far.tops.begin(), far.tops.end());
    const double snowLine = peak + (m_horizon - peak) * m_rng.real(0.25, 0.4);
    const Ridge snowEdge = ridge(snowLine, m_h * 0.05, 5, 0.6, 8);
    QPainterPath snow;
    snow.addRect(QRectF(0, 0, m_w, m_h));
    snow = snow.subtracted(snowEdge.path);
    fillGround(snow, m_pal.far(QColor(250, 250, 255), 0.15), m_pal.far(QColor(200, 208, 226), 0.2));
    m_p.restore();
    texture(far.path, m_pal.far(rock, 0.35), m_w / 2, 2.5, 1.2);

    const Ridge mid = ridge(m_horizon + m_h * 0.05, m_h * m_rng.real(0.1, 0.16), 5, 0.5, 4);
    const QColor forest(46, 84, 58);
    fillGround(mid.path, m_pal.far(forest, 0.28), m_pal.far(forest.darker(130), 0.1));
    texture(mid.path, m_pal.far(forest, 0.2), m_w * 2, 1.8, 0.2);
    forestEdge(mid, QColor(38, 72, 50), 0.18);

    if (nearBase <= 0)
        return;
    const Ridge near = ridge(nearBase, m_h * m_rng.real(0.08, 0.14), 4, 0.5, 2);
    const QColor grass(96, 150, 66);
    fillGround(near.path, m_pal.land(grass.lighter(110)), m_pal.land(grass.darker(130)));
    texture(near.path, m_pal.land(grass), m_w * 3, 2.2, 0.5);
    flowers(near.path);
}

void ScenePainter::mountains() {
    ranges(m_h * m_rng.real(0.72, 0.8));
    const int trees = m_rng.integer(2, 6);
    for (int i = 0; i < trees; ++i) {
        const double x = m_rng.real(0, m_w);
        conifer(x, m_h * m_rng.real(0.95, 1.05), m_h * m_rng.real(0.25, 0.45),
                m_pal.land(QColor(34, 80, 46)));
    }
}

void ScenePainter::lake() {
    const double water = m_horizon + m_h * 0.06;
    ranges(0);
    // Mirror what stands above the water, darkened and rippled.
    m_p.end();
    const int top = int(water);
    for (int y = top; y < m_h; ++y) {
        const int src = 2 * top - y;
        if (src < 0)
            break;
        const int shift = int(std::sin(y * 0.9) * m_unit * 0.4 * (y - top) / (m_h - top));
        const auto* from = reinterpret_cast<const QRgb*>(m_image.constScanLine(src));
        auto* to = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        for (int x = 0; x < m_w; ++x) {
            const QRgb c = from[std::clamp(x + shift, 0, m_w - 1)];
            to[x] = qRgb(qRed(c) * 3 / 4 + 6, qGreen(c) * 3 / 4 + 14, qBlue(c) * 3 / 4 + 24);
        }
    }
    m_p.begin(&m_image);
    m_p.setRenderHint(QPainter::Antialiasing);
    m_p.setPen(Qt::NoPen);
    waves(mix(m_pal.skyHorizon, QColor(60, 90, 120), 0.5), m_pal.land(QColor(30, 60, 80)), 0.35);
    const Ridge shore = ridge(m_h * m_rng.real(0.9, 0.97), m_h * 0.05, 3, 0.5, 2);
    fillGround(shore.path, m_pal.land(QColor(110, 140, 70)), m_pal.land(QColor(70, 96, 50)));
    texture(shore.path, m_pal.land(QColor(96, 130, 60)), m_w, 2.5, 0.5);
}

void ScenePainter::countryside() {
    const Ridge far = ridge(m_horizon, m_h * 0.1, 4, 0.5, 2);
    fillGround(far.path, m_pal.far(QColor(90, 130, 90), 0.5), m_pal.far(QColor(80, 120, 80), 0.35));
    forestEdge(far, QColor(50, 90, 60), 0.35);

    // Fields in stripes on the middle hill.
    const Ridge fields = ridge(m_horizon + m_h * 0.1, m_h * 0.1, 3, 0.5, 2);
    fillGround(fields.path, m_pal.land(QColor(170, 176, 86)), m_pal.land(QColor(120, 150, 70)));
    m_p.save();
    m_p.setClipPath(fields.path);
    const QColor crops[] = {QColor(214, 186, 96), QColor(132, 168, 72), QColor(186, 170, 80),
                            QColor(104, 146, 64)};
    const double angle = m_rng.real(-0.5, 0.5);
    const double top = fields.path.boundingRect().top();
    for (int band = 0; band < 14; ++band) {
        QPainterPath stripe;
        const double y0 = top + band * m_h * 0.035;
        stripe.addPolygon(QPolygonF{QPointF(-m_w, y0 + std::tan(angle) * -m_w),
                                    QPointF(2 * m_w, y0 + std::tan(angle) * 2 * m_w),
                                    QPointF(2 * m_w, y0 + m_h * 0.035 + std::tan(angle) * 2 * m_w),
                                    QPointF(-m_w, y0 + m_h * 0.035 + std::tan(angle) * -m_w)});
        m_p.setBrush(withAlpha(m_pal.land(crops[m_rng.integer(0, 3)]), 170));
        m_p.drawPath(stripe);
    }
    m_p.restore();
    texture(fields.path, m_pal.land(QColor(150, 160, 80)), m_w * 2, 1.5, 0.3);

    if (m_rng.chance(0.7)) {
        const double hx = m_rng.real(0.15, 0.75) * m_w;
        const double hw = m_w * 0.07;
        house(hx, fields.top(hx + hw / 2) + m_unit * 2, hw, hw * 0.6, QColor(236, 226, 204),
              QColor(168, 66, 44), m_pal.night);
    }

    const Ridge near = ridge(m_h * m_rng.real(0.86, 0.94), m_h * 0.06, 3, 0.5, 2);
    const QColor grass(92, 150, 60);
    fillGround(near.path, m_pal.land(grass.lighter(108)), m_pal.land(grass.darker(135)));
    texture(near.path, m_pal.land(grass), m_w * 3, 2.5, 0.5);
    const int trees = m_rng.integer(2, 5);
    for (int i = 0; i < trees; ++i) {
        const double x = m_rng.real(0.05, 0.95) * m_w;
        const double base = (i % 2 ? near : fields).top(x) + m_unit * 2;
        const double size = (base / m_h) * m_h * m_rng.real(0.2, 0.35);
        broadleaf(x, base, size, m_pal.land(QColor(60, 120, 52)));
    }
    flowers(near.path);
}

void ScenePainter::town() {
    const Ridge far = ridge(m_horizon, m_h * 0.14, 5, 0.5, 3);
    fillGround(far.path, m_pal.far(QColor(90, 120, 96), 0.5), m_pal.far(QColor(80, 110, 86), 0.4));
    forestEdge(far, QColor(56, 92, 64), 0.4);

    const double street = m_h * m_rng.real(0.72, 0.8);
    const QColor walls[] = {QColor(236, 196, 120), QColor(214, 128, 98),  QColor(242, 226, 196),
                            QColor(160, 196, 206), QColor(230, 170, 170), QColor(200, 210, 150),
                            QColor(246, 216, 150)};
    const QColor roofs[] = {QColor(170, 70, 46), QColor(140, 56, 40), QColor(94, 106, 120),
                            QColor(188, 96, 58)};
    const double towerX = m_rng.real(0.2, 0.8) * m_w;
    double x = -m_rng.real(0, m_w * 0.05);
    bool towerDone = false;
    while (x < m_w) {
        const double w = m_w * m_rng.real(0.08, 0.15);
        if (!towerDone && x + w > towerX) { // the church tower, behind the row
            const double tw = m_w * 0.05;
            const double th = (street - m_horizon) + m_h * 0.28;
            m_p.setBrush(m_pal.land(QColor(214, 204, 182)));
            m_p.drawRect(QRectF(towerX, street - th, tw, th));
            QPainterPath spire(QPointF(towerX - tw * 0.1, street - th));
            spire.lineTo(towerX + tw / 2, street - th - tw * 1.8);
            spire.lineTo(towerX + tw * 1.1, street - th);
            spire.closeSubpath();
            m_p.setBrush(m_pal.land(QColor(70, 96, 100)));
            m_p.drawPath(spire);
            m_p.setBrush(m_pal.land(QColor(250, 246, 236)));
            m_p.drawEllipse(QPointF(towerX + tw / 2, street - th + tw * 0.8), tw * 0.3, tw * 0.3);
            towerDone = true;
        }
        const double h = m_h * m_rng.real(0.16, 0.3);
        house(x, street, w, h, walls[m_rng.integer(0, 6)], roofs[m_rng.integer(0, 3)], m_pal.night);
        x += w + m_w * m_rng.real(0.0, 0.015);
    }

    // Cobbles, bigger towards the viewer.
    QLinearGradient road(0, street, 0, m_h);
    road.setColorAt(0, m_pal.land(QColor(150, 140, 126)));
    road.setColorAt(1, m_pal.land(QColor(110, 100, 90)));
    m_p.fillRect(QRectF(0, street, m_w, m_h - street), road);
    double y = street;
    int row = 0;
    while (y < m_h) {
        const double t = (y - street) / (m_h - street);
        const double ch = m_unit * (0.6 + 3 * t);
        const double cw = ch * 1.6;
        for (double cx = (row % 2) * cw / 2 - cw; cx < m_w; cx += cw) {
            const int tone = m_rng.integer(100, 170);
            m_p.setBrush(m_pal.land(QColor(tone, tone - 8, tone - 18)));
            m_p.drawRoundedRect(
                QRectF(cx + ch * 0.08, y + ch * 0.08, cw - ch * 0.16, ch - ch * 0.16), ch * 0.3,
                ch * 0.3);
        }
        y += ch;
        ++row;
    }
    const int trees = m_rng.integer(0, 2);
    for (int i = 0; i < trees; ++i)
        broadleaf(m_rng.real(0, 1) * m_w, street + m_unit, m_h * m_rng.real(0.25, 0.35),
                  m_pal.land(QColor(70, 128, 60)));
}

void ScenePainter::draw() {
    sky();
    switch (m_scene) {
    case Scene::Seaside:
        seaside();
        break;
    case Scene::Mountains:
        mountains();
        break;
    case Scene::Lake:
        lake();
        break;
    case Scene::Countryside:
        countryside();
        break;
    case Scene::Town:
        town();
        break;
    }
    m_p.end();
    finish();
}
} // namespace

QImage drawScene(QSize size, Scene scene, Light light, quint32 seed) {
    QImage image(size, QImage::Format_RGB32);
    ScenePainter(image, scene, light, seed).draw();
    return image;
}

} // namespace vimbrel::sample
