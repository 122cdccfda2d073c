// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One frame of the book (a `pb`) or of the Photo Box strip (an `fs`): it keeps the drawn picture as
// its persistent image, so a drag can take it and a move between frames can copy it without
// decoding again. It takes the keyboard focus and shows it with a frame of its own, clear of the
// red selection outline.

#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace vimbrel {

class FrameBox : public QWidget {
    Q_OBJECT
public:
    explicit FrameBox(int index, QWidget* parent = nullptr);
    int index() const { return m_index; }

    // The persistent image; null when the frame is empty.
    const QPixmap& picture() const { return m_picture; }
    void setPicture(const QPixmap& p);
    void clearPicture();
    // Whether the frame holds a picture at all (an undrawable one still counts).
    void setOccupied(bool occupied);

signals:
    void mousePressed(int index, Qt::MouseButton button, QPoint pos);
    void mouseReleased(int index, Qt::MouseButton button, QPoint pos);
    void mouseMoved(int index, Qt::MouseButtons buttons, QPoint pos);
    void doubleClicked(int index);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    int m_index;
    bool m_occupied = false;
    QPixmap m_picture;
};

// A held Space, Enter or B: the key repeats, but a photo is selected, opened or put away once
// per press, as with the mouse (a held Space would otherwise toggle the selection on and off).
bool repeatedToggle(const QKeyEvent* e);

// The keyboard focus frame inside `r`, shared by the page frames and the Photo Box strip.
void drawFocusFrame(QPainter& p, const QRect& r);

// The selection outline around a frame (`frsel`).
class SelectionOutline : public QWidget {
public:
    explicit SelectionOutline(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace vimbrel
