// SPDX-License-Identifier: GPL-3.0-or-later
#include "artwork.h"

#include <QDir>
#include <QFileInfo>
#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <cmath>

namespace vimbrel {

namespace {

const QString artworkFolder = QStringLiteral(":/artwork");

// Resource path by name, built once: the artwork never changes while the program runs.
const QHash<QString, QString>& artworkFiles() {
    static const QHash<QString, QString> files = [] {
        QHash<QString, QString> found;
        const QStringList patterns{QStringLiteral("*.svg"), QStringLiteral("*.png"),
                                   QStringLiteral("*.jpg")};
        const QFileInfoList entries = QDir(artworkFolder).entryInfoList(patterns, QDir::Files);
        for (const QFileInfo& f : entries)
            found.insert(f.completeBaseName(), f.filePath());
        return found;
    }();
    return files;
}

bool isSvg(const QString& path) {
    return path.endsWith(QStringLiteral(".svg"));
}

QImage render(const QString& path, QSize physical) {
    QImage image(physical, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (isSvg(path)) {
        QSvgRenderer svg(path);
        svg.setAspectRatioMode(Qt::KeepAspectRatio);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        svg.render(&p, QRectF(QPointF(0, 0), QSizeF(physical)));
        return image;
    }
    // Raster artwork: decode straight to the size needed, then centre it.
    QImageReader reader(path);
    QSize fitted = reader.size();
    fitted.scale(physical, Qt::KeepAspectRatio);
    reader.setScaledSize(fitted);
    const QImage decoded = reader.read();
    QPainter p(&image);
    p.drawImage((physical.width() - decoded.width()) / 2,
                (physical.height() - decoded.height()) / 2, decoded);
    return image;
}

// The disabled look of a button picture: grey and faded, as a style would draw it.
QImage disabledLook(QImage image) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(row[x]) / 2 + 96;
            row[x] = qRgba(grey, grey, grey, qAlpha(row[x]) * 2 / 5);
        }
    }
    return image;
}

QPixmap cachedPixmap(const QString& name, QSize logical, qreal dpr, QIcon::Mode mode) {
    const QString path = artworkFiles().value(name);
    if (path.isEmpty() || logical.isEmpty() || !(dpr > 0))
        return {};
    const QSize physical(qMax(1, qRound(logical.width() * dpr)),
                         qMax(1, qRound(logical.height() * dpr)));
    const QString key = QStringLiteral("vimbrel-artwork/%1/%2x%3/%4/%5")
                            .arg(name)
                            .arg(physical.width())
                            .arg(physical.height())
                            .arg(dpr)
                            .arg(int(mode));
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        QImage image = render(path, physical);
        if (mode == QIcon::Disabled)
            image = disabledLook(std::move(image));
        pixmap = QPixmap::fromImage(std::move(image));
        QPixmapCache::insert(key, pixmap);
    }
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

// Draws the picture for each size and scale it is asked for, instead of scaling one bitmap.
class ArtworkIconEngine final : public QIconEngine {
public:
    explicit ArtworkIconEngine(QString name) : m_name(std::move(name)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, cachedPixmap(m_name, rect.size(), dpr, mode));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        return cachedPixmap(m_name, size, 1.0, mode);
    }
    // QIcon asks in physical pixels with the scale beside it.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        QPixmap p = cachedPixmap(m_name, size, 1.0, mode);
        p.setDevicePixelRatio(scale);
        return p;
    }
    // Window managers pick from these sizes for the window and task bar icons.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    }
    QString key() const override { return QStringLiteral("vimbrel-artwork"); }
    QIconEngine* clone() const override { return new ArtworkIconEngine(m_name); }
    QString iconName() override { return m_name; }
    bool isNull() override { return false; }

private:
    QString m_name;
};

} // namespace

QStringList artworkNames() {
    QStringList names = artworkFiles().keys();
    names.sort();
    return names;
}

QSize artworkSize(const QString& name) {
    const QString path = artworkFiles().value(name);
    if (path.isEmpty())
        return {};
    if (isSvg(path))
        return QSvgRenderer(path).defaultSize();
    return QImageReader(path).size();
}

QPixmap artworkPixmap(const QString& name, QSize logicalSize, qreal devicePixelRatio) {
    return cachedPixmap(name, logicalSize, devicePixelRatio, QIcon::Normal);
}

QIcon artworkIcon(const QString& name) {
    if (!artworkFiles().contains(name))
        return {};
    return QIcon(new ArtworkIconEngine(name));
}

} // namespace vimbrel
