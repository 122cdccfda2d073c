// SPDX-License-Identifier: GPL-3.0-or-later
#include "samplealbumcanvas.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>

namespace vimbrel::sample {

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

std::vector<double> noiseLine(int n, Rng& rng, int octaves, double roughness, int cells) {
    std::vector<double> out(std::size_t(n + 1), 0.0);
    double amplitude = 1.0;
    for (int o = 0; o < octaves; ++o) {
        std::vector<double> lattice(std::size_t(cells + 2));
        for (double& v : lattice)
            v = rng.real(-1.0, 1.0);
        for (int i = 0; i <= n; ++i) {
            const double pos = double(i) / n * cells;
            const int cell = int(pos);
            const double f = (1 - std::cos((pos - cell) * pi)) / 2;
            out[std::size_t(i)] += amplitude * (lattice[std::size_t(cell)] * (1 - f) +
                                                lattice[std::size_t(cell) + 1] * f);
        }
        amplitude *= roughness;
        cells *= 2;
    }
    // Stretch to the full -1..1 so that every ridge has the relief asked of it.
    const auto [lo, hi] = std::minmax_element(out.begin(), out.end());
    const double low = *lo;
    const double span = std::max(1e-9, *hi - *lo);
    for (double& v : out)
        v = (v - low) / span * 2 - 1;
    return out;
}

Palette paletteFor(Light light, Rng& rng) {
    Palette p;
    const int shift = rng.integer(-12, 12);
    switch (light) {
    case Light::Morning:
        p = {QColor(92, 150 + shift, 214), QColor(160, 196, 228), QColor(252, 224, 196),
             QColor(255, 246, 220),        QColor(255, 214, 170), QColor(255, 250, 246),
             QColor(214, 196, 200)};
        p.sunHeight = rng.real(0.12, 0.25);
        p.tint = QColor(255, 226, 210);
        p.tintAmount = 0.35;
        break;
    case Light::Day:
        p = {QColor(36 + shift, 104, 188), QColor(86, 150, 214),  QColor(196, 226, 244),
             QColor(255, 255, 240),        QColor(255, 250, 220), QColor(255, 255, 255),
             QColor(196, 206, 222)};
        p.sunHeight = rng.real(0.55, 0.85);
        break;
    case Light::Golden:
        p = {QColor(58, 118 + shift, 190), QColor(150, 176, 200), QColor(255, 214, 150),
             QColor(255, 240, 190),        QColor(255, 196, 110), QColor(255, 240, 214),
             QColor(206, 170, 150)};
        p.sunHeight = rng.real(0.12, 0.3);
        p.tint = QColor(255, 205, 140);
        p.tintAmount = 0.5;
        break;
    case Light::Sunset:
        p = {QColor(52, 40 + shift, 108), QColor(214, 96, 84),  QColor(255, 196, 108),
             QColor(255, 236, 170),       QColor(255, 150, 80), QColor(255, 176, 140),
             QColor(120, 70, 110)};
        p.sunHeight = rng.real(0.02, 0.1);
        p.tint = QColor(255, 140, 120);
        p.tintAmount = 0.5;
        p.darkness = 0.4;
        p.shadow = QColor(64, 36, 44);
        break;
    case Light::Night:
        p = {QColor(8, 14 + shift / 2, 40),
             QColor(20, 34, 74),
             QColor(48, 64, 110),
             QColor(240, 240, 226),
             QColor(170, 190, 230),
             QColor(90, 100, 130),
             QColor(40, 46, 70)};
        p.sunHeight = rng.real(0.35, 0.7);
        p.darkness = 0.78;
        p.shadow = QColor(12, 18, 40);
        p.night = true;
        break;
    }
    return p;
}

Canvas::Canvas(QImage& image, Light light, quint32 seed)
    : m_image(image), m_p(&image), m_rng(seed), m_w(image.width()), m_h(image.height()),
      m_light(light), m_pal(paletteFor(light, m_rng)) {
    m_p.setRenderHint(QPainter::Antialiasing);
    m_p.setPen(Qt::NoPen);
    m_horizon = m_h * m_rng.real(0.42, 0.6);
    m_sunX = m_w * m_rng.real(0.15, 0.85);
    m_sunY = m_horizon - m_horizon * m_pal.sunHeight;
    m_unit = std::min(m_w, m_h) / 100.0;
}

void Canvas::sky() {
    QLinearGradient g(0, 0, 0, m_horizon);
    g.setColorAt(0, m_pal.skyTop);
    g.setColorAt(0.55, m_pal.skyMid);
    g.setColorAt(1, m_pal.skyHorizon);
    m_p.fillRect(m_image.rect(), g);

    if (m_pal.night) {
        const int stars = int(m_w * m_horizon / 1800);
        for (int i = 0; i < stars; ++i) {
            const double y = m_horizon * std::pow(m_rng.real(0, 1), 1.4) * 0.9;
            m_p.setBrush(withAlpha(QColor(255, 250, 235), m_rng.integer(60, 255)));
            const double r = m_rng.real(0.4, 1.3) * m_unit * 0.12;
            m_p.drawEllipse(QPointF(m_rng.real(0, m_w), y), r, r);
        }
    }

    const double sunR = m_unit * (m_pal.night ? 3.2 : m_rng.real(3.0, 4.5));
    QRadialGradient glow(m_sunX, m_sunY, sunR * (m_pal.night ? 6 : 10));
    glow.setColorAt(0, withAlpha(m_pal.glow, m_pal.night ? 90 : 200));
    glow.setColorAt(0.25, withAlpha(m_pal.glow, m_pal.night ? 30 : 80));
    glow.setColorAt(1, withAlpha(m_pal.glow, 0));
    m_p.fillRect(m_image.rect(), glow);
    m_p.setBrush(m_pal.sun);
    m_p.drawEllipse(QPointF(m_sunX, m_sunY), sunR, sunR);
    if (m_pal.night) { // a few seas on the moon
        for (int i = 0; i < 5; ++i) {
            m_p.setBrush(withAlpha(QColor(150, 150, 140), 70));
            const double r = sunR * m_rng.real(0.12, 0.3);
            m_p.drawEllipse(QPointF(m_sunX + sunR * m_rng.real(-0.5, 0.5),
                                    m_sunY + sunR * m_rng.real(-0.5, 0.5)),
                            r, r * 0.8);
        }
    }

    const int clouds = m_rng.integer(m_light == Light::Day ? 3 : 2, 7);
    for (int i = 0; i < clouds; ++i)
        cloud(m_rng.real(-0.1, 1.1) * m_w, m_horizon * m_rng.real(0.08, 0.75));
}

void Canvas::cloud(double cx, double cy) {
    const double width = m_w * m_rng.real(0.12, 0.3) * (0.5 + cy / m_horizon);
    const int puffs = m_rng.integer(10, 22);
    for (int i = 0; i < puffs; ++i) {
        const double x = cx + m_rng.real(-0.5, 0.5) * width;
        const double r = width * m_rng.real(0.1, 0.22);
        const double y = cy - r * m_rng.real(0, 0.6);
        QRadialGradient g(x, y, r);
        const QColor top = mix(m_pal.cloud, m_pal.cloudShade, y > cy - r * 0.2 ? 0.6 : 0.1);
        const int alpha = m_pal.night ? 90 : 190;
        g.setColorAt(0, withAlpha(top, alpha));
        g.setColorAt(0.6, withAlpha(top, alpha / 2));
        g.setColorAt(1, withAlpha(top, 0));
        m_p.setBrush(g);
        m_p.drawEllipse(QPointF(x, y), r, r * 0.55);
    }
}

Canvas::Ridge Canvas::ridge(double base, double height, int octaves, double roughness, int cells,
                            double taperLeft, double taperRight) {
    const int n = std::max(64, m_w / 6);
    const std::vector<double> v = noiseLine(n, m_rng, octaves, roughness, cells);
    Ridge r;
    r.width = m_w;
    r.path.moveTo(0, m_h);
    for (int i = 0; i <= n; ++i) {
        const double t = double(i) / n;
        const double taper = t < taperLeft || t > taperRight ? 0 : 1;
        const double y = base - height * taper * (0.5 + 0.5 * v[std::size_t(i)]);
        r.tops.push_back(y);
        r.path.lineTo(t * m_w, y);
    }
    r.path.lineTo(m_w, m_h);
    r.path.closeSubpath();
    return r;
}

QPainterPath Canvas::topLine(const Ridge& r) const {
    QPainterPath line(QPointF(0, r.tops.front()));
    for (std::size_t i = 1; i < r.tops.size(); ++i)
        line.lineTo(double(i) / double(r.tops.size() - 1) * m_w, r.tops[i]);
    return line;
}

void Canvas::fillGround(const QPainterPath& path, const QColor& top, const QColor& bottom) {
    const QRectF r = path.boundingRect();
    QLinearGradient g(0, r.top(), 0, std::min<double>(r.bottom(), m_h));
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    m_p.setBrush(g);
    m_p.drawPath(path);
}

void Canvas::texture(const QPainterPath& path, const QColor& base, int count, double length,
                     double angleSpread) {
    m_p.save();
    m_p.setClipPath(path);
    const QRectF r = path.boundingRect().intersected(QRectF(m_image.rect()));
    for (int i = 0; i < count; ++i) {
        const double y = r.top() + r.height() * std::sqrt(m_rng.real(0, 1));
        const double x = m_rng.real(r.left(), r.right());
        const double depth = (y - m_horizon) / std::max(1.0, m_h - m_horizon);
        const double len = length * m_unit * (0.3 + std::max(0.0, depth));
        const double a = -pi / 2 + m_rng.real(-angleSpread, angleSpread);
        const QColor c = m_rng.chance(0.5) ? base.lighter(m_rng.integer(110, 135))
                                           : base.darker(m_rng.integer(110, 140));
        m_p.setPen(QPen(withAlpha(c, 150), std::max(1.0, len * 0.12)));
        m_p.drawLine(QPointF(x, y), QPointF(x + std::cos(a) * len, y + std::sin(a) * len));
    }
    m_p.restore();
    m_p.setPen(Qt::NoPen);
}

void Canvas::conifer(double x, double baseY, double height, const QColor& colour) {
    const double w = height * 0.38;
    m_p.setBrush(m_pal.land(QColor(70, 48, 30)));
    m_p.drawRect(QRectF(x - w * 0.06, baseY - height * 0.18, w * 0.12, height * 0.2));
    for (int layer = 0; layer < 4; ++layer) {
        const double top = baseY - height * (1.0 - layer * 0.17);
        const double bottom = baseY - height * (0.5 - layer * 0.14);
        const double half = w * (0.45 + layer * 0.17) / 2;
        QPainterPath tri(QPointF(x, top));
        tri.lineTo(x + half, bottom);
        tri.lineTo(x - half, bottom);
        tri.closeSubpath();
        m_p.setBrush(colour.darker(100 + layer * 8));
        m_p.drawPath(tri);
        QPainterPath lit(QPointF(x, top));
        lit.lineTo(x - half, bottom);
        lit.lineTo(x - half * 0.3, bottom);
        lit.closeSubpath();
        m_p.setBrush(withAlpha(colour.lighter(125), 120));
        m_p.drawPath(lit);
    }
}

void Canvas::broadleaf(double x, double baseY, double height, const QColor& colour) {
    const double crown = height * 0.36;
    m_p.setBrush(m_pal.land(QColor(84, 58, 36)));
    m_p.drawRect(QRectF(x - crown * 0.09, baseY - height * 0.55, crown * 0.18, height * 0.55));
    const double cy = baseY - height + crown;
    const int leaves = 60;
    for (int i = 0; i < leaves; ++i) {
        const double a = m_rng.real(0, 2 * pi);
        const double d = crown * std::sqrt(m_rng.real(0, 1));
        const double px = x + std::cos(a) * d;
        const double py = cy + std::sin(a) * d * 0.85;
        // Lit from above and the sun's side.
        const double light =
            0.5 - (py - cy) / crown * 0.35 + (px - x) / crown * (m_sunX > x ? 0.2 : -0.2);
        const QColor c = mix(colour.darker(150), colour.lighter(135), light);
        m_p.setBrush(c);
        const double r = crown * m_rng.real(0.18, 0.32);
        m_p.drawEllipse(QPointF(px, py), r, r);
    }
}

void Canvas::house(double x, double baseY, double w, double h, const QColor& wall,
                   const QColor& roof, bool litWindows) {
    m_p.setBrush(m_pal.land(wall));
    m_p.drawRect(QRectF(x, baseY - h, w, h));
    // Shade on the side away from the sun.
    m_p.setBrush(withAlpha(QColor(0, 0, 0), 28));
    if (m_sunX > x + w / 2)
        m_p.drawRect(QRectF(x, baseY - h, w * 0.12, h));
    else
        m_p.drawRect(QRectF(x + w * 0.88, baseY - h, w * 0.12, h));
    const double roofH = w * m_rng.real(0.28, 0.5);
    QPainterPath r(QPointF(x - w * 0.06, baseY - h));
    r.lineTo(x + w / 2, baseY - h - roofH);
    r.lineTo(x + w * 1.06, baseY - h);
    r.closeSubpath();
    m_p.setBrush(m_pal.land(roof));
    m_p.drawPath(r);
    m_p.setPen(QPen(withAlpha(m_pal.land(roof).darker(140), 160), std::max(1.0, m_unit * 0.15)));
    for (double t = 0.2; t < 1.0; t += 0.2)
        m_p.drawLine(QPointF(x + w / 2 - (w * 0.56) * t, baseY - h - roofH + roofH * t),
                     QPointF(x + w / 2 + (w * 0.56) * t, baseY - h - roofH + roofH * t));
    m_p.setPen(Qt::NoPen);

    const int cols = std::max(1, int(w / (m_unit * 6)));
    const int rows = std::max(1, int(h / (m_unit * 8)));
    const double cw = w / cols;
    const double rh = (h - m_unit * 7) / rows;
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col) {
            const QRectF win(x + col * cw + cw * 0.28, baseY - h + row * rh + rh * 0.25, cw * 0.44,
                             rh * 0.5);
            m_p.setBrush(m_pal.land(QColor(244, 238, 226)));
            m_p.drawRect(win.adjusted(-m_unit * 0.4, -m_unit * 0.4, m_unit * 0.4, m_unit * 0.4));
            if (litWindows && m_rng.chance(0.55)) {
                m_p.setBrush(QColor(255, 206, 120));
            } else {
                QLinearGradient glass(win.topLeft(), win.bottomRight());
                glass.setColorAt(0, m_pal.land(QColor(120, 160, 190)));
                glass.setColorAt(1, m_pal.land(QColor(40, 56, 76)));
                m_p.setBrush(glass);
            }
            m_p.drawRect(win);
        }
    m_p.setBrush(m_pal.land(QColor(96, 60, 38)));
    const double dw = std::min(w * 0.22, m_unit * 4);
    m_p.drawRect(QRectF(x + w / 2 - dw / 2, baseY - m_unit * 6.5, dw, m_unit * 6.5));
}

void Canvas::waves(const QColor& far, const QColor& near, double density) {
    const int count = int(density * m_w * (m_h - m_horizon) / 900);
    for (int i = 0; i < count; ++i) {
        const double t = std::pow(m_rng.real(0, 1), 1.6);
        const double y = m_horizon + 2 + (m_h - m_horizon) * t;
        const double len = m_unit * (0.6 + 9 * t) * m_rng.real(0.5, 1.5);
        const double x = m_rng.real(-len, m_w);
        // Glitter under the sun or moon, ripples elsewhere.
        const double fromSun = std::abs(x - m_sunX) / (m_w * (0.04 + 0.3 * t));
        QColor c;
        if (fromSun < 1 && m_rng.chance(0.85 - fromSun * 0.6))
            c = withAlpha(m_pal.sun, m_rng.integer(120, 230));
        else
            c = withAlpha(m_rng.chance(0.5) ? mix(far, near, t).lighter(125)
                                            : mix(far, near, t).darker(125),
                          m_rng.integer(60, 160));
        m_p.setPen(QPen(c, std::max(0.8, m_unit * (0.1 + 0.5 * t)), Qt::SolidLine, Qt::RoundCap));
        m_p.drawLine(QPointF(x, y), QPointF(x + len, y));
    }
    m_p.setPen(Qt::NoPen);
}

void Canvas::pebbles(const QPainterPath& area, const QColor& base) {
    m_p.save();
    m_p.setClipPath(area);
    const QRectF r = area.boundingRect();
    const int count = int(r.width() * r.height() / 300);
    for (int i = 0; i < count; ++i) {
        const double rad = m_unit * m_rng.real(0.05, 0.3);
        m_p.setBrush(withAlpha(m_pal.land(m_rng.chance(0.5) ? base.lighter(130) : base.darker(130)),
                               m_rng.integer(60, 160)));
        m_p.drawEllipse(QPointF(m_rng.real(r.left(), r.right()), m_rng.real(r.top(), r.bottom())),
                        rad, rad * 0.7);
    }
    m_p.restore();
}

void Canvas::flowers(const QPainterPath& area) {
    m_p.save();
    m_p.setClipPath(area);
    const QRectF r = area.boundingRect();
    const QColor colours[] = {QColor(255, 255, 255), QColor(255, 214, 60), QColor(230, 80, 90),
                              QColor(180, 120, 220)};
    for (int i = 0; i < m_w / 4; ++i) {
        const double y = m_rng.real(r.top(), r.bottom());
        const double rad = m_unit * 0.35 * (0.3 + (y - r.top()) / r.height());
        m_p.setBrush(m_pal.land(colours[m_rng.integer(0, 3)]));
        m_p.drawEllipse(QPointF(m_rng.real(0, m_w), y), rad, rad);
    }
    m_p.restore();
}

void Canvas::forestEdge(const Ridge& edge, const QColor& colour, double distance) {
    const int trees = m_w / int(std::max(4.0, m_unit * 1.6));
    for (int i = 0; i < trees; ++i) {
        const double x = m_rng.real(0, m_w);
        const double top = edge.top(x);
        conifer(x, top + m_unit * 1.5, m_unit * m_rng.real(2.5, 5), m_pal.far(colour, distance));
    }
}

void Canvas::finish() {
    Rng blotchRng(quint32(m_w * 31 + m_h));
    const int cell = 48;
    const int gw = m_w / cell + 2;
    const int gh = m_h / cell + 2;
    std::vector<float> blotch(std::size_t(gw * gh));
    for (float& b : blotch)
        b = float(blotchRng.real(-5, 5));
    quint32 state = quint32(m_w * 7919 + m_h * 104729) | 1u;
    const double cx = m_w / 2.0;
    const double cy = m_h / 2.0;
    const double maxR2 = cx * cx + cy * cy;
    const int grain = m_pal.night ? 7 : 9;
    for (int y = 0; y < m_h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        const int gy = y / cell;
        const float fy = float(y % cell) / cell;
        for (int x = 0; x < m_w; ++x) {
            const int gx = x / cell;
            const float fx = float(x % cell) / cell;
            const auto at = [&](int i, int j) {
                return blotch[std::size_t(j * gw + i)];
            };
            const float b = (at(gx, gy) * (1 - fx) + at(gx + 1, gy) * fx) * (1 - fy) +
                            (at(gx, gy + 1) * (1 - fx) + at(gx + 1, gy + 1) * fx) * fy;
            const double r2 = ((x - cx) * (x - cx) + (y - cy) * (y - cy)) / maxR2;
            const double vignette = 1.0 - 0.28 * r2 * r2;
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int n = int(state % quint32(2 * grain + 1)) - grain;
            const QRgb c = row[x];
            const auto channel = [&](int v) {
                return std::clamp(int(v * vignette + b + n), 0, 255);
            };
            row[x] = qRgb(channel(qRed(c)), channel(qGreen(c)), channel(qBlue(c)));
        }
    }
}
} // namespace vimbrel::sample
