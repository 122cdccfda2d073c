// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small controls of the Photo Box window: the strip's picture boxes and the append area
// (both take drops of our drags), the three hover buttons and the frame that moves the window.

#include <QColor>
#include <QFrame>
#include <QPixmap>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace vimbrel {

// Takes drops whose source name is one of `sources` and reports them with its index.
class DropZone : public QWidget {
    Q_OBJECT
public:
    DropZone(int index, QStringList sources, QWidget* parent = nullptr);
    int index() const { return m_index; }

signals:
    void dropped(int index, const QString& source);

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    int m_index;
    QStringList m_sources;
};

// fs(k): one strip position. It keeps the thumbnail it shows, so the strip can move drawn
// thumbnails between positions without decoding them again.
class StripBox : public DropZone {
    Q_OBJECT
public:
    explicit StripBox(int index, QWidget* parent = nullptr);
    const QPixmap& picture() const { return m_picture; }
    void setPicture(const QPixmap& p);

signals:
    void pressed(int index, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    QPixmap m_picture;
};

// fsroll: the place beside the strip where page photos are put at the end of the box.
class RollArea : public DropZone {
    Q_OBJECT
public:
    explicit RollArea(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

// fs_select, fs_del, fs_min: a small picture button whose background turns green while the
// pointer is inside the square 4..14 of its own coordinates.
class BoxButton : public QWidget {
    Q_OBJECT
public:
    enum Glyph { SelectAll, Delete, Hide };
    BoxButton(Glyph glyph, QWidget* parent = nullptr);
    bool hot() const { return m_hot; }
    void setHot(bool hot);
    // The hover square, inclusive on both axes.
    static bool inHotSquare(QPoint p) {
        return p.x() >= 4 && p.x() <= 14 && p.y() >= 4 && p.y() <= 14;
    }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent*) override;

private:
    Glyph m_glyph;
    bool m_hot = false;
};

// fsframe: the window's frame; dragging it with the left button moves the window, as a title
// bar would.
class BoxFrame : public QFrame {
    Q_OBJECT
public:
    explicit BoxFrame(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
};

// fs_scroll: a horizontal scroll bar styled by its owner, with arrows drawn on its end buttons
// (a styled scroll bar loses the platform's arrows).
class StripScrollBar : public QScrollBar {
public:
    explicit StripScrollBar(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;
};

// The colours the Photo Box shares with the page view.
namespace boxcolours {
inline constexpr QRgb strip = 0xe8e1d4; // the page view's background and tool strip
inline constexpr QRgb brown = 0x7a4a2a;
inline constexpr QRgb ink = 0x3b2a1a;
inline constexpr QRgb well = 0xd9ceba;
inline constexpr QRgb hover = 0x00ff00;
} // namespace boxcolours

} // namespace vimbrel
