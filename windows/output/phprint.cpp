// SPDX-License-Identifier: GPL-3.0-or-later
#include "phprint.h"

#include "artwork.h"
#include "memorytuning.h"
#include "pagesender.h"
#include "ui.h"

#include <QApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace vimbrel {

namespace {

const char* const layoutNames[layoutCount] = {
    QT_TRANSLATE_NOOP("phprint", "5 x 3 in, three a page"),
    QT_TRANSLATE_NOOP("phprint", "6 x 4 in, two a page"),
    QT_TRANSLATE_NOOP("phprint", "7 x 5 in, two a page"),
    QT_TRANSLATE_NOOP("phprint", "8 x 10 in, one a page"),
    QT_TRANSLATE_NOOP("phprint", "Contact sheet, 45 a page"),
    QT_TRANSLATE_NOOP("phprint", "4 x 6 in page")};

// Where the cells of `layout` lie on its page drawn `scale` times the printed size: the printed
// arithmetic, scaled, so that small drawings keep its proportions (its margins are in pixels);
// a line of paper is left between neighbours.
QList<QRect> sketchCells(int layout, double scale) {
    const PageGeometry g = pageGeometry(layout);
    QList<QRect> cells;
    for (int i = 0; i < g.perPage(); ++i) {
        const QRectF r(QPointF(g.cellOrigin(i)) * scale, QSizeF(g.cell) * scale);
        cells.append(QRect(QPoint(qRound(r.left()), qRound(r.top())),
                           QPoint(qRound(r.right()) - 2, qRound(r.bottom()) - 2)));
    }
    return cells;
}

// The layout as a small page with its cells, at one scale for all six so the 4 x 6 page looks
// as small as it is.
QIcon layoutIcon(int layout) {
    constexpr double scale = 44.0 / 3300;
    const QSize page = (QSizeF(pageGeometry(layout).page) * scale).toSize();
    const QSize side(48, 48);
    QPixmap pm(side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const QPoint at((side.width() - page.width()) / 2, (side.height() - page.height()) / 2);
    p.fillRect(QRect(at, page), Qt::white);
    p.setPen(QColor(120, 120, 120));
    p.drawRect(QRect(at, page).adjusted(0, 0, -1, -1));
    for (const QRect& cell : sketchCells(layout, scale))
        p.fillRect(cell.translated(at), QColor(92, 132, 178));
    return QIcon(pm);
}

} // namespace

PagePreview::PagePreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 300);
}

void PagePreview::setPage(const QImage& page) {
    m_page = page;
    m_shown = QImage();
    update();
}

void PagePreview::resizeEvent(QResizeEvent* e) {
    m_shown = QImage();
    QWidget::resizeEvent(e);
}

void PagePreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(96, 96, 96));
    if (m_page.isNull())
        return;
    const QSize room = size() - QSize(24, 24);
    const qreal dpr = devicePixelRatioF();
    if (m_shown.isNull()) {
        m_shown = m_page.scaled(room * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        m_shown.setDevicePixelRatio(dpr);
    }
    const QSize drawn = (QSizeF(m_shown.size()) / dpr).toSize();
    const QPoint at((width() - drawn.width()) / 2, (height() - drawn.height()) / 2);
    p.fillRect(QRect(at + QPoint(4, 4), drawn), QColor(0, 0, 0, 90));
    p.drawImage(at, m_shown);
}

phprint::phprint(Album& a, PictureLibrary& pictures, PrinterSetup& printers, QWidget* parent)
    : QDialog(parent), m_a(a), m_pictures(pictures), m_printers(printers) {
    setObjectName(QStringLiteral("phprint"));
    setWindowTitle(QCoreApplication::translate("phprint", "Vimbrel Print"));

    frscr = new QFrame(this);
    auto* outer = new QGridLayout(this);
    outer->addWidget(frscr, 0, 0, Qt::AlignCenter);

    frlayout = new QGroupBox(QCoreApplication::translate("phprint", " Layout "), frscr);
    auto* buttons = new QVBoxLayout(frlayout);
    selfrm = new QFrame(frlayout);
    selfrm->setObjectName(QStringLiteral("selfrm"));
    selfrm->setStyleSheet(QStringLiteral("#selfrm { border: 2px solid palette(highlight);"
                                         " border-radius: 3px; }"));
    for (int i = 0; i < layoutCount; ++i) {
        frmtype[i] = new QToolButton(frlayout);
        frmtype[i]->setObjectName(QStringLiteral("frmtype%1").arg(i));
        frmtype[i]->setIcon(layoutIcon(i));
        frmtype[i]->setIconSize(QSize(48, 48));
        frmtype[i]->setAutoRaise(true);
        frmtype[i]->setCheckable(true);
        frmtype[i]->setToolTip(QCoreApplication::translate("phprint", layoutNames[i]));
        frmtype[i]->setAccessibleName(QCoreApplication::translate("phprint", layoutNames[i]));
        buttons->addWidget(frmtype[i]);
        connect(frmtype[i], &QToolButton::clicked, this, [this, i] { frmtype_Click(i); });
    }
    selfrm->lower();

    imgdisp = new PagePreview(frscr);
    prstat = new QLabel(frscr);
    prstat->setObjectName(QStringLiteral("prstat"));
    prstat->setMinimumWidth(220);

    cplit = new QLabel(QCoreApplication::translate("phprint", "Copies:"), frscr);
    prtcp = new QLineEdit(frscr);
    prtcp->setObjectName(QStringLiteral("prtcp"));
    prtcp->setMaxLength(4);
    prtcp->setFixedWidth(48);
    // Pasted or dropped text is held to digits too.
    prtcp->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), prtcp));
    prtcp->installEventFilter(this);
    cplit->setBuddy(prtcp);
    cplit2 = new QLabel(frscr);
    auto* copies = new QHBoxLayout;
    copies->addWidget(cplit);
    copies->addWidget(prtcp);
    copies->addWidget(cplit2);
    copies->addStretch();

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, frscr);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setMinimumWidth(120);
        return b;
    };
    cb_print = button("cb_print", QCoreApplication::translate("phprint", "&Print"));
    cb_printset = button("cb_printset", QCoreApplication::translate("phprint", "&Set Printer"));
    cb_cancelprint = button("cb_cancelprint", QCoreApplication::translate("phprint", "&Cancel"));
    cb_cancel = button("cb_cancel", QCoreApplication::translate("phprint", "&Return"));
    cb_cancel->setIcon(artworkIcon(QStringLiteral("return")));
    cb_print->setDefault(true);
    cb_cancelprint->setEnabled(false);

    auto* side = new QVBoxLayout;
    side->addLayout(copies);
    side->addStretch();
    for (QPushButton* b : {cb_print, cb_printset, cb_cancelprint, cb_cancel})
        side->addWidget(b);

    auto* body = new QGridLayout(frscr);
    body->addWidget(frlayout, 0, 0, 2, 1);
    body->addWidget(imgdisp, 0, 1);
    body->addWidget(prstat, 1, 1);
    body->addLayout(side, 0, 2, 2, 1);
    body->setColumnStretch(1, 1);

    connect(cb_print, &QPushButton::clicked, this, &phprint::cb_print_Click);
    connect(cb_printset, &QPushButton::clicked, this, &phprint::cb_printset_Click);
    connect(cb_cancelprint, &QPushButton::clicked, this, &phprint::cb_cancelprint_Click);
    connect(cb_cancel, &QPushButton::clicked, this, &phprint::cb_cancel_Click);

    // Form_Load
    m_nprint = ListSelectedSlots(m_a);
    for (QWidget* w : std::initializer_list<QWidget*>{cplit, prtcp, cplit2})
        w->setVisible(m_nprint == 1);
    frmtype_Click(openingLayout);
}

void phprint::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // The buttons have their places only once the window is laid out.
    placeSelFrame();
}

void phprint::frmtype_Click(int index) {
    if (index < 0 || index >= layoutCount)
        return;
    prstat->clear();
    m_layout = index;
    const PrintLayout& l = printLayout(index);
    m_maxcopies = l.maxcopies;
    prtcp->setText(QStringLiteral("1"));
    cplit2->setText(copiesHint(m_maxcopies));
    m_pages = printPageCount(m_nprint, l.perPage());
    m_geo = pageGeometry(index);
    pb = QImage(m_geo.page, QImage::Format_RGB32);
    pb.fill(Qt::white);
    pbload = QImage(m_geo.cell, QImage::Format_RGB32);
    pbload.fill(Qt::white);
    imgdisp->setPage(layoutSketch());
    for (int i = 0; i < layoutCount; ++i)
        frmtype[i]->setChecked(i == index);
    placeSelFrame();
}

QImage phprint::layoutSketch() const {
    // Until a page is composed, the preview shows where the photos will go.
    constexpr double scale = 0.2;
    QImage img((QSizeF(m_geo.page) * scale).toSize(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (const QRect& cell : sketchCells(m_layout, scale))
        p.fillRect(cell, QColor(214, 220, 230));
    return img;
}

void phprint::placeSelFrame() {
    const QRect r = frmtype[m_layout]->geometry();
    selfrm->setGeometry(r.adjusted(-3, -3, 3, 3));
}

void phprint::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    placeSelFrame();
}

std::optional<CellPlacement> phprint::placementOf(int slot, CellPicture* picture) const {
    if (slot < 1 || slot > 1000)
        return std::nullopt;
    const PicRec& p = m_a.pics[slot];
    const CellPlacement c = cellPlacement(QSize(p.pwidth, p.pheight), pbload.size());
    if (c.rect.isEmpty())
        return std::nullopt;
    *picture = {m_a.picdir + p.pfile.trimmed(), c.rect.size(), c.rotation};
    return c;
}

void phprint::SetPic(int slot) {
    pbload.fill(Qt::white);
    CellPicture picture;
    const std::optional<CellPlacement> c = placementOf(slot, &picture);
    if (!c)
        return;
    // A cell still being made is waited for with the window alive, so Cancel stops the wait.
    while (m_cells && !m_cells->ready(picture))
        if (waitForEvents())
            return;
    QPainter painter(&pbload);
    std::unique_ptr<CellPictures> once;
    CellPictures& cells = m_cells ? *m_cells : *(once = std::make_unique<CellPictures>(m_pictures));
    const QImage img = cells.take(picture);
    if (!img.isNull())
        painter.drawImage(c->rect.topLeft(), img);
}

void phprint::cb_printset_Click() {
    offerPrinterSetup();
}

bool phprint::offerPrinterSetup() {
    prstat->clear();
    // The dialog offers the paper the layout was composed for.
    setPaper(m_printers.printer(), printLayout(m_layout).page);
    return m_printers.setup(QCoreApplication::translate("phprint", "Printer Setup"), this);
}

void phprint::cb_print_Click() {
    if (m_printing)
        return;
    const int perPage = printLayout(m_layout).perPage();
    if (m_nprint == 1) {
        const std::optional<int> copies = parseCopies(prtcp->text(), m_maxcopies);
        if (!copies) {
            m_a.ui->message(QCoreApplication::translate("phprint", "Print"),
                            QCoreApplication::translate("phprint", "Invalid Number of Copies"),
                            MsgIcon::Information);
            prtcp->setFocus();
            return;
        }
        m_prtcopies = *copies;
        m_pages = printPageCount(m_prtcopies, perPage);
    } else {
        m_prtcopies = 1;
    }
    if (!offerPrinterSetup())
        return;
    // The dialog sets the printer's own default paper; the pages are composed for this one.
    setPaper(m_printers.printer(), printLayout(m_layout).page);

    BusyPointer busy(*m_a.ui);
    m_printing = true;
    m_prtcancel = 'n';
    setIdle(false);
    runPages();
    prstat->setText(m_prtcancel == 'y' ? QCoreApplication::translate("phprint", "Print Canceled")
                                       : completedStatus(m_pages));
    setIdle(true);
    m_printing = false;
}

void phprint::runPages() {
    PageSender sender(m_printers.printer(), printDpi,
                      QStringLiteral("Vimbrel - %1").arg(m_a.albname.trimmed()));
    QString error;
    pb.fill(Qt::white);
    m_cells = std::make_unique<CellPictures>(m_pictures);
    // The picture of cell n, 0 past the last.
    auto slotOf = [this](int n) {
        if (m_nprint == 1 ? n > m_prtcopies : n > m_nprint)
            return 0;
        return int(m_a.wpics[m_nprint == 1 ? 1 : n].psel);
    };
    int n = 1;
    for (int page = 1; page <= m_pages; ++page) {
        if (yieldToEvents())
            break;
        bool last = false;
        for (int cell = 0; cell < m_geo.perPage() && !last; ++cell) {
            if (yieldToEvents())
                break;
            // This cell's picture and the next one are made on both cores.
            for (int k = n; k <= n + 1; ++k) {
                CellPicture ahead;
                if (placementOf(slotOf(k), &ahead))
                    m_cells->ahead(ahead);
            }
            SetPic(slotOf(n));
            yieldToEvents();
            QPainter(&pb).drawImage(m_geo.cellOrigin(cell), pbload);
            pbload.fill(Qt::white);
            ++n;
            last = m_nprint == 1 ? n > m_prtcopies : n > m_nprint;
        }
        if (yieldToEvents())
            break;
        imgdisp->setPage(pb);
        prstat->setText(generatingStatus(page, m_pages));
        if (onPage)
            onPage(page, pb);
        if (!sender.send(pb, &error)) {
            m_a.ui->message(QCoreApplication::translate("phprint", "Print - ERROR"), error,
                            MsgIcon::Critical);
            m_prtcancel = 'y';
            break;
        }
        pb.fill(Qt::white);
        if (last)
            break;
    }
    sender.finish(&error);
    m_cells.reset();
    releasePictureBuffers();
}

bool phprint::waitForEvents() {
    QEventLoop loop; // asleep, not spinning: the cell is made on these cores
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
    return m_prtcancel == 'y';
}

bool phprint::yieldToEvents() {
    QApplication::processEvents();
    return m_prtcancel == 'y';
}

void phprint::setIdle(bool idle) {
    for (QWidget* w : std::initializer_list<QWidget*>{frlayout, cb_printset, cb_print, cb_cancel})
        w->setEnabled(idle);
    cb_cancelprint->setEnabled(!idle);
    if (!idle)
        cb_cancelprint->setFocus();
}

void phprint::cb_cancelprint_Click() {
    m_prtcancel = 'y';
}

void phprint::cb_cancel_Click() {
    if (!m_printing)
        accept();
}

void phprint::reject() {
    // Closing the window mid-job stops the job first; the loop still runs on this window.
    if (m_printing) {
        m_prtcancel = 'y';
        return;
    }
    QDialog::reject();
}

bool phprint::prtcp_KeyPress(QKeyEvent* e) {
    const QString t = e->text();
    if (t.isEmpty())
        return false; // moving keys are no characters
    const QChar c = t.at(0);
    return !((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QChar(8));
}

bool phprint::eventFilter(QObject* o, QEvent* e) {
    if (o == prtcp && e->type() == QEvent::KeyPress)
        return prtcp_KeyPress(static_cast<QKeyEvent*>(e));
    return QDialog::eventFilter(o, e);
}

} // namespace vimbrel
