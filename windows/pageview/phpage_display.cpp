// SPDX-License-Identifier: GPL-3.0-or-later
// The page view's drawing: the grid, the spread, the index and the page turn.

#include "bookview.h"

#include "framefit.h"
#include "indexpages.h"
#include "pagelogic.h"
#include "phpage.h"
#include "picturelibrary.h"
#include <QCoreApplication>

#include <QPainter>
#include <QScopeGuard>
#include <utility>

namespace vimbrel {

void phpage::SetPage() {
    parkFocus();
    int tool = -1; // a tool with the focus that the new page may hide (Index on the index)
    for (int i = 0; i < toolCount; ++i)
        if (focusWidget() == it[i])
            tool = i;
    const auto focusBack = qScopeGuard([this, tool] {
        restoreFocus();
        if (tool >= 0 && !it[tool]->isVisible())
            enterBook();
    });
    stopTurn();
    if (m_a.curpage < 0) {
        for (int k = 0; k < 24; ++k) {
            pb[k]->hide();
            frsel[k]->hide();
            ibn[k]->hide();
            m_wanted[k].reset();
        }
        Set_it(SetItCode::reset);
        for (QLabel* l : {pgtotal, pictotal, frtotal, pgnum[0], pgnum[1], dispdesc[0], dispdesc[1]})
            l->clear();
        DispPage(m_a.curpage);
        return;
    }
    for (QListWidget* l : idxlst)
        l->hide();
    const SizeRec& size = m_a.sizes[m_a.pgsize];
    const GridLayout grid = layoutGrid(bookSize, size, m_a.pgsize);
    for (int k = 0; k < 24; ++k) {
        pb[k]->hide();
        frsel[k]->hide();
        ibn[k]->hide();
        ibn[k]->clear();
        pb[k]->clearPicture();
        m_wanted[k].reset();
        m_a.pgframes[k] = -1;
        if (!grid.used[k])
            continue;
        pb[k]->setGeometry(grid.pb[k]);
        frsel[k]->setGeometry(grid.frsel[k]);
        ibn[k]->setGeometry(grid.ibn[k]);
        pb[k]->show();
        ibn[k]->show();
    }
    SetTotPg();
    DispPage(m_a.curpage);
    DispPage(m_a.curpage + 1);
}

void phpage::SetTotPg() {
    const GrpRec& g = m_a.grps[m_a.curgrp];
    m_a.npages = static_cast<Integer>(pageCount(g.glast - g.gfirst + 1, framesPerPage(m_a)));
    pgtotal->setText(QString::number(m_a.npages));
}

// The pictures of the spread whose left page is `page`, at the size they are drawn.
QList<PictureLibrary::Request> phpage::spreadRequests(int page) const {
    QList<PictureLibrary::Request> wanted;
    if (page < 1)
        return wanted;
    const int fpp = framesPerPage(m_a);
    const GrpRec& g = m_a.grps[m_a.curgrp];
    const SizeRec& size = m_a.sizes[m_a.pgsize];
    const int first = (page - 1) * fpp + g.gfirst;
    for (int f = first; f < first + 2 * fpp && f <= g.glast; ++f) {
        const Integer s = m_a.frames[f];
        if (s < 1)
            continue;
        const Fit fit = fitPicture(m_a.pics[s], QSize(size.szw, size.szh));
        if (fit.draw)
            wanted.append(
                {framePath(s), devicePixels(fit.rect.size(), devicePixelRatioF()), fit.angle});
    }
    return wanted;
}

// The frames waiting for a picture, left to right, then the neighbouring spreads ahead, so a
// turn ends on pictures already in memory.
void phpage::requestPictures() {
    QList<PictureLibrary::Request> onScreen;
    m_requestedFrames.clear();
    if (m_passing) { // the spread is turned past at once: its pictures would only hold up the next
        m_loader.cancel();
        return;
    }
    for (int k = 0; k < 24; ++k) {
        if (!m_wanted[k])
            continue;
        onScreen.append(m_wanted[k]->request);
        m_requestedFrames.append(k);
    }
    QList<PictureLibrary::Request> ahead;
    if (m_a.curpage >= 1)
        ahead = spreadRequests(m_a.curpage + 2) + spreadRequests(m_a.curpage - 2);
    m_loader.request(onScreen, ahead);
}

void phpage::pictureArrived(quint64 /*generation*/, int index, const QImage& image) {
    if (index < 0 || index >= m_requestedFrames.size())
        return;
    const int k = m_requestedFrames[index];
    if (!m_wanted[k])
        return;
    const QRect rect = m_wanted[k]->rect;
    m_wanted[k].reset();
    if (image.isNull())
        return; // the empty frame stays
    pb[k]->setPicture(framePixmap(pb[k]->size(), devicePixelRatioF(), image, rect));
}

void phpage::drawFrame(int k, int f) {
    const Integer s = m_a.frames[f];
    const PicRec& p = m_a.pics[s];
    const QString shortDesc = p.psdesc.trimmed();
    ibn[k]->setText(shortDesc.isEmpty() ? p.pfile.trimmed() : shortDesc);
    const QSize box = pb[k]->size();
    const Fit fit = fitPicture(p, box);
    if (fit.draw) {
        // Until its picture arrives the frame shows what an unreadable picture leaves.
        const qreal dpr = devicePixelRatioF();
        pb[k]->setPicture(emptyFramePixmap(box, dpr));
        m_wanted[k] =
            Wanted{{framePath(s), devicePixels(fit.rect.size(), dpr), fit.angle}, fit.rect};
    }
    pb[k]->setOccupied(true);
    frsel[k]->setVisible(p.psel == 0);
}

void phpage::DispPage(int p) {
    if (m_a.curpage < 0) {
        for (auto& w : m_wanted)
            w.reset();
        requestPictures();
        showIndex();
        return;
    }
    const int fpp = framesPerPage(m_a);
    const GrpRec& g = m_a.grps[m_a.curgrp];
    m_a.grpa = 0;
    m_a.grpb = 0;
    int f = 0, from = 0, to = 0;
    if (p == DispPageCode::oneFrame) {
        f = m_a.curframe;
        from = to = m_a.curslot;
    } else if (p == m_a.curpage) {
        f = (m_a.curpage - 1) * fpp + g.gfirst;
        from = 0;
        to = fpp - 1;
        pgnum[0]->setText(QString::number(m_a.curpage) + QLatin1Char(' '));
    } else {
        f = m_a.curpage * fpp + g.gfirst;
        from = 12;
        to = fpp + 11;
        pgnum[1]->setText(QString::number(m_a.curpage + 1));
        m_a.grpb = m_a.grpc = static_cast<Integer>(f + fpp - 1);
        if (m_a.grpb > g.glast)
            m_a.grpb = g.glast;
    }
    for (int k = from; k <= to; ++k, ++f) {
        m_wanted[k].reset();
        pb[k]->clearPicture();
        pb[k]->setOccupied(false);
        ibn[k]->clear();
        if (p > 0)
            m_a.pgframes[k] = -1;
        if (f > g.glast) {
            pb[k]->hide();
            ibn[k]->hide();
            frsel[k]->hide();
            continue;
        }
        pb[k]->show();
        ibn[k]->show();
        if (p > 0)
            m_a.pgframes[k] = static_cast<Integer>(f);
        if (m_a.frames[f] < 1) {
            frsel[k]->hide();
            continue;
        }
        drawFrame(k, f);
    }
    pgleft->setVisible(m_a.curpage >= 3);
    pgright->setVisible(m_a.curpage + 2 <= m_a.npages);
    requestPictures();
}

void phpage::showIndex() {
    const IndexSpread s = indexSpread(m_a);
    for (int i = 0; i < 2; ++i) {
        idxlst[i]->clear();
        for (const IndexLine& line : i == 0 ? s.left : s.right) {
            auto* item = new QListWidgetItem(line.text, idxlst[i]);
            item->setData(Qt::UserRole, line.group);
            if (line.group == 0)
                item->setFlags(Qt::ItemIsEnabled);
            else if (!line.text.startsWith(QLatin1Char(' ')))
                item->setFont(QFont(QStringLiteral("Liberation Sans"), 11, QFont::Bold));
        }
    }
    for (QListWidget* l : idxlst)
        l->setCurrentRow(-1);
    idxlst[0]->show();
    idxlst[1]->setVisible(s.rightShown);
    pgnum[0]->setText(s.pgnum0);
    pgnum[1]->setText(s.pgnum1);
    pgleft->setVisible(s.pgleft);
    pgright->setVisible(s.pgright);
}

void phpage::idxlst_DblClick(int index) {
    const QListWidgetItem* item = idxlst[index]->currentItem();
    const int g = item ? item->data(Qt::UserRole).toInt() : 0;
    if (g < 1 || g > m_a.ngrps)
        return;
    for (QListWidget* l : idxlst)
        l->hide();
    m_a.curgrp = static_cast<Integer>(g);
    const GrpRec& grp = m_a.grps[g];
    dispdesc[0]->setText(QCoreApplication::translate("phpage", "Group: ") + grp.gname.trimmed() +
                         QStringLiteral("   - ") + grp.gdesc.trimmed());
    dispdesc[1]->clear();
    for (QLabel* d : dispdesc)
        d->setVisible(m_a.descon == 'y');
    pictotal->setText(QString::number(grp.gcount));
    frtotal->setText(QString::number(grp.glast - grp.gfirst + 1));
    m_a.curpage = 1;
    SetPage();
    Set_it(SetItCode::reset);
    setFocus();
}

void phpage::pgleft_Click() {
    arrowTurn('L');
}

void phpage::pgright_Click() {
    arrowTurn('R');
}

// The arrows, their keys and a drag over them. While the leaf still turns the arrows show the
// old spread, so a second turn waits for the first and is checked against the bounds only then.
void phpage::arrowTurn(char dir) {
    if (pgtimer.isActive()) {
        m_queuedTurn = dir;
        return;
    }
    const int to = arrowTarget(m_a, dir);
    if (to == m_a.curpage)
        return;
    m_a.curpage = static_cast<Integer>(to);
    if (to < 0) { // index pages turn at once
        DispPage(to);
        return;
    }
    turn(dir, dir == 'L' ? 5 : 1);
}

void phpage::turn(char dir, int step) {
    m_queuedTurn = 0; // a turn to a named page replaces an arrow turn still waiting
    parkFocus();
    m_a.pgtdir = dir;
    m_a.pgtstep = static_cast<Integer>(step);
    pgtimer.start();
    // The new spread decodes while the leaf turns; what the old one still waits for is dropped.
    m_loader.request({}, spreadRequests(m_a.curpage));
}

// A new layout or the index replaces the spread the leaf was turning to.
void phpage::stopTurn() {
    m_queuedTurn = 0;
    if (!pgtimer.isActive())
        return;
    pgtimer.stop();
    m_leaf->setStep(0);
    phpg->setPicture(m_book);
}

void phpage::pgtimer_Timer() {
    const int step = m_a.pgtstep;
    if (step < 1 || step > 5) {
        pgtimer.stop();
        m_leaf->setStep(0);
        phpg->setPicture(m_book);
        const char queued = std::exchange(m_queuedTurn, 0);
        m_passing = queued && arrowTarget(m_a, queued) != m_a.curpage;
        DispPage(m_a.curpage);
        DispPage(m_a.curpage + 1);
        m_passing = false;
        Set_it(SetItCode::spreadChanged);
        restoreFocus();
        if (queued)
            arrowTurn(queued);
        return;
    }
    const bool right = m_a.pgtdir == 'R';
    if ((right && (step == 1 || step == 2)) || (!right && step == 5)) {
        // The page that lifts leaves the book.
        pgnum[0]->clear();
        pgnum[1]->clear();
        for (int k = right ? 12 : 0, end = k + 12; k < end; ++k) {
            pb[k]->hide();
            frsel[k]->hide();
            ibn[k]->hide();
        }
    }
    m_leaf->setStep(step);
    m_a.pgtstep = static_cast<Integer>(right ? step + 1 : step - 1);
}

} // namespace vimbrel
