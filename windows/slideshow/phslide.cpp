// SPDX-License-Identifier: GPL-3.0-or-later
#include "phslide.h"

#include <QCoreApplication>

#include "artwork.h"
#include "sliderules.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace vimbrel {

namespace {

// Where the controls sit inside the bar (pixels from its left edge).
constexpr int buttonSide = 24;
constexpr int rowTop = 17;
constexpr int xFirst = 8, xPrev = 34, xPlay = 60, xNext = 86, xLast = 112;
constexpr int xInterval = 142, xSize = 198, xHideDesc = 226, xExit = 250;
constexpr int xText = 284;

} // namespace

SlideBox::SlideBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SlideBox::setPicture(const QImage& img) {
    m_picture = img;
    update();
}

void SlideBox::clearPicture() {
    m_picture = QImage();
    update();
}

void SlideBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!m_picture.isNull())
        p.drawImage(QPoint(0, 0), m_picture);
}

void SlideBox::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && onClick)
        onClick();
}

phslide::phslide(Album& a, WindowHub& hub, PictureLibrary& pictures, QWidget* parent)
    : QDialog(parent), m_a(a), m_hub(hub), m_loader(pictures) {
    connect(&m_loader, &PictureLoader::arrived, this, &phslide::pictureArrived);
    setObjectName(QStringLiteral("phslide"));
    setWindowTitle(QCoreApplication::translate("phslide", "Slide Show"));
    setWindowFlag(Qt::FramelessWindowHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    const QScreen* s =
        parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = s ? s->geometry() : QRect(0, 0, 800, 600);
    m_screen = screenRect.size();
    setGeometry(screenRect);
    setWindowState(Qt::WindowFullScreen);

    pb = new SlideBox(this);
    pb->setObjectName(QStringLiteral("pb"));
    pb->hide();
    pb->onClick = [this] {
        pb_Click();
    };
    buildBar();

    sltimer.setTimerType(Qt::PreciseTimer);
    connect(&sltimer, &QTimer::timeout, this, &phslide::sltimer_Timer);

    // The pointer hides when it rests, and comes back with the first movement.
    m_pointerTimer.setSingleShot(true);
    m_pointerTimer.setInterval(pointerRestMs);
    connect(&m_pointerTimer, &QTimer::timeout, this, [this] { setCursor(Qt::BlankCursor); });
    setMouseTracking(true);
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    m_pointerTimer.start();

    Form_Load();
}

phslide::~phslide() {
    sltimer.stop();
}

QToolButton* phslide::barButton(const QString& art, int x) {
    auto* b = new QToolButton(frvcr);
    b->setIcon(artworkIcon(art));
    b->setIconSize(QSize(20, 20));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(x, rowTop, buttonSide, buttonSide);
    // Giving the keys back to the window once a button is let go.
    connect(b, &QToolButton::released, this, &phslide::giveFocusBack);
    return b;
}

void phslide::buildBar() {
    frvcr = new QGroupBox(this);
    frvcr->setObjectName(QStringLiteral("frvcr"));
    frvcr->setStyleSheet(
        QStringLiteral("#frvcr { background: black; border: 1px solid #26384c; border-radius: 3px;"
                       " margin-top: 7px; }"
                       "#frvcr::title { subcontrol-origin: margin; subcontrol-position: top center;"
                       " color: #8fc8ff; padding: 0 4px; }"
                       "QLabel { color: #e6e6e6; }"));
    frvcr->setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    frvcr->resize(slideBarWideWidth, slideBarHeight);

    cb_first = barButton(QStringLiteral("slide-first"), xFirst);
    cb_prev = barButton(QStringLiteral("slide-prev"), xPrev);
    cb_play = barButton(QStringLiteral("slide-play"), xPlay);
    cb_next = barButton(QStringLiteral("slide-next"), xNext);
    cb_last = barButton(QStringLiteral("slide-last"), xLast);
    cb_size = barButton(QStringLiteral("slide-size"), xSize);
    cb_exit = barButton(QStringLiteral("slide-exit"), xExit);
    cb_first->setToolTip(QCoreApplication::translate("phslide", "First"));
    cb_prev->setToolTip(QCoreApplication::translate("phslide", "Previous"));
    cb_next->setToolTip(QCoreApplication::translate("phslide", "Next"));
    cb_last->setToolTip(QCoreApplication::translate("phslide", "Last"));
    cb_size->setToolTip(QCoreApplication::translate("phslide", "Picture Size"));
    cb_exit->setToolTip(QCoreApplication::translate("phslide", "Exit"));
    img_play = artworkIcon(QStringLiteral("slide-play"));
    img_stop = artworkIcon(QStringLiteral("slide-stop"));

    tm_sel = new QComboBox(frvcr);
    tm_sel->setFocusPolicy(Qt::NoFocus);
    tm_sel->setToolTip(QCoreApplication::translate("phslide", "Seconds between slides"));
    tm_sel->setGeometry(xInterval, rowTop, 50, buttonSide);

    cb_hidedesc = new QPushButton(frvcr);
    cb_hidedesc->setFocusPolicy(Qt::NoFocus);
    cb_hidedesc->setAutoDefault(false);
    cb_hidedesc->setGeometry(xHideDesc, rowTop, 20, buttonSide);
    cb_hidedesc->setToolTip(QCoreApplication::translate("phslide", "Hide/Show Descriptions"));
    connect(cb_hidedesc, &QPushButton::released, this, &phslide::giveFocusBack);

    dname = new QLabel(frvcr);
    dname->setGeometry(xText, 15, slideBarWideWidth - xText - 8, 15);
    dname->setFont(QFont(QStringLiteral("Liberation Sans"), 9, QFont::Bold));
    ddesc = new QLabel(frvcr);
    ddesc->setGeometry(xText, 29, slideBarWideWidth - xText - 8, 13);
    ddesc->setStyleSheet(QStringLiteral("color: #b8b8b8;"));

    pg_scroll = new QScrollBar(Qt::Horizontal, frvcr);
    pg_scroll->setFocusPolicy(Qt::NoFocus);
    pg_scroll->setGeometry(8, 43, slideBarWideWidth - 16, 10);
    pg_scroll->setMinimum(1);
    pg_scroll->setPageStep(1);

    connect(cb_first, &QToolButton::clicked, this, &phslide::cb_first_Click);
    connect(cb_prev, &QToolButton::clicked, this, &phslide::cb_prev_Click);
    connect(cb_play, &QToolButton::clicked, this, &phslide::cb_play_Click);
    connect(cb_next, &QToolButton::clicked, this, &phslide::cb_next_Click);
    connect(cb_last, &QToolButton::clicked, this, &phslide::cb_last_Click);
    connect(cb_size, &QToolButton::clicked, this, &phslide::cb_size_Click);
    connect(cb_exit, &QToolButton::clicked, this, &phslide::cb_exit_Click);
    connect(cb_hidedesc, &QPushButton::clicked, this, &phslide::cb_hidedesc_Click);
    connect(pg_scroll, &QScrollBar::valueChanged, this, &phslide::pg_scroll_Change);
}

void phslide::Form_Load() {
    tm_sel->addItems(slideIntervals());
    tm_sel->setCurrentIndex(0);

    m_sizeTag = 'M';
    m_playTag = 'P';
    cb_play_Click(); // opens stopped

    m_slideMode = isSlideShowMode(m_a);
    m_nslides = fillSlideList(m_a);
    if (!m_slideMode) {
        for (QWidget* w :
             std::initializer_list<QWidget*>{pg_scroll, cb_first, cb_last, cb_next, cb_prev,
                                             cb_play, ddesc, dname, tm_sel, cb_hidedesc})
            w->hide();
        cb_size->move(cb_first->x(), cb_size->y());
        cb_exit->move(cb_prev->x(), cb_exit->y());
    }
    if (m_nslides < 1)
        return; // exec() closes at once

    cb_hidedesc->setText(QStringLiteral(">"));
    cb_hidedesc_Click();

    pb->setGeometry(openingPlace(m_screen));
    pbload = QImage(pb->size(), QImage::Format_RGB32);
    pbload.fill(Qt::black);
    pb->show();

    // Slide 1 is shown even though the bar starts at 1 and so does not report a change.
    pg_scroll->blockSignals(true);
    pg_scroll->setMaximum(m_nslides);
    pg_scroll->setValue(1);
    pg_scroll->blockSignals(false);
    pg_scroll_Change();
}

int phslide::exec() {
    if (m_nslides < 1)
        return QDialog::Rejected;
    return QDialog::exec();
}

void phslide::reject() {
    cb_exit_Click();
}

QString phslide::picturePath(int slot) const {
    return m_a.picdir + m_a.pics[slot].pfile.trimmed();
}

void phslide::DispSlide(int slot) {
    const PicRec& p = m_a.pics[slot];
    if (m_slideMode)
        frvcr->setTitle(slideCounter(pg_scroll->value(), m_nslides));
    dname->setText(slideName(p));
    ddesc->setText(slideDesc(p));

    // Black until the picture arrives, and black for one that cannot be read.
    pbload.fill(Qt::black);
    pb->setPicture(pbload.copy());
    ++m_drawn;
    const Fit fit = slideFit(p, pb->size());
    QList<PictureLibrary::Request> onScreen;
    m_slideRect = fit.draw ? fit.rect : QRect();
    if (fit.draw)
        onScreen.append({picturePath(slot), fit.rect.size(), fit.angle});
    m_loader.request(onScreen, nextRequest());
}

void phslide::pictureArrived(quint64 /*generation*/, int index, const QImage& image) {
    if (index != 0 || image.isNull() || m_slideRect.isEmpty())
        return;
    pbload.fill(Qt::black);
    QPainter painter(&pbload);
    painter.drawImage(m_slideRect.topLeft(), image);
    painter.end();
    pb->setPicture(pbload.copy());
    pbload.fill(Qt::black);
}

// The next slide, made after the one on show so that Next finds it in memory.
QList<PictureLibrary::Request> phslide::nextRequest() const {
    if (m_nslides < 2)
        return {};
    const int slot = m_a.wpics[nextPosition(pg_scroll->value(), m_nslides)].psel;
    const Fit fit = slideFit(m_a.pics[slot], pb->size());
    if (!fit.draw)
        return {};
    return {{picturePath(slot), fit.rect.size(), fit.angle}};
}

void phslide::pg_scroll_Change() {
    DispSlide(m_a.wpics[pg_scroll->value()].psel);
}

void phslide::cb_play_Click() {
    if (m_playTag != 'P') {
        m_playTag = 'P';
        cb_play->setIcon(img_stop);
        cb_play->setToolTip(QCoreApplication::translate("phslide", "Stop"));
        tm_sel->setEnabled(false);
        sltimer.setInterval(tm_sel->currentText().toInt() * 1000);
        sltimer.start();
    } else {
        m_playTag = 'S';
        sltimer.stop();
        cb_play->setIcon(img_play);
        cb_play->setToolTip(QCoreApplication::translate("phslide", "Play"));
        tm_sel->setEnabled(true);
    }
}

// Whatever the state, it ends stopped.
void phslide::stop() {
    m_playTag = 'P';
    cb_play_Click();
}

void phslide::cb_first_Click() {
    stop();
    pg_scroll->setValue(1);
}

void phslide::cb_last_Click() {
    stop();
    pg_scroll->setValue(m_nslides);
}

void phslide::cb_next_Click() {
    pg_scroll->setValue(nextPosition(pg_scroll->value(), m_nslides));
}

void phslide::cb_prev_Click() {
    pg_scroll->setValue(prevPosition(pg_scroll->value(), m_nslides));
}

void phslide::sltimer_Timer() {
    cb_next_Click();
}

void phslide::cb_size_Click() {
    stop();
    m_sizeTag = nextSlideSize(m_sizeTag);
    pb->clearPicture();
    pb->setGeometry(sizePlace(m_screen, slideSize(m_sizeTag)));
    pbload = QImage(pb->size(), QImage::Format_RGB32);
    DispSlide(m_a.wpics[pg_scroll->value()].psel);
}

void phslide::cb_hidedesc_Click() {
    int width = 0;
    if (!m_slideMode) {
        width = slideBarWidth(false, false, 0, cb_exit->geometry().right() + 1);
    } else if (cb_hidedesc->text() == QLatin1String("<")) {
        cb_hidedesc->setText(QStringLiteral(">"));
        width = slideBarWidth(true, false, ddesc->x(), 0);
        ddesc->hide();
        dname->hide();
    } else {
        cb_hidedesc->setText(QStringLiteral("<"));
        width = slideBarWidth(true, true, ddesc->x(), 0);
        ddesc->show();
        dname->show();
    }
    pg_scroll->resize(width - 16, pg_scroll->height());
    frvcr->setGeometry(barPlace(m_screen, width));
}

void phslide::cb_exit_Click() {
    stop();
    QDialog::reject();
}

void phslide::pb_Click() {
    frvcr->setVisible(frvcr->isHidden());
}

void phslide::Form_Click() {
    frvcr->setVisible(frvcr->isHidden());
}

void phslide::giveFocusBack() {
    activateWindow();
    setFocus();
}

void phslide::keyPressEvent(QKeyEvent* e) {
    // The keys people expect of a slide show; each does what its button does.
    const bool show = m_slideMode && m_nslides > 0;
    switch (e->key()) {
    case Qt::Key_Escape:
        cb_exit_Click();
        return;
    case Qt::Key_Space:
        if (show)
            cb_play_Click();
        return;
    case Qt::Key_Right:
        if (show)
            cb_next_Click();
        return;
    case Qt::Key_Left:
        if (show)
            cb_prev_Click();
        return;
    case Qt::Key_Home:
        if (show)
            cb_first_Click();
        return;
    case Qt::Key_End:
        if (show)
            cb_last_Click();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void phslide::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton)
        Form_Click();
}

void phslide::pointerMoved() {
    if (cursor().shape() == Qt::BlankCursor)
        unsetCursor();
    m_pointerTimer.start();
}

bool phslide::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::MouseMove || e->type() == QEvent::MouseButtonPress)
        pointerMoved();
    return QDialog::eventFilter(o, e);
}

} // namespace vimbrel
