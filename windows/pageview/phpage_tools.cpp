// SPDX-License-Identifier: GPL-3.0-or-later
// The page view's tool strip, its highlight and tool tip line, and right-click selection.

#include "artwork.h"

#include "pagedrop.h"
#include "pagelogic.h"
#include "phpage.h"
#include "ui.h"
#include <QCoreApplication>

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vimbrel {

void phpage::Set_it(int code) {
    applySetIt(m_a, m_tools, code);
    applyTools();
    if (code == SetItCode::descriptionsOn || code == SetItCode::descriptionsOff)
        for (QLabel* d : dispdesc)
            d->setVisible(m_tools.descLinesShown);
}

void phpage::applyTools() {
    for (int i = 0; i < toolCount; ++i)
        it[i]->setVisible(m_tools.visible[i]);
    it[14]->setIcon(
        artworkIcon(m_tools.descFaceOn ? QStringLiteral("desc_on") : QStringLiteral("desc_off")));
    dispdesc[1]->setText(m_tools.photoLine);
}

void phpage::highlightTool(int i) {
    if (i == m_a.overtool)
        return;
    if (m_a.overtool >= 0)
        it[m_a.overtool]->setStyleSheet(QString());
    m_a.overtool = static_cast<Integer>(i);
    if (i >= 0 && it[i]->isVisible()) {
        it[i]->setStyleSheet(QStringLiteral("QToolButton { background: #00ff00; border: none; }"
                                            "QToolButton:focus { border: 2px solid #1e5aa8; }"));
        dstat->setText(QCoreApplication::translate("phpage", qPrintable(toolTags()[i])));
        dstat->setIndent(it[i]->mapTo(this, QPoint(0, 0)).x() - dstat->x());
    } else {
        dstat->clear();
    }
}

bool phpage::eventFilter(QObject* o, QEvent* e) {
    if (dragEvent(o, e))
        return true;
    for (int i = 0; i < toolCount; ++i)
        if (o == it[i] && (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove))
            highlightTool(i);
    // The hint line follows the keyboard focus as it follows the mouse.
    for (int i = 0; i < toolCount; ++i) {
        if (o != it[i])
            continue;
        if (e->type() == QEvent::FocusIn)
            highlightTool(i);
        else if (e->type() == QEvent::FocusOut && m_a.overtool == i)
            highlightTool(-1);
    }
    if (o == frtools && e->type() == QEvent::Leave) {
        int focused = -1; // the pointer leaves; the hint goes back to the tool with the focus
        for (int i = 0; i < toolCount; ++i)
            if (it[i]->hasFocus())
                focused = i;
        highlightTool(focused);
    }
    if (e->type() == QEvent::KeyPress) {
        // Left and Right walk the strip (the buttons do that); Up goes back into the book.
        if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Up)
            for (QToolButton* t : it)
                if (o == t) {
                    enterBook();
                    return true;
                }
        for (int k = 0; k < 24; ++k)
            if (o == pb[k] && (repeatedToggle(static_cast<QKeyEvent*>(e)) ||
                               pb_KeyPress(k, static_cast<QKeyEvent*>(e)->key())))
                return true;
    }
    if (e->type() == QEvent::KeyPress && (o == idxlst[0] || o == idxlst[1])) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            idxlst_DblClick(o == idxlst[0] ? 0 : 1);
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

void phpage::it_Click(int index) {
    // The Photo Box steps aside while a tool runs, and comes back afterwards.
    bool boxVisible = m_hub.photoBoxVisible();
    if (index == 4) {
        boxVisible = !boxVisible;
    }
    m_hub.setPhotoBoxVisible(index == 4 ? boxVisible : false);

    const int oldFpp = framesPerPage(m_a);
    const int rel = firstFrameOf(m_a.curpage, oldFpp);
    if (index == 14) {
        m_a.descon = m_a.descon == 'n' ? 'y' : 'n';
        Set_it(m_a.descon == 'y' ? SetItCode::descriptionsOn : SetItCode::descriptionsOff);
    } else if (index == 5) {
        if (curframeHoldsPhoto(m_a)) {
            PicRec& p = m_a.pics[m_a.frames[m_a.curframe]];
            p.porient = QString(QLatin1Char(nextOrientation(p.porient.bytes()[0])));
            DispPage(DispPageCode::oneFrame);
            m_a.changed = 'y';
        }
    } else if (index != 12) {
        Set_it(SetItCode::commandRan);
    }

    switch (index) {
    case 0:
        ClearPboxSel(m_a);
        SetAllSel(m_a, -1);
        m_hub.showGroupEditor();
        break;
    case 1:
        ClearPboxSel(m_a);
        m_hub.showImport();
        break;
    case 2:
        ClearPboxSel(m_a);
        SetAllSel(m_a, -1);
        m_hub.showChooser();
        break;
    case 3:
        m_hub.chooserExit();
        break;
    case 6:
    case 7:
    case 8: {
        m_a.pgsize = static_cast<Integer>(index == 6 ? 3 : index == 7 ? 2 : 1);
        m_a.curpage = static_cast<Integer>(spreadOf(rel, framesPerPage(m_a)));
        SetPage();
        break;
    }
    case 9:
        if (m_a.curpage > 1) {
            m_a.curpage = 1;
            turn('L', 5);
        }
        break;
    case 10: {
        const int t = lastSpread(m_a.npages);
        if (t > m_a.curpage) {
            m_a.curpage = static_cast<Integer>(t);
            turn('R', 1);
        }
        break;
    }
    case 11: {
        const std::optional<QString> answer =
            m_a.ui->input(QString(), QCoreApplication::translate("phpage", "Go To Page"),
                          QString::number(m_a.curpage));
        const GoToAnswer go = parseGoToPage(answer.value_or(QString()), m_a.npages);
        if (go.kind == GoToAnswer::Invalid) {
            m_a.ui->message(QCoreApplication::translate("phpage", "Go To Page"),
                            QCoreApplication::translate("phpage", "Invalid Page Number Entered."),
                            MsgIcon::Information);
        } else if (go.kind == GoToAnswer::Page && go.page != m_a.curpage) {
            const char dir = go.page < m_a.curpage ? 'L' : 'R';
            m_a.curpage = static_cast<Integer>(go.page);
            turn(dir, dir == 'L' ? 5 : 1);
        }
        Set_it(SetItCode::spreadChanged);
        break;
    }
    case 13:
        ClearPboxSel(m_a);
        SetAllSel(m_a, -1);
        m_a.curpage = IndexPage::first;
        SetPage();
        break;
    case 15:
        ClearPboxSel(m_a);
        SetAllSel(m_a, m_a.nsel >= 1 ? Integer(-1) : Integer(0));
        break;
    case 16:
        if (curframeHoldsPhoto(m_a) && savePicAs)
            savePicAs(framePath(m_a.frames[m_a.curframe]));
        break;
    case 17: {
        BusyPointer busy(*m_a.ui);
        m_hub.showAbout(10);
        if (showHelp)
            showHelp();
        break;
    }
    case 18:
        showMinimized();
        break;
    case 12:
        m_hub.showDescEditor();
        break;
    case 19:
        m_a.slidesrc = QStringLiteral("Slide");
        m_hub.showSlideShow();
        break;
    case 20:
        m_hub.showMail();
        break;
    case 21:
        if (m_a.curpage < 1)
            m_hub.printReport();
        else
            m_hub.showPrint();
        break;
    default:
        break;
    }

    if (index != 2 && index != 13 && index != 18)
        m_hub.setPhotoBoxVisible(boxVisible);
    if ((index <= 3 || index >= 11) && m_a.overtool == index) {
        it[index]->setStyleSheet(QString());
        m_a.overtool = -1;
    }
}

} // namespace vimbrel
