// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Photo printing's arithmetic, without the window: the six layouts, where the cells sit on a
// page, how one picture is turned and cut to fill its cell, the copies field and the status
// texts. Pages are composed at printDpi; every length here is in pixels of that resolution.

#include "album.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <optional>

namespace vimbrel {

inline constexpr int printDpi = 300;
inline constexpr int layoutCount = 6;
// Layout chosen when the window opens: 6 x 4.
inline constexpr int openingLayout = 1;
// The contact sheet.
inline constexpr int contactLayout = 4;

struct PrintLayout {
    QSizeF cell; // inches, width x height
    int columns;
    int rows;
    int maxcopies;
    QSizeF page; // inches
    int perPage() const { return columns * rows; }
};
const PrintLayout& printLayout(int layout);

struct PageGeometry {
    QSize page; // the page picture pb
    QSize cell; // the cell picture pbload
    int columns = 1;
    int rows = 1;
    int left = 0;
    int top = 0;
    int gapX = 0;
    int gapY = 0;
    int perPage() const { return columns * rows; }
    // Top left corner of cell `index` (0-based, row by row).
    QPoint cellOrigin(int index) const;
};
PageGeometry pageGeometry(int layout, int dpi = printDpi);

// Pages for `count` cells at `perPage` a page: a part-filled page counts.
int printPageCount(int count, int perPage);

// How SetPic draws a picture of `picture` pixels (as shown) into a cell: turned to the cell's
// orientation, never enlarged, otherwise filling the cell with the overflow cut equally on both
// sides (the rectangle then reaches outside the cell). An empty size draws nothing.
struct CellPlacement {
    QRect rect;
    int rotation = 0;
};
CellPlacement cellPlacement(QSize picture, QSize cell);

// The copies field read as a number (trimmed, rounded); nothing when it is not a number or lies
// outside 1..maxcopies.
std::optional<int> parseCopies(const QString& text, int maxcopies);
// " ( 1 to 6 )": the hint beside the copies field.
QString copiesHint(int maxcopies);

QString generatingStatus(int page, int pages);
QString completedStatus(int pages);

} // namespace vimbrel
