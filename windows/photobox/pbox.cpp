// SPDX-License-Identifier: GPL-3.0-or-later
#include "pbox.h"

#include <QCoreApplication>

#include "framebox.h"

#include "dragdata.h"
#include "framefit.h"
#include "ui.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

namespace vimbrel {

namespace {

// Where the controls sit: five cells of a thumbnail and its caption, the append area after
// them, the scroll bar below, the title line with counters and buttons above.
constexpr int margin = 12;
constexpr int cellStep = 106;
constexpr int numberTop = 31;
constexpr int thumbTop = 47;
constexpr int captionTop = 122;
constexpr int scrollTop = 144;
constexpr int rollWidth = 28;
constexpr int windowWidth = margin + stripPositions * cellStep + rollWidth + margin;
constexpr int windowHeight = scrollTop + 14 + 10;

QString colour(QRgb c) {
    return QColor(c).name();
}

} // namespace

pbox::pbox(Album& a, WindowHub& hub, PictureLibrary& pictures, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_a(a),
      m_hub(hub), m_loader(pictures) {
    connect(&m_loader, &PictureLoader::arrived, this, &pbox::pictureArrived);
    setObjectName(QStringLiteral("pbox"));
    setWindowTitle(QCoreApplication::translate("pbox", "Photo Box"));
    setFixedSize(windowWidth, windowHeight);
    setMouseTracking(true);
    setAcceptDrops(true);

    fsframe = new BoxFrame(this);
    fsframe->setObjectName(QStringLiteral("fsframe"));
    fsframe->setGeometry(rect());
    fsframe->installEventFilter(this);

    buildTitleLine();
    buildStrip();

    startDrag = [this](int k, bool several) {
        makeDrag(fs[static_cast<std::size_t>(k)], QStringLiteral("fs"), several)
            ->exec(Qt::MoveAction);
    };
    showNumbers();
}

pbox::~pbox() = default;

void pbox::buildTitleLine() {
    auto* title = new QLabel(QCoreApplication::translate("pbox", "Photo Box"), fsframe);
    title->setFont(QFont(QStringLiteral("Liberation Sans"), 10, QFont::Bold));
    title->setStyleSheet(QStringLiteral("color: %1;").arg(colour(boxcolours::brown)));
    title->setGeometry(22, 6, 90, 20);
    // Held like the frame: the title line is where a user grabs a window.
    title->setAttribute(Qt::WA_TransparentForMouseEvents);

    const QFont counterFont(QStringLiteral("Liberation Sans"), 9);
    const QFont valueFont(QStringLiteral("Liberation Sans"), 9, QFont::Bold);
    const auto counter = [&](const QString& caption, int x) {
        auto* c = new QLabel(caption, fsframe);
        c->setFont(counterFont);
        c->setStyleSheet(QStringLiteral("color: #6b5438;"));
        // As wide as the caption needs: a translated one may be longer than the English.
        const int width = std::max(56, QFontMetrics(counterFont).horizontalAdvance(caption) + 4);
        c->setGeometry(x, 6, width, 20);
        c->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* v = new QLabel(QStringLiteral("0"), fsframe);
        v->setFont(valueFont);
        v->setStyleSheet(QStringLiteral("color: %1;").arg(colour(boxcolours::ink)));
        v->setGeometry(x + width, 6, 40, 20);
        v->setAttribute(Qt::WA_TransparentForMouseEvents);
        return v;
    };
    totnpbox = counter(QCoreApplication::translate("pbox", "Photos:"), 130);
    totnpbox->setObjectName(QStringLiteral("totnpbox"));
    fs_selcnt = counter(QCoreApplication::translate("pbox", "Selected:"), 236);
    fs_selcnt->setObjectName(QStringLiteral("fs_selcnt"));

    const auto button = [&](BoxButton::Glyph g, const char* name, const QString& tip, int x) {
        auto* b = new BoxButton(g, fsframe);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        b->move(x, 7);
        return b;
    };
    const int right = windowWidth - margin - 19;
    fs_select = button(BoxButton::SelectAll, "fs_select",
                       QCoreApplication::translate("pbox", "Select All / None"), right - 2 * 24);
    fs_del = button(BoxButton::Delete, "fs_del",
                    QCoreApplication::translate("pbox", "Delete Photo/s"), right - 24);
    fs_min = button(BoxButton::Hide, "fs_min",
                    QCoreApplication::translate("pbox", "Hide Photo Box"), right);
    connect(fs_select, &BoxButton::clicked, this, &pbox::fs_select_Click);
    connect(fs_del, &BoxButton::clicked, this, &pbox::fs_del_Click);
    connect(fs_min, &BoxButton::clicked, this, &pbox::fs_min_Click);
}

void pbox::buildStrip() {
    const QFont numberFont(QStringLiteral("Liberation Sans"), 8, QFont::Bold);
    const QFont captionFont(QStringLiteral("Liberation Sans"), 8);
    for (int k = 0; k < stripPositions; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const int x = margin + k * cellStep;
        fsnum[i] = new QLabel(fsframe);
        fsnum[i]->setFont(numberFont);
        fsnum[i]->setStyleSheet(QStringLiteral("color: %1;").arg(colour(boxcolours::brown)));
        fsnum[i]->setGeometry(x + 1, numberTop, thumbSize.width() - 2, 14);

        fs[i] = new StripBox(k, fsframe);
        fs[i]->setObjectName(QStringLiteral("fs%1").arg(k));
        fs[i]->setGeometry(QRect(QPoint(x, thumbTop), thumbSize));
        connect(fs[i], &StripBox::pressed, this,
                [this](int index, Qt::MouseButton b) { fs_MouseDown(index, b); });
        connect(fs[i], &DropZone::dropped, this,
                [this](int index, const QString& source) { fs_DragDrop(index, source); });

        fssel[i] = new SelectionOutline(fsframe);
        fssel[i]->setGeometry(x - 3, thumbTop - 3, thumbSize.width() + 6, thumbSize.height() + 6);
        fssel[i]->hide();

        fsn[i] = new QLabel(fsframe);
        fsn[i]->setFont(captionFont);
        fsn[i]->setStyleSheet(QStringLiteral("color: %1;").arg(colour(boxcolours::ink)));
        fsn[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        fsn[i]->setGeometry(x - 4, captionTop, thumbSize.width() + 8, 16);

        for (QWidget* w : {static_cast<QWidget*>(fs[i]), static_cast<QWidget*>(fsn[i]),
                           static_cast<QWidget*>(fsnum[i])}) {
            w->setMouseTracking(true);
            w->installEventFilter(this);
        }
    }

    fsroll = new RollArea(fsframe);
    fsroll->setObjectName(QStringLiteral("fsroll"));
    fsroll->setGeometry(margin + stripPositions * cellStep - 4, thumbTop, rollWidth,
                        thumbSize.height());
    fsroll->installEventFilter(this);
    connect(fsroll, &DropZone::dropped, this,
            [this](int, const QString& source) { fs_DragDrop(appendPosition, source); });

    fs_scroll = new StripScrollBar(fsframe);
    fs_scroll->setObjectName(QStringLiteral("fs_scroll"));
    fs_scroll->setGeometry(margin, scrollTop, stripPositions * cellStep - 10, 14);
    fs_scroll->setRange(1, 1);
    fs_scroll->setSingleStep(1);
    // A page moves by four, so the last picture stays in view and only four are drawn.
    fs_scroll->setPageStep(stripPositions - 1);
    // A light groove and a warm brown handle, like the page view's paper and leather.
    fs_scroll->setStyleSheet(QStringLiteral(
        "QScrollBar:horizontal { background: #d9ceba; height: 14px; margin: 0 15px;"
        "  border: 1px solid #c4b193; border-radius: 4px; }"
        "QScrollBar::handle:horizontal { background: #a57a55; min-width: 28px;"
        "  margin: 2px 1px; border-radius: 3px; }"
        "QScrollBar::handle:horizontal:hover { background: #7a4a2a; }"
        "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal {"
        "  width: 14px; background: #d9ceba; border: 1px solid #c4b193; border-radius: 4px;"
        "  subcontrol-origin: margin; }"
        "QScrollBar::add-line:horizontal { subcontrol-position: right; }"
        "QScrollBar::sub-line:horizontal { subcontrol-position: left; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }"));
    connect(fs_scroll, &QScrollBar::valueChanged, this, &pbox::fs_scroll_Change);
}

QString pbox::picturePath(int slot) const {
    return m_a.picdir + m_a.pics[slot].pfile.trimmed();
}

// The fitting rule of the page frames, with the strip position as the box. Until the picture
// arrives the position shows what an unreadable picture leaves.
QPixmap pbox::placeholder(int slot) {
    const Fit fit = fitPicture(m_a.pics[slot], thumbSize);
    if (!fit.draw)
        return {};
    return emptyFramePixmap(thumbSize, devicePixelRatioF());
}

// Moves what is already drawn (and what is still awaited), then asks for the positions that
// show a new picture.
void pbox::apply(const StripUpdate& u) {
    std::array<QPixmap, stripPositions> drawn;
    std::array<QString, stripPositions> captions;
    const auto waiting = m_wanted;
    for (int k = 0; k < stripPositions; ++k) {
        const auto i = static_cast<std::size_t>(k);
        drawn[i] = fs[i]->picture();
        captions[i] = fsn[i]->text();
    }
    for (int k = 0; k < stripPositions; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const int from = u.from[i];
        if (from >= 0) {
            if (from != k) {
                fs[i]->setPicture(drawn[static_cast<std::size_t>(from)]);
                fsn[i]->setText(captions[static_cast<std::size_t>(from)]);
                m_wanted[i] = waiting[static_cast<std::size_t>(from)];
            }
            continue;
        }
        m_wanted[i].reset();
        const int s = stripSlot(m_a, k);
        if (!s) {
            fs[i]->setPicture(QPixmap());
            fsn[i]->clear();
            continue;
        }
        const PicRec& p = m_a.pics[s];
        const QString shortDesc = p.psdesc.trimmed();
        fsn[i]->setText(shortDesc.isEmpty() ? p.pfile.trimmed() : shortDesc);
        fs[i]->setPicture(placeholder(s));
        const Fit fit = fitPicture(p, thumbSize);
        if (fit.draw)
            m_wanted[i] = Wanted{
                {picturePath(s), devicePixels(fit.rect.size(), devicePixelRatioF()), fit.angle},
                fit.rect};
    }
    requestPictures();
    showNumbers();
}

void pbox::requestPictures() {
    QList<PictureLibrary::Request> onScreen;
    m_requestedPositions.clear();
    for (int k = 0; k < stripPositions; ++k) {
        if (const auto& w = m_wanted[static_cast<std::size_t>(k)]) {
            onScreen.append(w->request);
            m_requestedPositions.append(k);
        }
    }
    m_loader.request(onScreen);
}

void pbox::pictureArrived(quint64 /*generation*/, int index, const QImage& image) {
    if (index < 0 || index >= m_requestedPositions.size())
        return;
    const auto i = static_cast<std::size_t>(m_requestedPositions[index]);
    if (!m_wanted[i])
        return;
    const QRect rect = m_wanted[i]->rect;
    m_wanted[i].reset();
    if (image.isNull())
        return; // the empty position stays
    if (fs[i]->picture().isNull())
        return;
    fs[i]->setPicture(framePixmap(thumbSize, devicePixelRatioF(), image, rect));
}

// Position numbers, the picture counter and the scroll bar, from the model.
void pbox::showNumbers() {
    for (int k = 0; k < stripPositions; ++k) {
        const int n = stripNumber(m_a, k);
        fsnum[static_cast<std::size_t>(k)]->setText(n ? QString::number(n) : QString());
    }
    totnpbox->setText(QString::number(m_a.npbox));
    setPboxScroll(scrollMaximum(m_a), scrollValue(m_a));
}

void pbox::showMarks() {
    for (int k = 0; k < stripPositions; ++k)
        fssel[static_cast<std::size_t>(k)]->setVisible(stripSelected(m_a, k));
    fs_selcnt->setText(QString::number(m_a.pbsel < 0 ? 0 : m_a.pbsel));
}

void pbox::LoadFS(int t) {
    apply(loadStrip(m_a, t));
    // After a read-only album the buttons a click hid come back for a writable one.
    if (t == LoadFSCode::fromStart && m_a.canwrite == 'Y') {
        fs_del->show();
        fs_select->show();
    }
}

void pbox::AddToFS(int pos) {
    apply(addToBox(m_a, pos));
    showMarks();
}

void pbox::DeletePbox() {
    // The marks stay until the caller clears the selection, as it always does next.
    apply(deleteFromBox(m_a));
}

void pbox::ResetfsCmd() {
    for (BoxButton* b : {fs_select, fs_del, fs_min})
        b->setHot(false);
}

void pbox::fs_DragDrop(int index, const QString& source) {
    if (source != QLatin1String("pb")) {
        ClearPboxSel(m_a);
        showMarks();
        return;
    }
    const PageDropResult r = dropPagePictures(m_a, index);
    if (!r.moved)
        return;
    if (r.several) {
        // PackPics has reloaded the strip through the hub (LoadFS 0).
        m_hub.DispPage(m_a.curpage);
        m_hub.DispPage(m_a.curpage + 1);
    } else {
        // The source frame is emptied where the page view shows it; after a page turn during
        // the drag it is not on the spread at all.
        for (int k = 0; k <= 23; ++k)
            if (m_a.pgframes[k] == r.clearFrame)
                m_hub.clearPagePosition(k);
        apply(r.strip);
    }
    m_hub.setPhotoCount(m_a.grps[m_a.curgrp].gcount);
    showMarks();
}

void pbox::setPboxScroll(int max, int value) {
    const QSignalBlocker quiet(fs_scroll);
    fs_scroll->setRange(1, max < 1 ? 1 : max);
    fs_scroll->setValue(value);
}

void pbox::hidePboxSelMarks() {
    for (SelectionOutline* s : fssel)
        s->hide();
}

void pbox::setPboxSelCount(int n) {
    fs_selcnt->setText(QString::number(n));
}

void pbox::fs_MouseDown(int k, Qt::MouseButton button) {
    const StripPress r = pressStrip(m_a, k, button == Qt::LeftButton);
    if (r.hideButtons) {
        fs_del->hide();
        fs_select->hide();
        return;
    }
    if (!r.handled)
        return;
    showMarks();
    if (r.startDrag)
        startDrag(k, r.several);
}

void pbox::fs_scroll_Change(int value) {
    if (m_a.npbox < 1)
        return;
    const int t = boxFirst(m_a) + value - 1;
    if (t < boxFirst(m_a) || t > 1000 || t == m_a.pbtop)
        return;
    LoadFS(t);
    showMarks();
}

void pbox::fs_select_Click() {
    selectAllOrNone(m_a);
    showMarks();
    ResetfsCmd();
}

void pbox::fs_del_Click() {
    ResetfsCmd();
    // A read-only album is never changed, even when select all made a selection.
    if (m_a.pbsel < 1 || m_a.canwrite != 'Y')
        return;
    if (m_a.ui->message(QCoreApplication::translate("pbox", "Delete Photo/s"),
                        QCoreApplication::translate("pbox", "Delete Photo/s?"), MsgIcon::Question,
                        MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    if (deleteWithFiles(m_a, [this] { DeletePbox(); }) == BoxDeleteOutcome::NotWritten)
        apply(StripUpdate::redrawAll()); // the box is back as it was
    showMarks();
}

void pbox::fs_min_Click() {
    ResetfsCmd();
    ClearPboxSel(m_a);
    showMarks();
    hide();
}

void pbox::closeEvent(QCloseEvent* e) {
    e->ignore();
    fs_min_Click();
}

namespace {

// Files from outside for a writable album; nothing for anything else.
QStringList filesFor(const Album& a, const QMimeData* m) {
    return a.canwrite == 'Y' ? droppedFiles(m) : QStringList();
}

// Files are copied, never moved: the file manager keeps them.
void acceptFiles(const Album& a, QDropEvent* e) {
    if (filesFor(a, e->mimeData()).isEmpty())
        return;
    e->setDropAction(Qt::CopyAction);
    e->accept();
}

} // namespace

void pbox::dragEnterEvent(QDragEnterEvent* e) {
    acceptFiles(m_a, e);
}

void pbox::dragMoveEvent(QDragMoveEvent* e) {
    acceptFiles(m_a, e);
}

void pbox::dropEvent(QDropEvent* e) {
    const QStringList paths = filesFor(m_a, e->mimeData());
    if (paths.isEmpty())
        return;
    e->setDropAction(Qt::CopyAction);
    e->accept();
    // Once the drop has ended: the file manager must not wait for the import's questions.
    QTimer::singleShot(0, this, [this, paths] { importFiles(paths); });
}

void pbox::importFiles(const QStringList& paths) {
    ClearPboxSel(m_a);
    showMarks();
    m_hub.importDropped(paths);
}

bool pbox::fs_KeyPress(int k, int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int step = key == Qt::Key_Left ? -1 : 1;
        const int next = k + step;
        if (next >= 0 && next < stripPositions && stripSlot(m_a, next) != 0)
            fs[static_cast<std::size_t>(next)]->setFocus(Qt::OtherFocusReason);
        else if (next < 0 || next >= stripPositions)
            fs_scroll->setValue(fs_scroll->value() + step); // the next picture comes in view
        return true;
    }
    case Qt::Key_Space:
        fs_MouseDown(k, Qt::RightButton);
        return true;
    case Qt::Key_Escape:
        m_hub.showPageView();
        return true;
    default:
        return false;
    }
}

bool pbox::eventFilter(QObject* o, QEvent* e) {
    // Moving over anything but the buttons takes their highlight away.
    if (e->type() == QEvent::MouseMove && o != fs_select && o != fs_del && o != fs_min)
        ResetfsCmd();
    if (e->type() == QEvent::KeyPress)
        for (int k = 0; k < stripPositions; ++k)
            if (o == fs[static_cast<std::size_t>(k)] &&
                (repeatedToggle(static_cast<QKeyEvent*>(e)) ||
                 fs_KeyPress(k, static_cast<QKeyEvent*>(e)->key())))
                return true;
    return QWidget::eventFilter(o, e);
}

} // namespace vimbrel
