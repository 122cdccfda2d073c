// SPDX-License-Identifier: GPL-3.0-or-later
#include "phpage.h"

#include <QCoreApplication>

#include "artwork.h"
#include "bookart.h"
#include "bookview.h"
#include "pagelogic.h"
#include "picturelibrary.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include <utility>

namespace vimbrel {

phpage::phpage(Album& a, WindowHub& hub, PictureLibrary& pictures, QWidget* parent)
    : QWidget(parent), m_a(a), m_hub(hub), m_pictures(pictures), m_loader(pictures) {
    setObjectName(QStringLiteral("phpage"));
    // The chooser's caption and icon.
    setWindowTitle(QCoreApplication::translate("phpage", "Vimbrel v 01.00"));
    setWindowIcon(artworkIcon(QStringLiteral("vimbrel")));
    setStyleSheet(QStringLiteral("#phpage { background: #e8e1d4; }"));
    setFocusPolicy(Qt::StrongFocus);

    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(16, 10, 16, 8);
    all->setSpacing(6);

    for (int i = 0; i < 2; ++i) {
        dispdesc[i] = new QLabel(this);
        dispdesc[i]->setFont(
            QFont(QStringLiteral("Liberation Sans"), 10, i ? QFont::Normal : QFont::DemiBold));
        dispdesc[i]->setStyleSheet(QStringLiteral("color: #4a3320;"));
        dispdesc[i]->setFixedHeight(18);
        all->addWidget(dispdesc[i]);
    }

    buildBook();
    all->addWidget(phpg, 0, Qt::AlignHCenter);

    auto* counters = new QWidget(this);
    buildCounters(counters);
    all->addWidget(counters);

    buildTools();
    all->addWidget(frtools, 0, Qt::AlignHCenter);
    dstat = new QLabel(this);
    dstat->setFixedHeight(18);
    dstat->setStyleSheet(QStringLiteral("color: #4a3320;"));
    all->addWidget(dstat);

    // Kept off the visible window: it only carries the album description.
    phpgname = new QLabel(QString(14, QLatin1Char(' ')), this);
    phpgname->hide();

    connect(&m_loader, &PictureLoader::arrived, this, &phpage::pictureArrived);
    pgtimer.setInterval(60);
    connect(&pgtimer, &QTimer::timeout, this, &phpage::pgtimer_Timer);

    for (int k = 0; k < 24; ++k) {
        pb[k]->hide();
        frsel[k]->hide();
        ibn[k]->hide();
    }
    applySetIt(m_a, m_tools, -1);
    applyTools();
    for (QLabel* d : dispdesc)
        d->setVisible(m_a.descon == 'y');
    adjustSize();
    setFixedSize(sizeHint());
}

phpage::~phpage() = default;

void phpage::buildBook() {
    phpg = new BookView(this);
    phpg->setObjectName(QStringLiteral("phpg"));
    phpg->setFixedSize(bookSize);
    m_book = bookPixmap(bookSize, devicePixelRatioF());
    phpg->setPicture(m_book);

    QFont caption(QStringLiteral("Liberation Sans"), 8);
    for (int k = 0; k < 24; ++k) {
        frsel[k] = new SelectionOutline(phpg);
        pb[k] = new FrameBox(k, phpg);
        ibn[k] = new QLabel(phpg);
        ibn[k]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        ibn[k]->setWordWrap(true);
        ibn[k]->setFont(caption);
        ibn[k]->setStyleSheet(QStringLiteral("color: #3b2a1a;"));
        pb[k]->setAcceptDrops(true);
        pb[k]->installEventFilter(this);
        connect(pb[k], &FrameBox::mousePressed, this, [this](int i, Qt::MouseButton b, QPoint at) {
            m_pressPos = at;
            pb_MouseDown(i, b);
        });
        connect(pb[k], &FrameBox::mouseMoved, this, &phpage::pb_MouseMove);
        connect(pb[k], &FrameBox::doubleClicked, this, &phpage::pb_DblClick);
    }

    const QRect left = leftPageRect(bookSize);
    QFont list(QStringLiteral("Liberation Sans"), 10);
    for (int i = 0; i < 2; ++i) {
        idxlst[i] = new QListWidget(phpg);
        idxlst[i]->setFont(list);
        idxlst[i]->setFrameShape(QFrame::NoFrame);
        idxlst[i]->setStyleSheet(
            QStringLiteral("QListWidget { background: transparent; color: #3b2a1a; outline: 0; }"
                           "QListWidget::item { background: transparent; border: none; }"
                           "QListWidget::item:selected { background: #c9a878; color: #1e140a; }"));
        idxlst[i]->setGeometry(left.translated(i * (bookSize.width() / 2 - left.left() + 2), 0)
                                   .adjusted(22, 16, -18, -40));
        idxlst[i]->hide();
        idxlst[i]->installEventFilter(this);
        connect(idxlst[i], &QListWidget::itemDoubleClicked, this,
                [this, i] { idxlst_DblClick(i); });
    }

    for (int i = 0; i < 2; ++i) {
        pgnum[i] = new QLabel(phpg);
        pgnum[i]->setFont(QFont(QStringLiteral("Liberation Serif"), 10, QFont::Normal, true));
        pgnum[i]->setStyleSheet(QStringLiteral("color: #6b5438;"));
        pgnum[i]->setAlignment(Qt::AlignCenter);
        pgnum[i]->setGeometry(i == 0 ? left.left() + 20 : bookSize.width() - left.left() - 80,
                              bookSize.height() - 30, 60, 18);
    }
    pgleft = new PageArrow(false, phpg);
    pgright = new PageArrow(true, phpg);
    pgleft->move(left.left() + 1, bookSize.height() - pgleft->height() - 9);
    pgright->move(bookSize.width() - left.left() - pgright->width() - 1,
                  bookSize.height() - pgright->height() - 9);
    pgleft->hide();
    pgright->hide();
    connect(pgleft, &PageArrow::clicked, this, &phpage::pgleft_Click);
    connect(pgright, &PageArrow::clicked, this, &phpage::pgright_Click);
    // Hovering a drag over an arrow turns the page; the drag goes on over the new spread.
    connect(pgleft, &PageArrow::dragEntered, this, &phpage::pgleft_Click);
    connect(pgright, &PageArrow::dragEntered, this, &phpage::pgright_Click);

    m_leaf = new LeafOverlay(phpg);
    m_leaf->setGeometry(phpg->rect());
    m_leaf->renderFrames();
    m_leaf->setStep(0);
}

void phpage::buildCounters(QWidget* host) {
    auto* row = new QHBoxLayout(host);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(6);
    const auto counter = [&](const QString& caption) {
        auto* c = new QLabel(caption, host);
        c->setStyleSheet(QStringLiteral("color: #6b5438;"));
        auto* v = new QLabel(host);
        v->setMinimumWidth(36);
        v->setFont(QFont(QStringLiteral("Liberation Sans"), 10, QFont::Bold));
        v->setStyleSheet(QStringLiteral("color: #3b2a1a;"));
        row->addWidget(c);
        row->addWidget(v);
        row->addSpacing(10);
        return v;
    };
    pgtotal = counter(QCoreApplication::translate("phpage", "Pages:"));
    frtotal = counter(QCoreApplication::translate("phpage", "Frames:"));
    pictotal = counter(QCoreApplication::translate("phpage", "Photos:"));
    seldisp = counter(QCoreApplication::translate("phpage", "Selected:"));
    row->addStretch(1);
}

void phpage::buildTools() {
    frtools = new QWidget(this);
    frtools->setObjectName(QStringLiteral("frtools"));
    frtools->setMouseTracking(true);
    frtools->installEventFilter(this);
    // Flat tools show no focus of their own: a frame in the focus colour of the book's frames.
    frtools->setStyleSheet(
        QStringLiteral("QToolButton:focus { border: 2px solid #1e5aa8; border-radius: 3px; }"));
    auto* row = new QHBoxLayout(frtools);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (int i = 0; i < toolCount; ++i) {
        it[i] = new QToolButton(frtools);
        it[i]->setObjectName(QStringLiteral("it%1").arg(i));
        it[i]->setIcon(artworkIcon(toolArt()[i]));
        it[i]->setIconSize(QSize(26, 26));
        it[i]->setFixedSize(34, 34);
        it[i]->setAutoRaise(true);
        it[i]->setAccessibleName(QCoreApplication::translate("phpage", qPrintable(toolTags()[i])));
        it[i]->installEventFilter(this);
        it[i]->setAcceptDrops(i == 4);
        row->addWidget(it[i]);
        connect(it[i], &QToolButton::clicked, this, [this, i] { it_Click(i); });
    }
    // Hidden tools keep their place, so the strip does not jump around.
    for (QToolButton* b : it) {
        QSizePolicy sp = b->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        b->setSizePolicy(sp);
    }
}

QString phpage::framePath(int slot) const {
    return m_a.picdir + m_a.pics[slot].pfile.trimmed();
}

void phpage::showSelMark(int pos, bool visible) {
    frsel[pos]->setVisible(visible);
}
void phpage::setSelCount(int n) {
    seldisp->setText(QString::number(n));
}

void phpage::setGroupLabels(int pictotalValue, int frtotalValue, const QString& dispdesc0) {
    pictotal->setText(QString::number(pictotalValue));
    frtotal->setText(QString::number(frtotalValue));
    dispdesc[0]->setText(dispdesc0);
}
void phpage::showAlbumDesc(const QString& phpgnameText) {
    phpgname->setText(phpgnameText);
}
void phpage::showPhotoCount(int gcount) {
    pictotal->setText(QString::number(gcount));
}

void phpage::blankPage() {
    for (int k = 0; k < 24; ++k)
        clearPagePosition(k);
    for (QLabel* l : {pgnum[0], pgnum[1], dispdesc[0], dispdesc[1]})
        l->clear();
    blankTotals();
}
void phpage::blankTotals() {
    for (QLabel* l : {pictotal, frtotal, pgtotal})
        l->clear();
}
void phpage::showNextPageArrow(bool visible) {
    pgright->setVisible(visible);
}

void phpage::keyPressEvent(QKeyEvent* e) {
    // The keys a reader of a book expects; each does exactly what its arrow or tool does.
    switch (e->key()) {
    case Qt::Key_PageDown:
    case Qt::Key_Right:
        pgright_Click();
        return;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
        pgleft_Click();
        return;
    case Qt::Key_Home:
        if (m_a.curpage > 0)
            it_Click(9);
        return;
    case Qt::Key_End:
        if (m_a.curpage > 0)
            it_Click(10);
        return;
    case Qt::Key_Down:
    case Qt::Key_Up:
        enterBook();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void phpage::enterBook() {
    // The spread's first frame, or the index list.
    if (m_a.curpage > 0 && pb[0]->isVisible())
        pb[0]->setFocus(Qt::OtherFocusReason);
    else if (m_a.curpage < 0 && idxlst[0]->isVisible())
        idxlst[0]->setFocus(Qt::OtherFocusReason);
}

void phpage::parkFocus() {
    QWidget* const f = focusWidget();
    for (int k = 0; k < 24; ++k)
        if (f == pb[k]) {
            m_focusFrame = k;
            setFocus(Qt::OtherFocusReason);
        }
}

void phpage::restoreFocus() {
    const int k = std::exchange(m_focusFrame, -1);
    // Moved on meanwhile (a Tab, a click): leave it there.
    if (k < 0 || focusWidget() != this)
        return;
    for (int j = k; j >= 0; --j)
        if (pb[j]->isVisible()) {
            pb[j]->setFocus(Qt::OtherFocusReason);
            return;
        }
    enterBook();
}

void phpage::closeEvent(QCloseEvent* e) {
    // Closing the main window is Exit: it asks to save first.
    e->ignore();
    m_hub.chooserExit();
}

} // namespace vimbrel
