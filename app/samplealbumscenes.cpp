#include "samplealbumscenes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vimbrel::sample {

namespace {

constexpr double pi = 3.14159265358979323846;

class Rng {
public:
    explicit Rng(quint32 seed) : m_gen(seed) {}
    double real(double lo, double hi) { return lo + (hi - lo) * m_gen.generateDouble(); }
    int integer(int lo, int hi) { return lo + int(m_gen.bounded(quint32(hi - lo + 1))); }
    bool chance(double p) { return m_gen.generateDouble() < p; }

private:
    QRandomGenerator m_gen;
};

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

// Smooth 1-D noise in -1..1, several octaves: ridgelines, shores, wave rows.
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

// Colours of the sky and how the light falls on the land.
struct Palette {
    QColor skyTop, skyMid, skyHorizon;
    QColor sun, glow;
    QColor cloud, cloudShade;
    double sunHeight = 0.3; // of the sky's height, from the horizon up
    double darkness = 0.0;  // land darkened towards `shadow`
    QColor shadow{20, 22, 40};
    QColor tint{Qt::white}; // colour cast of the light on the land
    double tintAmount = 0.0;
    bool night = false;

    QColor land(const QColor& base) const {
        QColor c = mix(base,
                       QColor::fromRgbF(float(base.redF() * tint.redF()),
                                        float(base.greenF() * tint.greenF()),
                                        float(base.blueF() * tint.blueF())),
                       tintAmount);
        return mix(c, shadow, darkness);
    }
    // Distant things fade into the colour of the sky at the horizon.
    QColor far(const QColor& base, double distance) const {
        return mix(land(base), skyHorizon, distance);
    }
};

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

class Painter {
public:
    Painter(QImage& image, Scene scene, Light light, quint32 seed)
        : m_image(image), m_p(&image), m_rng(seed), m_w(image.width()), m_h(image.height()),
          m_scene(scene), m_light(light), m_pal(paletteFor(light, m_rng)) {
        m_p.setRenderHint(QPainter::Antialiasing);
        m_p.setPen(Qt::NoPen);
        m_horizon = m_h * m_rng.real(0.42, 0.6);
        m_sunX = m_w * m_rng.real(0.15, 0.85);
        m_sunY = m_horizon - m_horizon * m_pal.sunHeight;
        m_unit = std::min(m_w, m_h) / 100.0;
    }

    void draw() {
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

private:
    // Sky, sun or moon, stars and clouds.
    void sky() {
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

    void cloud(double cx, double cy) {
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

    // A filled ridge: y = base - height * noise, from the left edge to the right.
    struct Ridge {
        QPainterPath path;
        std::vector<double> tops; // the ridge line at evenly spaced x
        double width = 1;
        double top(double x) const {
            const double pos = std::clamp(x / width, 0.0, 1.0) * double(tops.size() - 1);
            const std::size_t i = std::min(std::size_t(pos), tops.size() - 2);
            const double f = pos - double(i);
            return tops[i] * (1 - f) + tops[i + 1] * f;
        }
    };
    Ridge ridge(double base, double height, int octaves, double roughness, int cells,
                double taperLeft = 0, double taperRight = 1) {
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
    QPainterPath topLine(const Ridge& r) const {
        QPainterPath line(QPointF(0, r.tops.front()));
        for (std::size_t i = 1; i < r.tops.size(); ++i)
            line.lineTo(double(i) / double(r.tops.size() - 1) * m_w, r.tops[i]);
        return line;
    }

    void fillGround(const QPainterPath& path, const QColor& top, const QColor& bottom) {
        const QRectF r = path.boundingRect();
        QLinearGradient g(0, r.top(), 0, std::min<double>(r.bottom(), m_h));
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        m_p.setBrush(g);
        m_p.drawPath(path);
    }

    // Short strokes of lighter and darker colour inside `path`: grass, scrub, field texture.
    void texture(const QPainterPath& path, const QColor& base, int count, double length,
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

    void conifer(double x, double baseY, double height, const QColor& colour) {
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

    void broadleaf(double x, double baseY, double height, const QColor& colour) {
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

    void house(double x, double baseY, double w, double h, const QColor& wall, const QColor& roof,
               bool litWindows) {
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
        m_p.setPen(
            QPen(withAlpha(m_pal.land(roof).darker(140), 160), std::max(1.0, m_unit * 0.15)));
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
                const QRectF win(x + col * cw + cw * 0.28, baseY - h + row * rh + rh * 0.25,
                                 cw * 0.44, rh * 0.5);
                m_p.setBrush(m_pal.land(QColor(244, 238, 226)));
                m_p.drawRect(
                    win.adjusted(-m_unit * 0.4, -m_unit * 0.4, m_unit * 0.4, m_unit * 0.4));
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

    void seaside() {
        // A headland on one side, sometimes with a lighthouse.
        const bool left = m_rng.chance(0.5);
        const Ridge head = ridge(m_horizon + 1, m_h * m_rng.real(0.08, 0.16), 5, 0.5, 3,
                                 left ? 0 : 0.62, left ? 0.38 : 1);
        fillGround(head.path, m_pal.far(QColor(96, 120, 80), 0.35),
                   m_pal.far(QColor(70, 90, 60), 0.2));
        if (m_rng.chance(0.6)) {
            const double lx = m_w * (left ? m_rng.real(0.08, 0.25) : m_rng.real(0.72, 0.9));
            const double top = head.top(lx);
            const double lh = m_h * 0.09;
            m_p.setBrush(m_pal.land(QColor(246, 244, 236)));
            m_p.drawRect(QRectF(lx - m_unit, top - lh, m_unit * 2, lh + m_unit));
            m_p.setBrush(m_pal.land(QColor(196, 52, 44)));
            for (int band = 0; band < 3; ++band)
                m_p.drawRect(QRectF(lx - m_unit, top - lh + lh * (0.2 + band * 0.28), m_unit * 2,
                                    lh * 0.12));
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

    void waves(const QColor& far, const QColor& near, double density = 1.0) {
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
            m_p.setPen(
                QPen(c, std::max(0.8, m_unit * (0.1 + 0.5 * t)), Qt::SolidLine, Qt::RoundCap));
            m_p.drawLine(QPointF(x, y), QPointF(x + len, y));
        }
        m_p.setPen(Qt::NoPen);
    }

    void pebbles(const QPainterPath& area, const QColor& base) {
        m_p.save();
        m_p.setClipPath(area);
        const QRectF r = area.boundingRect();
        const int count = int(r.width() * r.height() / 300);
        for (int i = 0; i < count; ++i) {
            const double rad = m_unit * m_rng.real(0.05, 0.3);
            m_p.setBrush(
                withAlpha(m_pal.land(m_rng.chance(0.5) ? base.lighter(130) : base.darker(130)),
                          m_rng.integer(60, 160)));
            m_p.drawEllipse(
                QPointF(m_rng.real(r.left(), r.right()), m_rng.real(r.top(), r.bottom())), rad,
                rad * 0.7);
        }
        m_p.restore();
    }

    // Ridges from far to near, with snow on the far peaks; the near meadow only when asked.
    void ranges(double nearBase) {
        const QColor rock(96, 106, 130);
        const Ridge farthest =
            ridge(m_horizon - m_h * 0.04, m_h * m_rng.real(0.18, 0.26), 6, 0.5, 2);
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
        fillGround(snow, m_pal.far(QColor(250, 250, 255), 0.15),
                   m_pal.far(QColor(200, 208, 226), 0.2));
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

    // A fringe of small conifers along the top of a ridge.
    void forestEdge(const Ridge& edge, const QColor& colour, double distance) {
        const int trees = m_w / int(std::max(4.0, m_unit * 1.6));
        for (int i = 0; i < trees; ++i) {
            const double x = m_rng.real(0, m_w);
            const double top = edge.top(x);
            conifer(x, top + m_unit * 1.5, m_unit * m_rng.real(2.5, 5),
                    m_pal.far(colour, distance));
        }
    }

    void mountains() {
        ranges(m_h * m_rng.real(0.72, 0.8));
        const int trees = m_rng.integer(2, 6);
        for (int i = 0; i < trees; ++i) {
            const double x = m_rng.real(0, m_w);
            conifer(x, m_h * m_rng.real(0.95, 1.05), m_h * m_rng.real(0.25, 0.45),
                    m_pal.land(QColor(34, 80, 46)));
        }
    }

    void lake() {
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
        waves(mix(m_pal.skyHorizon, QColor(60, 90, 120), 0.5), m_pal.land(QColor(30, 60, 80)),
              0.35);
        const Ridge shore = ridge(m_h * m_rng.real(0.9, 0.97), m_h * 0.05, 3, 0.5, 2);
        fillGround(shore.path, m_pal.land(QColor(110, 140, 70)), m_pal.land(QColor(70, 96, 50)));
        texture(shore.path, m_pal.land(QColor(96, 130, 60)), m_w, 2.5, 0.5);
    }

    void countryside() {
        const Ridge far = ridge(m_horizon, m_h * 0.1, 4, 0.5, 2);
        fillGround(far.path, m_pal.far(QColor(90, 130, 90), 0.5),
                   m_pal.far(QColor(80, 120, 80), 0.35));
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
            stripe.addPolygon(
                QPolygonF{QPointF(-m_w, y0 + std::tan(angle) * -m_w),
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

    void flowers(const QPainterPath& area) {
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

    void town() {
        const Ridge far = ridge(m_horizon, m_h * 0.14, 5, 0.5, 3);
        fillGround(far.path, m_pal.far(QColor(90, 120, 96), 0.5),
                   m_pal.far(QColor(80, 110, 86), 0.4));
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
                m_p.drawEllipse(QPointF(towerX + tw / 2, street - th + tw * 0.8), tw * 0.3,
                                tw * 0.3);
                towerDone = true;
            }
            const double h = m_h * m_rng.real(0.16, 0.3);
            house(x, street, w, h, walls[m_rng.integer(0, 6)], roofs[m_rng.integer(0, 3)],
                  m_pal.night);
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

    // Film grain, a little uneven exposure and a soft vignette: what makes a photo look taken.
    void finish() {
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

    QImage& m_image;
    QPainter m_p;
    Rng m_rng;
    int m_w;
    int m_h;
    Scene m_scene;
    Light m_light;
    Palette m_pal;
    double m_horizon = 0;
    double m_sunX = 0;
    double m_sunY = 0;
    double m_unit = 1;
};

} // namespace

QImage drawScene(QSize size, Scene scene, Light light, quint32 seed) {
    QImage image(size, QImage::Format_RGB32);
    Painter(image, scene, light, seed).draw();
    return image;
}

} // namespace vimbrel::sample
