// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drawing tools for the sample album's landscapes: random numbers, the light's palette, and a
// canvas that draws skies, ridges, water, trees, houses and the film grain the scenes are
// made of. One canvas draws one picture and shares nothing, so pictures can be drawn on
// several threads at once.

#include "samplealbumscenes.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <algorithm>
#include <vector>

namespace vimbrel::sample {

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

QColor mix(const QColor& a, const QColor& b, double t);
QColor withAlpha(QColor c, int alpha);
// Smooth 1-D noise stretched to -1..1, several octaves: ridgelines, shores, wave rows.
std::vector<double> noiseLine(int n, Rng& rng, int octaves, double roughness, int cells);

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
Palette paletteFor(Light light, Rng& rng);

class Canvas {
public:
    Canvas(QImage& image, Light light, quint32 seed);

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
    // Sky, sun or moon, stars and clouds.
    void sky();
    void cloud(double cx, double cy);
    Ridge ridge(double base, double height, int octaves, double roughness, int cells,
                double taperLeft = 0, double taperRight = 1);
    QPainterPath topLine(const Ridge& r) const;
    void fillGround(const QPainterPath& path, const QColor& top, const QColor& bottom);
    // Short strokes of lighter and darker colour inside `path`: grass, scrub, field texture.
    void texture(const QPainterPath& path, const QColor& base, int count, double length,
                 double angleSpread);
    void conifer(double x, double baseY, double height, const QColor& colour);
    void broadleaf(double x, double baseY, double height, const QColor& colour);
    void house(double x, double baseY, double w, double h, const QColor& wall, const QColor& roof,
               bool litWindows);
    void waves(const QColor& far, const QColor& near, double density = 1.0);
    void pebbles(const QPainterPath& area, const QColor& base);
    void flowers(const QPainterPath& area);
    // A fringe of small conifers along the top of a ridge.
    void forestEdge(const Ridge& edge, const QColor& colour, double distance);
    // Film grain, a little uneven exposure and a soft vignette: what makes a photo look taken.
    void finish();

protected:
    QImage& m_image;
    QPainter m_p;
    Rng m_rng;
    int m_w;
    int m_h;
    Light m_light;
    Palette m_pal;
    double m_horizon = 0;
    double m_sunX = 0;
    double m_sunY = 0;
    double m_unit = 1;
};

} // namespace vimbrel::sample
