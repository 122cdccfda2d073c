// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small controls of the group editor's strip: the group markers and the strip itself,
// which draws its frame ruler under them; and the editors' shared colours.

#include <QColor>
#include <QString>
#include <QWidget>

namespace vimbrel {

namespace editorcolours {
inline constexpr QRgb background = 0xe8e1d4; // the page view's paper
inline constexpr QRgb brown = 0x7a4a2a;      // its leather
inline constexpr QRgb ink = 0x3b2a1a;
inline constexpr QRgb label = 0x6b5438;
inline constexpr QRgb well = 0xf6f1e7;
inline constexpr QRgb groove = 0xd9ceba;
inline constexpr QRgb marker = 0xffc080;  // light orange, red 255 green 192 blue 128
inline constexpr QRgb current = 0xff0000; // the current group's markers and bar
inline constexpr QRgb origin = 0x3d8b3a;  // grpmrkgreen
} // namespace editorcolours

// The editors' buttons in their paper and ink, with the focus in the book's focus colour:
// left to the desktop's palette they would be dark on a dark desktop, on light paper.
QString editorButtonStyle();

// grpbt(i) / grpbb(i): one group's marker above or below the bar; reports presses with its
// index (counting from 0).
class GroupMarker : public QWidget {
    Q_OBJECT
public:
    GroupMarker(int index, bool top, QWidget* parent = nullptr);
    int index() const { return m_index; }
    QColor colour() const { return m_colour; }
    void setColour(QColor c);

signals:
    void pressed(int index);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    int m_index;
    bool m_top;
    QColor m_colour;
};

// grpbar: the strip. It draws a groove and a ruler of frame numbers at the positions the
// markers of groups ending there take, so the markers read against their frames.
class GroupStrip : public QWidget {
    Q_OBJECT
public:
    explicit GroupStrip(QWidget* parent = nullptr);
    // Where frame f's marker has its right edge, and the marker width (set by the editor).
    void setScale(int gbase, int unit, int markerWidth);
    int grooveTop = 0;
    int grooveHeight = 0;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int m_gbase = 0;
    int m_unit = 1;
    int m_markerWidth = 7;
};

} // namespace vimbrel
