// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the application icon for the hicolor icon theme at build time:
//   vimbrel-render-icon SOURCE.svg OUTDIR SIZE...
// writes OUTDIR/<SIZE>x<SIZE>/vimbrel.png for each size. The program draws its own artwork
// with the same SVG renderer, so the menu icon looks like the one in its windows.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s SOURCE.svg OUTDIR SIZE...\n", argv[0]);
        return 2;
    }
    // No QGuiApplication: the icon has no text, so painting on a QImage needs no platform.
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    svg.setAspectRatioMode(Qt::KeepAspectRatio);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLatin1(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "%s: bad size %s\n", argv[0], argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            svg.render(&p, QRectF(0, 0, size, size));
        }
        const QString folder = QStringLiteral("%1x%1").arg(size);
        const QString path = out.filePath(folder + QStringLiteral("/vimbrel.png"));
        if (!out.mkpath(folder) ||
            !image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(path));
            return 1;
        }
    }
    return 0;
}
