// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The widgets the book is made of: the book itself (`phpg`), the leaf that turns over it and
// the page-turn arrows.

#include <QPixmap>
#include <QWidget>

namespace vimbrel {

// Shows its picture, the open book; the frames and lists of the pages are its children.
class BookView : public QWidget {
public:
    explicit BookView(QWidget* parent = nullptr);
    void setPicture(const QPixmap& p);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap m_picture;
};

// The turning leaf, above everything on the book; step 0 shows nothing.
class LeafOverlay : public QWidget {
public:
    explicit LeafOverlay(QWidget* parent);
    void setStep(int step);
    int step() const { return m_step; }
    // Draws the five leaves for the current size ahead of the first turn.
    void renderFrames();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    int m_step = 0;
    QPixmap m_frames[6];
    QSize m_rendered;
};

// A page corner with an arrow, bottom left or bottom right of the book.
class PageArrow : public QWidget {
    Q_OBJECT
public:
    PageArrow(bool right, QWidget* parent);

signals:
    void clicked();
    // A drag came over the arrow.
    void dragEntered();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void dragEnterEvent(QDragEnterEvent* e) override;

private:
    bool m_right;
    bool m_hover = false;
};

} // namespace vimbrel
