// SPDX-License-Identifier: GPL-3.0-or-later
#include "phgrp.h"

#include <QCoreApplication>

#include "artwork.h"
#include "editorviews.h"
#include "framefit.h"
#include "textfield.h"
#include "ui.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace vimbrel {

namespace {

// Rows of the strip, top to bottom: ruler, top markers, bar, bottom markers, boundary bar.
constexpr int markerTop = 24;
constexpr int markerHeight = 16;
constexpr int barTop = 42;
constexpr int barHeight = 6;
constexpr int markerBottom = 50;
constexpr int scrollTop = 72;
constexpr int scrollHeight = 16;
constexpr int stripHeight = 96;

QString colour(QRgb c) {
    return QColor::fromRgb(c).name();
}

} // namespace

phgrp::phgrp(Album& a, WindowHub& hub, EditorPageViews& pageViews, PictureLibrary& pictures,
             QWidget* parent)
    : QDialog(parent), m_a(a), m_hub(hub), m_loader(pictures), m_pageViews(pageViews) {
    connect(&m_loader, &PictureLoader::arrived, this, &phgrp::pictureArrived);
    setObjectName(QStringLiteral("phgrp"));
    setWindowTitle(QCoreApplication::translate("phgrp", "Photo Groups"));
    setWindowIcon(artworkIcon(QStringLiteral("vimbrel")));
    setModal(true);
    setStyleSheet(QStringLiteral("#phgrp { background: %1; } QLabel { color: %2; }"
                                 "QGroupBox { color: %3; font-weight: bold; }")
                      .arg(colour(editorcolours::background), colour(editorcolours::ink),
                           colour(editorcolours::brown)) +
                  editorButtonStyle());
    buildStrip();
    buildFields();

    // Opening.
    if (a.canwrite == 'N') {
        for (QPushButton* b : {cb_add, cb_ins, cb_del, cb_delleft, cb_delright})
            b->setEnabled(false);
        dgrpname->setReadOnly(true);
        dgrpdesc->setReadOnly(true);
    }
    const int start = std::clamp<int>(a.curgrp, 1, a.ngrps);
    a.grpa = a.grps[start].gfirst;
    gbase = grpmrkgreen->x() - 1;
    grpbar->setScale(gbase, unit, markerWidth);
    SetAllGroups();
    gcur = gprev = start;
    gshowpics = 'y';
    gguard = 'y';
    SetGroup();
}

void phgrp::buildStrip() {
    grpbar = new GroupStrip(this);
    grpbar->setObjectName(QStringLiteral("grpbar"));
    grpbar->grooveTop = barTop;
    grpbar->grooveHeight = barHeight;
    // Room on the left for the boundary bar's end block and a marker before frame 1.
    const int origin = markerWidth + blockWidth + 6;
    grpbar->setFixedSize(origin + 500 * unit + blockWidth + 8, stripHeight);

    grpmrkgreen = new QFrame(grpbar);
    grpmrkgreen->setObjectName(QStringLiteral("grpmrkgreen"));
    grpmrkgreen->setGeometry(origin, markerTop, 3, markerBottom + markerHeight - markerTop);
    grpmrkgreen->setStyleSheet(
        QStringLiteral("background: %1; border-radius: 1px;").arg(colour(editorcolours::origin)));
    grpmrkgreen->setToolTip(QCoreApplication::translate("phgrp", "Frame 1"));

    grpmrkred = new QFrame(grpbar);
    grpmrkred->setObjectName(QStringLiteral("grpmrkred"));
    grpmrkred->setStyleSheet(
        QStringLiteral("background: %1; border-radius: 2px;").arg(colour(editorcolours::current)));

    for (int i = 0; i < 42; ++i) {
        grpbt[i] = new GroupMarker(i, true, grpbar);
        grpbt[i]->setObjectName(QStringLiteral("grpbt%1").arg(i));
        grpbb[i] = new GroupMarker(i, false, grpbar);
        grpbb[i]->setObjectName(QStringLiteral("grpbb%1").arg(i));
        for (GroupMarker* m : {grpbt[i], grpbb[i]}) {
            m->resize(markerWidth, markerHeight);
            connect(m, &GroupMarker::pressed, this, &phgrp::grpbt_MouseDown);
        }
        grpbt[i]->move(0, markerTop);
        grpbb[i]->move(0, markerBottom);
    }

    gscroll = new QScrollBar(Qt::Horizontal, grpbar);
    gscroll->setObjectName(QStringLiteral("gscroll"));
    gscroll->setFocusPolicy(Qt::NoFocus);
    gscroll->setSingleStep(1);
    gscroll->setPageStep(1);
    // The groove sits between the end blocks; the handle is exactly one marker wide, so it
    // stands on the marker of the frame it holds.
    gscroll->setStyleSheet(
        QStringLiteral(
            "QScrollBar:horizontal { background: #d9ceba; margin: 0 %1px; border: none; }"
            "QScrollBar::handle:horizontal { background: %2; min-width: %3px; max-width: %3px;"
            "  border-radius: 3px; }"
            "QScrollBar::handle:horizontal:hover { background: #ff4030; }"
            "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal {"
            "  width: %1px; subcontrol-origin: margin; background: %4; }"
            "QScrollBar::add-line:horizontal { subcontrol-position: right; }"
            "QScrollBar::sub-line:horizontal { subcontrol-position: left; }"
            "QScrollBar::add-page, QScrollBar::sub-page { background: none; }")
            .arg(blockWidth)
            .arg(colour(editorcolours::current))
            .arg(markerWidth)
            .arg(colour(editorcolours::brown)));
    gscroll->hide();
    connect(gscroll, &QScrollBar::valueChanged, this, &phgrp::gscroll_Change);
    for (int i = 0; i < 2; ++i) {
        gblock[i] = new QFrame(grpbar);
        gblock[i]->setObjectName(QStringLiteral("gblock%1").arg(i));
        gblock[i]->setStyleSheet(QStringLiteral("background: %1; border-radius: 3px;")
                                     .arg(colour(editorcolours::brown)));
        gblock[i]->hide();
    }
}

void phgrp::buildFields() {
    const auto caption = [this](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setStyleSheet(QStringLiteral("color: %1;").arg(colour(editorcolours::label)));
        return l;
    };
    const auto value = [](const char* name, QWidget* parent) {
        auto* l = new QLabel(parent);
        l->setObjectName(QLatin1String(name));
        l->setMinimumWidth(44);
        l->setStyleSheet(
            QStringLiteral("color: %1; font-weight: bold;").arg(colour(editorcolours::ink)));
        return l;
    };
    dgrpnbr = value("dgrpnbr", this);
    dgrpname = new QLineEdit(this);
    dgrpname->setObjectName(QStringLiteral("dgrpname"));
    dgrpname->setMaxLength(30);
    dgrpdesc = new QLineEdit(this);
    dgrpdesc->setObjectName(QStringLiteral("dgrpdesc"));
    dgrpdesc->setMaxLength(50);
    for (QLineEdit* e : {dgrpname, dgrpdesc}) {
        e->installEventFilter(this);
        // The well is light whatever the desktop's palette: its text is the book's ink too.
        e->setStyleSheet(QStringLiteral("QLineEdit { background: %1; color: %2;"
                                        " border: 1px solid #c4b193; border-radius: 3px;"
                                        " padding: 2px 4px; }")
                             .arg(colour(editorcolours::well), colour(editorcolours::ink)));
    }
    QLabel* nameCount = limitField(dgrpname, this);
    QLabel* descCount = limitField(dgrpdesc, this);
    dgrpname->setMinimumWidth(250);
    dgrpdesc->setMinimumWidth(400);

    grpframes = new QGroupBox(this);
    grpframes->setObjectName(QStringLiteral("grpframes"));
    grpfr = value("grpfr", grpframes);
    grpto = value("grpto", grpframes);
    grpnpics = value("grpnpics", grpframes);
    const auto pictureBox = [this](const char* name) {
        auto* l = new QLabel(grpframes);
        l->setObjectName(QLatin1String(name));
        l->setFixedSize(pictureSize);
        l->setAlignment(Qt::AlignCenter);
        l->setStyleSheet(QStringLiteral("background: %1; border: 1px solid #c4b193;")
                             .arg(colour(editorcolours::well)));
        return l;
    };
    frpic = pictureBox("frpic");
    topic = pictureBox("topic");
    auto* frames = new QGridLayout(grpframes);
    frames->setHorizontalSpacing(10);
    auto* from = new QHBoxLayout;
    from->addWidget(caption(QCoreApplication::translate("phgrp", "From:")));
    from->addWidget(grpfr);
    from->addStretch(1);
    auto* to = new QHBoxLayout;
    to->addWidget(caption(QCoreApplication::translate("phgrp", "To:")));
    to->addWidget(grpto);
    to->addStretch(1);
    auto* count = new QHBoxLayout;
    count->addWidget(caption(QCoreApplication::translate("phgrp", "Photos:")));
    count->addWidget(grpnpics);
    count->addStretch(1);
    frames->addLayout(from, 0, 0);
    frames->addLayout(to, 0, 1);
    frames->addWidget(frpic, 1, 0);
    frames->addWidget(topic, 1, 1);
    frames->addLayout(count, 2, 0, 1, 2);

    const auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setMinimumSize(112, 34);
        b->setAutoDefault(false);
        return b;
    };
    cb_add = button("cb_add", QCoreApplication::translate("phgrp", "&Add"));
    cb_ins = button("cb_ins", QCoreApplication::translate("phgrp", "&Insert"));
    cb_del = button("cb_del", QCoreApplication::translate("phgrp", "&Delete"));
    cb_delleft = button("cb_delleft", QCoreApplication::translate("phgrp", "Merge &Left"));
    cb_delright = button("cb_delright", QCoreApplication::translate("phgrp", "Merge Ri&ght"));
    cb_ok = button("cb_ok", QCoreApplication::translate("phgrp", "&Return"));
    cb_ok->setIcon(artworkIcon(QStringLiteral("return")));
    cb_ok->setIconSize(QSize(22, 22));
    connect(cb_add, &QPushButton::clicked, this, &phgrp::cb_add_Click);
    connect(cb_ins, &QPushButton::clicked, this, &phgrp::cb_ins_Click);
    connect(cb_del, &QPushButton::clicked, this, &phgrp::cb_del_Click);
    connect(cb_delleft, &QPushButton::clicked, this, &phgrp::cb_delleft_Click);
    connect(cb_delright, &QPushButton::clicked, this, &phgrp::cb_delright_Click);
    connect(cb_ok, &QPushButton::clicked, this, &phgrp::cb_ok_Click);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(10);
    fields->addWidget(caption(QCoreApplication::translate("phgrp", "Group:")), 0, 0);
    fields->addWidget(dgrpnbr, 0, 1, Qt::AlignLeft);
    // Alt+N and Alt+C reach the two boxes from the keyboard.
    QLabel* nameCaption = caption(QCoreApplication::translate("phgrp", "&Name:"));
    nameCaption->setBuddy(dgrpname);
    QLabel* descCaption = caption(QCoreApplication::translate("phgrp", "Des&c:"));
    descCaption->setBuddy(dgrpdesc);
    fields->addWidget(nameCaption, 1, 0);
    fields->addWidget(dgrpname, 1, 1);
    fields->addWidget(descCaption, 2, 0);
    fields->addWidget(dgrpdesc, 2, 1);
    fields->addWidget(nameCount, 1, 2);
    fields->addWidget(descCount, 2, 2);
    fields->setRowStretch(3, 1);
    fields->setColumnStretch(1, 1);
    auto* middle = new QHBoxLayout;
    middle->setSpacing(18);
    middle->addLayout(fields, 1);
    middle->addWidget(grpframes);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    for (QPushButton* b : {cb_add, cb_ins, cb_del, cb_delleft, cb_delright})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cb_ok);

    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(14, 14, 14, 12);
    all->setSpacing(14);
    all->addWidget(grpbar);
    all->addLayout(middle, 1);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);
}

void phgrp::GetLastPic() {
    glastpic = vimbrel::GetLastPic(m_a);
}

void phgrp::SetAllGroups() {
    for (int i = 0; i < 42; ++i) {
        const bool shown = i < m_a.ngrps;
        for (GroupMarker* m : {grpbt[i], grpbb[i]}) {
            m->setVisible(shown);
            m->setColour(QColor::fromRgb(editorcolours::marker));
        }
        if (shown)
            placeMarkers(i + 1);
    }
    GetLastPic();
}

void phgrp::placeMarkers(int g) {
    const GrpRec& r = m_a.grps[g];
    const int x = metrics().marker(r.glast);
    grpbt[g - 1]->move(x, markerTop);
    grpbb[g - 1]->move(x, markerBottom);
    const QString tip = QCoreApplication::translate("phgrp", "Group %1: %2  (frames %3 to %4)")
                            .arg(g)
                            .arg(r.gname.trimmed())
                            .arg(r.gfirst)
                            .arg(r.glast);
    grpbt[g - 1]->setToolTip(tip);
    grpbb[g - 1]->setToolTip(tip);
}

void phgrp::SetGroup() {
    const GrpRec& g = m_a.grps[gcur];
    if (m_a.canwrite == 'Y') {
        const GroupButtons b = groupButtons(m_a, gcur);
        cb_add->setEnabled(b.add);
        cb_ins->setEnabled(b.ins);
        cb_del->setEnabled(b.del);
        cb_delleft->setEnabled(b.left);
        cb_delright->setEnabled(b.right);
    }
    grpbt[gprev - 1]->setColour(QColor::fromRgb(editorcolours::marker));
    grpbb[gprev - 1]->setColour(QColor::fromRgb(editorcolours::marker));
    grpbt[gcur - 1]->setColour(QColor::fromRgb(editorcolours::current));
    grpbb[gcur - 1]->setColour(QColor::fromRgb(editorcolours::current));

    dgrpnbr->setText(QString::number(gcur));
    dgrpname->setText(g.gname.trimmed());
    dgrpdesc->setText(g.gdesc.trimmed());
    grpfr->setText(QString::number(g.gfirst));
    grpto->setText(QString::number(g.glast));
    grpnpics->setText(QString::number(g.gcount));
    gframes = g.glast - g.gfirst + 1;
    grpframes->setTitle(framesCaption(gframes));

    // Worked out afresh: a boundary move may have handed the last group new pictures.
    GetLastPic();
    const BoundaryRange range = boundaryRange(m_a, gcur, glastpic);
    gmin = range.gmin;
    gmax = range.gmax;
    if (m_a.canwrite == 'Y' && range.movable()) {
        gguard = 'n';
        gscroll->setRange(gmin, gmax);
        const BoundaryBar bar = boundaryBar(metrics(), gmin, gmax);
        gscroll->setGeometry(bar.bar.left, scrollTop, bar.bar.width, scrollHeight);
        gblock[0]->setGeometry(bar.block0, scrollTop, blockWidth, scrollHeight);
        gblock[1]->setGeometry(bar.block1, scrollTop, blockWidth, scrollHeight);
        // Shown without hiding first, so a drag of the handle goes on through the updates.
        gscroll->show();
        for (QFrame* b : gblock) {
            b->show();
            b->raise();
        }
        gscroll->setValue(g.glast);
        gguard = 'y';
    } else {
        gscroll->hide();
        for (QFrame* b : gblock)
            b->hide();
    }

    placeMarkers(gcur);
    const Span red = redBar(metrics(), g.gfirst, g.glast);
    grpmrkred->setGeometry(red.left, barTop, std::max(red.width, 1), barHeight);
    if (gshowpics == 'y')
        showPictures(g.gfirst, g.glast);
    else
        m_loader.cancel();
    gprev = gcur;
}

// The pictures of the group's first and last frames, each drawn when it arrives.
void phgrp::showPictures(int first, int last) {
    QList<PictureLibrary::Request> onScreen;
    m_pictureBoxes.clear();
    const qreal dpr = devicePixelRatioF();
    for (const auto& [box, frame] : {std::pair{frpic, first}, std::pair{topic, last}}) {
        box->clear();
        const Integer s = m_a.frames[frame];
        if (s < 1)
            continue;
        const PicRec& p = m_a.pics[s];
        const Fit fit = fitPicture(p, pictureSize);
        if (!fit.draw)
            continue;
        onScreen.append(
            {m_a.picdir + p.pfile.trimmed(), devicePixels(fit.rect.size(), dpr), fit.angle});
        m_pictureBoxes.append({box, fit.rect});
    }
    m_loader.request(onScreen);
}

void phgrp::pictureArrived(quint64 /*generation*/, int index, const QImage& image) {
    if (index < 0 || index >= m_pictureBoxes.size() || image.isNull())
        return;
    const auto& [box, rect] = m_pictureBoxes[index];
    box->setPixmap(framePixmap(pictureSize, devicePixelRatioF(), image, rect));
}

void phgrp::grpbt_MouseDown(int index) {
    // An edit in a text box belongs to the group it was typed for.
    if (!leaveBoxes())
        return;
    gcur = index + 1;
    if (gcur != gprev)
        SetGroup();
}

void phgrp::gscroll_Change(int value) {
    if (gguard == 'n' || value == m_a.grps[gcur].glast)
        return;
    commitQuietly();
    if (!moveBoundary(m_a, gcur, value)) {
        gguard = 'n';
        gscroll->setValue(m_a.grps[gcur].glast);
        gguard = 'y';
        return;
    }
    gdirty = 'y';
    if (gcur < m_a.ngrps)
        placeMarkers(gcur + 1);
    SetGroup();
}

bool phgrp::dgrpname_LostFocus() {
    m_nameCheckPending = false;
    if (m_a.canwrite != 'Y')
        return true;
    bool renamed = false;
    if (!setGroupName(m_a, gcur, dgrpname->text(), &renamed)) {
        m_a.ui->message(QCoreApplication::translate("phgrp", "Group Name Error"),
                        QCoreApplication::translate("phgrp", "Group Name Can Not Be Blank"),
                        MsgIcon::Information);
        dgrpname->setFocus();
        return false;
    }
    if (renamed) {
        gdirty = 'y';
        placeMarkers(gcur);
    }
    return true;
}

void phgrp::dgrpdesc_LostFocus() {
    if (m_a.canwrite == 'Y' && setGroupDesc(m_a, gcur, dgrpdesc->text()))
        gdirty = 'y';
}

// The texts typed so far, without a word about a blank name (the stored name stays).
void phgrp::commitQuietly() {
    if (m_a.canwrite != 'Y')
        return;
    dgrpdesc_LostFocus();
    bool renamed = false;
    if (setGroupName(m_a, gcur, dgrpname->text(), &renamed) && renamed)
        gdirty = 'y';
}

bool phgrp::leaveBoxes() {
    if (m_a.canwrite != 'Y')
        return true;
    dgrpdesc_LostFocus();
    return dgrpname_LostFocus();
}

bool phgrp::eventFilter(QObject* o, QEvent* e) {
    if (o == dgrpname || o == dgrpdesc) {
        if (e->type() == QEvent::FocusIn && m_a.canwrite != 'Y') {
            QTimer::singleShot(0, cb_ok, [this] { cb_ok->setFocus(); });
        } else if (e->type() == QEvent::FocusOut && m_a.canwrite == 'Y') {
            const auto reason = static_cast<QFocusEvent*>(e)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                if (o == dgrpdesc) {
                    dgrpdesc_LostFocus();
                } else {
                    // Checked once the focus has settled, outside the focus change; an action
                    // that runs first checks the name itself and cancels this.
                    m_nameCheckPending = true;
                    QTimer::singleShot(0, this, [this] {
                        if (m_nameCheckPending && isVisible())
                            dgrpname_LostFocus();
                    });
                }
            }
        }
    }
    return QDialog::eventFilter(o, e);
}

void phgrp::applyEffect(PageViewEffect effect) {
    if (effect == PageViewEffect::Blank)
        m_pageViews.blankPageView();
    else if (effect == PageViewEffect::BlankTotals)
        m_pageViews.blankPageTotals();
}

void phgrp::cb_add_Click() {
    if (!leaveBoxes() || addGroup(m_a) == 0)
        return;
    grpbt[m_a.ngrps - 1]->show();
    grpbb[m_a.ngrps - 1]->show();
    gdirty = 'y';
    GetLastPic();
    gcur = m_a.ngrps;
    placeMarkers(gcur);
    SetGroup();
}

void phgrp::cb_ins_Click() {
    if (!leaveBoxes() || !insertGroup(m_a, gcur))
        return;
    gdirty = 'y';
    SetAllGroups();
    SetGroup();
}

void phgrp::cb_del_Click() {
    askThenChange(QCoreApplication::translate("phgrp", "Delete Group"), deleteQuestion,
                  [this] { return deleteGroup(m_a, gcur); });
}

void phgrp::cb_delleft_Click() {
    askThenChange(QCoreApplication::translate("phgrp", "Merge Left Group"), mergeLeftQuestion,
                  [this] { return mergeLeft(m_a, gcur); });
}

void phgrp::cb_delright_Click() {
    askThenChange(QCoreApplication::translate("phgrp", "Merge Right Group"), mergeRightQuestion,
                  [this] { return mergeRight(m_a, gcur); });
}

// Delete and both merges lose a group: the user says yes first, then the groups are redrawn.
void phgrp::askThenChange(const QString& title, QString (*question)(const Album&, int),
                          const std::function<PageViewEffect()>& change) {
    if (!leaveBoxes())
        return;
    if (m_a.ui->message(title, question(m_a, gcur), MsgIcon::Question, MsgButtons::YesNo) !=
        MsgAnswer::Yes)
        return;
    BusyPointer busy(*m_a.ui);
    applyEffect(change());
    gdirty = 'y';
    SetAllGroups();
    SetGroup();
}

void phgrp::cb_ok_Click() {
    if (!leaveBoxes())
        return;
    finish();
}

void phgrp::finish() {
    if (m_finished)
        return;
    m_finished = true;
    m_nameCheckPending = false;
    returnToPageView(m_a, m_hub, &m_pageViews, gcur, gdirty == 'y');
    done(Accepted);
}

void phgrp::reject() {
    commitQuietly();
    finish();
}

void phgrp::closeEvent(QCloseEvent* e) {
    if (!m_finished)
        reject();
    e->accept();
}

} // namespace vimbrel
