// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchpictures.h"

#include "memorytuning.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QtConcurrent>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vimbrel::bench {

namespace {

// Value noise on a lattice of `cell` pixels, bilinear between random lattice values.
class Lattice {
public:
    Lattice(int width, int height, int cell, QRandomGenerator& rng)
        : m_cell(cell), m_cols(width / cell + 2), m_rows(height / cell + 2),
          m_values(static_cast<size_t>(m_cols) * m_rows) {
        for (float& v : m_values)
            v = static_cast<float>(rng.generateDouble()) * 2.0f - 1.0f;
    }
    float at(int x, int y) const {
        const int cx = x / m_cell;
        const int cy = y / m_cell;
        const float fx = static_cast<float>(x % m_cell) / static_cast<float>(m_cell);
        const float fy = static_cast<float>(y % m_cell) / static_cast<float>(m_cell);
        const float* r0 = &m_values[static_cast<size_t>(cy) * m_cols + cx];
        const float* r1 = r0 + m_cols;
        const float top = r0[0] + (r0[1] - r0[0]) * fx;
        const float bottom = r1[0] + (r1[1] - r1[0]) * fx;
        return top + (bottom - top) * fy;
    }

private:
    int m_cell, m_cols, m_rows;
    std::vector<float> m_values;
};

} // namespace

QImage makePhoto(int width, int height, quint32 seed) {
    QRandomGenerator rng(seed);
    const Lattice shape(width, height, 700, rng);
    const Lattice hue(width, height, 400, rng);
    const Lattice texture(width, height, 37, rng);
    const Lattice fine(width, height, 6, rng);
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        quint32 grain = seed * 2654435761u + static_cast<quint32>(y) * 40503u;
        for (int x = 0; x < width; ++x) {
            grain = grain * 1664525u + 1013904223u;
            const float g = static_cast<float>(grain >> 24) / 255.0f - 0.5f;
            const float l = 128.0f + 70.0f * shape.at(x, y) + 30.0f * texture.at(x, y) +
                            26.0f * fine.at(x, y) + 24.0f * g;
            const float h = hue.at(x, y);
            auto clamp = [](float v) {
                return std::clamp(static_cast<int>(v), 0, 255);
            };
            line[x] = qRgb(clamp(l + 40.0f * h), clamp(l - 10.0f * h), clamp(l - 40.0f * h));
        }
    }
    return img;
}

QStringList ensurePhotos(const QString& folder, int count, QSize size) {
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << QDir(folder).filePath(
            QStringLiteral("photo%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
    QStringList missing;
    for (const QString& p : paths)
        if (!QFileInfo::exists(p))
            missing << p;
    QtConcurrent::blockingMap(missing, [size](const QString& p) {
        const QImage img =
            makePhoto(size.width(), size.height(), static_cast<quint32>(qHash(p, 7)));
        QImageWriter w(p + QStringLiteral(".part"), "jpeg");
        w.setQuality(90);
        if (w.write(img))
            QFile::rename(p + QStringLiteral(".part"), p);
    });
    return paths;
}

void startLikeTheProgram() {
    keepPictureBuffers();
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString photoFolder(int argc, char** argv) {
    return argc > 1 ? QString::fromLocal8Bit(argv[1])
                    : QDir::temp().filePath(QStringLiteral("vimbrel-bench"));
}

void fillAlbum(Album& a, const QString& folder, const QStringList& paths, QSize size) {
    ClearAlbum(a);
    // The frame sizes the program starts with.
    a.sizes[1] = {108, 72, 4, 3};
    a.sizes[2] = {200, 133, 3, 1};
    a.sizes[3] = {324, 216, 2, 1};
    a.picdir = folder + QLatin1Char('/');
    for (int i = 1; i <= paths.size(); ++i) {
        a.pics[i].pfile = QFileInfo(paths[i - 1]).fileName();
        a.pics[i].porient = "L";
        a.pics[i].pwidth = static_cast<Integer>(size.width());
        a.pics[i].pheight = static_cast<Integer>(size.height());
        a.frames[i] = static_cast<Integer>(i);
    }
    a.npics = static_cast<Integer>(paths.size());
}

PhotoAlbum::PhotoAlbum(const QString& folder, int count, QSize size)
    : folder(folder), paths(ensurePhotos(folder, count, size)) {
    fillAlbum(*album, folder, paths, size);
}

} // namespace vimbrel::bench
