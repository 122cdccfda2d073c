// SPDX-License-Identifier: GPL-3.0-or-later
#include "printrules.h"

#include <QCoreApplication>

#include <QtMath>
#include <array>

namespace vimbrel {

namespace {

constexpr QSizeF letter(8.5, 11.0);

const std::array<PrintLayout, layoutCount> layouts{{
    {{5.0, 3.0}, 1, 3, 6, letter},
    {{6.0, 4.0}, 1, 2, 6, letter},
    {{7.0, 5.0}, 1, 2, 6, letter},
    {{8.0, 10.0}, 1, 1, 2, letter},
    {{1.5, 1.125}, 5, 9, 45, letter},
    {{4.0, 6.0}, 1, 1, 6, {4.0, 6.0}},
}};

QSize pixels(QSizeF inches, int dpi) {
    return {qRound(inches.width() * dpi), qRound(inches.height() * dpi)};
}

// The free space shared out equally before, between and after `count` cells.
int shareGap(int free, int count) {
    return std::max(0, free / (count + 1));
}

} // namespace

const PrintLayout& printLayout(int layout) {
    return layouts.at(static_cast<size_t>(std::clamp(layout, 0, layoutCount - 1)));
}

QPoint PageGeometry::cellOrigin(int index) const {
    const int col = index % columns;
    const int row = index / columns;
    return {left + col * (gapX + cell.width()), top + row * (gapY + cell.height())};
}

PageGeometry pageGeometry(int layout, int dpi) {
    const PrintLayout& l = printLayout(layout);
    PageGeometry g;
    g.page = pixels(l.page, dpi);
    g.cell = pixels(l.cell, dpi);
    g.columns = l.columns;
    g.rows = l.rows;
    const int freeX = g.page.width() - g.columns * g.cell.width();
    const int freeY = g.page.height() - g.rows * g.cell.height();
    if (layout == contactLayout) {
        g.left = freeX / 2 - 2 * g.columns;
        g.top = freeY / 2 - 2 * g.rows;
        g.gapX = g.gapY = 2;
        return g;
    }
    g.gapX = shareGap(freeX, g.columns);
    g.left = g.gapX;
    if (g.columns < 2)
        g.gapX = 0;
    g.gapY = shareGap(freeY, g.rows);
    g.top = g.gapY;
    if (g.rows < 2)
        g.gapY = 0;
    return g;
}

int printPageCount(int count, int perPage) {
    if (count <= 0 || perPage <= 0)
        return 0;
    return count / perPage + (count % perPage ? 1 : 0);
}

CellPlacement cellPlacement(QSize picture, QSize cell) {
    CellPlacement c;
    const int W = picture.width();
    const int H = picture.height();
    if (W <= 0 || H <= 0 || cell.isEmpty())
        return c;
    // Turned to the cell's orientation, whatever porient says.
    const bool wideCell = cell.width() >= cell.height();
    c.rotation = (wideCell ? W < H : W >= H) ? 90 : 0;
    const QSize turned = c.rotation ? picture.transposed() : picture;
    const int SW = cell.width();
    const int SH = cell.height();
    int w = turned.width();
    int h = turned.height();
    if (w > SW || h > SH) {
        const float r = float(turned.width()) / float(turned.height());
        w = SW;
        h = qRound(SW / r);
        if (SH > h) {
            h = SH;
            w = qRound(r * SH);
        }
    }
    c.rect = QRect((SW - w) / 2, (SH - h) / 2, w, h);
    return c;
}

std::optional<int> parseCopies(const QString& text, int maxcopies) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < 0.5 || v > maxcopies + 0.5)
        return std::nullopt;
    const int copies = qRound(v);
    if (copies < 1 || copies > maxcopies)
        return std::nullopt;
    return copies;
}

namespace {

// A non-negative number as the generic conversion writes it: one leading blank.
QString str(int n) {
    return QLatin1Char(' ') + QString::number(n);
}

} // namespace

QString copiesHint(int maxcopies) {
    return QCoreApplication::translate("phprint", " ( 1 to") + str(maxcopies) +
           QStringLiteral(" )");
}

QString generatingStatus(int page, int pages) {
    return QCoreApplication::translate("phprint", "Generating: ") + str(page) +
           QCoreApplication::translate("phprint", "  of ") + str(pages);
}

QString completedStatus(int pages) {
    return QCoreApplication::translate("phprint", "Completed ") + str(pages) +
           QCoreApplication::translate("phprint", " Pages");
}

} // namespace vimbrel
