// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The slide show: a black window over the whole screen that shows pictures one at a time, with
// a small control bar at the bottom. It works in two modes, chosen by slidesrc before it opens:
// "Slide" shows the selected photos of the current group, by hand or timed; anything else shows
// the one picture of frame dragsrc with only the size and exit buttons.
//
//   phslide w(album, hub, pictures, pageView);
//   w.exec(); // returns at once when there is nothing to show
//
// The window never changes the album; it overwrites the scratch list wpics. The arithmetic lives
// in sliderules.h. While a slide is shown, the next one is decoded ahead on the other core.

#include "album.h"
#include "picturelibrary.h"
#include "pictureloader.h"
#include "windowhub.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace vimbrel {

// The display area pb: black, with the last copied picture; a click runs onClick.
class SlideBox : public QWidget {
public:
    explicit SlideBox(QWidget* parent);
    void setPicture(const QImage& img);
    void clearPicture();
    const QImage& picture() const { return m_picture; }
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QImage m_picture;
};

class phslide : public QDialog {
    Q_OBJECT
public:
    phslide(Album& a, WindowHub& hub, PictureLibrary& pictures, QWidget* parent = nullptr);
    ~phslide() override;

    // Seconds a pointer may rest before it is hidden.
    static constexpr int pointerRestMs = 3000;

    SlideBox* pb;
    QImage pbload; // off-screen surface the library draws into, then copied to pb
    QGroupBox* frvcr;
    QToolButton* cb_first;
    QToolButton* cb_prev;
    QToolButton* cb_play;
    QToolButton* cb_next;
    QToolButton* cb_last;
    QToolButton* cb_size;
    QPushButton* cb_hidedesc;
    QToolButton* cb_exit;
    QComboBox* tm_sel;
    QScrollBar* pg_scroll;
    QLabel* dname;
    QLabel* ddesc;
    QIcon img_play;
    QIcon img_stop;
    QTimer sltimer;

    int nslides() const { return m_nslides; }
    // "P" playing, "S" stopped.
    char playTag() const { return m_playTag; }
    // "S", "M" or "L".
    char sizeTag() const { return m_sizeTag; }
    bool slideShowMode() const { return m_slideMode; }
    QSize screenSize() const { return m_screen; }
    // How many times a slide was drawn; tests count redraws with it.
    int slidesDrawn() const { return m_drawn; }
    // Whether the slide's picture is still to come, and whether the next one is still being made.
    int picturesPending() const { return m_loader.pending(); }
    bool loadingAhead() const { return m_loader.working() > 0; }

    int exec() override;
    void reject() override;

    void DispSlide(int slot);
    void cb_play_Click();
    void cb_first_Click();
    void cb_prev_Click();
    void cb_next_Click();
    void cb_last_Click();
    void cb_size_Click();
    void cb_hidedesc_Click();
    void cb_exit_Click();
    void pg_scroll_Change();
    void sltimer_Timer();
    void pb_Click();
    void Form_Click();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void Form_Load();
    void buildBar();
    QToolButton* barButton(const QString& art, int x);
    void stop();
    void giveFocusBack();
    QList<PictureLibrary::Request> nextRequest() const;
    // The loader sends only the pictures of its last request, some before request() returns.
    void pictureArrived(quint64 generation, int index, const QImage& image);
    QString picturePath(int slot) const;
    void pointerMoved();

    Album& m_a;
    [[maybe_unused]] WindowHub& m_hub; // the album is only read: nothing to refresh
    QSize m_screen;
    int m_nslides = 0;
    bool m_slideMode = true;
    char m_playTag = 'S';
    char m_sizeTag = 'M';
    int m_drawn = 0;
    QTimer m_pointerTimer;
    PictureLoader m_loader;
    QRect m_slideRect; // where its picture goes
};

} // namespace vimbrel
