// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolstrip.h"

#include <QCoreApplication>

#include "pagelogic.h"

namespace vimbrel {

const std::array<QString, toolCount>& toolTags() {
    static const std::array<QString, toolCount> tags = {
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Edit Groups")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Import Images")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Command")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Exit Vimbrel")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Photo Box")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Rotate Photo")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Display Large Photos")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Display Medium Photos")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Display Small Photos")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "GoTo First Page")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "GoTo Last Page")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "GoTo Page")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Change Descriptions")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "GoTo Index")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Show/Hide Descriptions")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Select All/None")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Save Image As")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Help")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Minimize")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Slide Show")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Email")),
        QString::fromLatin1(QT_TRANSLATE_NOOP("phpage", "Print")),
    };
    return tags;
}

const std::array<QString, toolCount>& toolArt() {
    static const std::array<QString, toolCount> art = {
        QStringLiteral("tool-groups"),   QStringLiteral("tool-import"),
        QStringLiteral("tool-command"),  QStringLiteral("tool-exit"),
        QStringLiteral("tool-photobox"), QStringLiteral("tool-rotate"),
        QStringLiteral("tool-large"),    QStringLiteral("tool-medium"),
        QStringLiteral("tool-small"),    QStringLiteral("tool-first"),
        QStringLiteral("tool-last"),     QStringLiteral("tool-goto"),
        QStringLiteral("tool-descedit"), QStringLiteral("tool-index"),
        QStringLiteral("desc_off"),      QStringLiteral("tool-selectall"),
        QStringLiteral("tool-saveas"),   QStringLiteral("tool-help"),
        QStringLiteral("tool-minimize"), QStringLiteral("tool-slideshow"),
        QStringLiteral("tool-email"),    QStringLiteral("tool-print"),
    };
    return art;
}

namespace {

void show(ToolStripState& s, std::initializer_list<int> tools, bool v) {
    for (int i : tools)
        s.visible[static_cast<std::size_t>(i)] = v;
}

// The first selected photo of the current group: where it is and what the photo line says.
void locateSelected(Album& a, ToolStripState& s) {
    const GrpRec& g = a.grps[a.curgrp];
    const int fpp = framesPerPage(a);
    for (int f = g.gfirst; f <= g.glast; ++f) {
        const Integer slot = a.frames[f];
        if (slot < 1 || a.pics[slot].psel != 0)
            continue;
        a.curframe = static_cast<Integer>(f);
        const int rel = f - g.gfirst, q = rel / fpp, pos = rel % fpp;
        if (q % 2 == 1) {
            a.framepage = static_cast<Integer>(q);
            a.curslot = static_cast<Integer>(pos + 12);
        } else {
            a.framepage = static_cast<Integer>(q + 1);
            a.curslot = static_cast<Integer>(pos);
        }
        const PicRec& p = a.pics[slot];
        const QString name = p.psdesc.trimmed().isEmpty() ? p.pfile.trimmed() : p.psdesc.trimmed();
        s.photoLine = QCoreApplication::translate("phpage", " Photo: ") + name +
                      QStringLiteral("   - ") + p.pldesc.trimmed();
        return;
    }
}

} // namespace

void applySetIt(Album& a, ToolStripState& s, int code) {
    const bool index = a.curpage < 0;
    if (code < 0) {
        show(s, {2, 3, 17, 18}, true);
        show(s, {5, 16, 19, 20}, false);
        if (index) {
            show(s, {0, 1, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, false);
            show(s, {21}, true);
        } else {
            show(s, {0, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, true);
            show(s, {1}, a.canwrite == 'Y');
            show(s, {21}, false);
        }
        s.descFaceOn = a.descon == 'y';
        return;
    }
    switch (code) {
    case SetItCode::selectionChanged:
    case SetItCode::commandRan:
        if (a.nsel == 1 && code == SetItCode::selectionChanged)
            locateSelected(a, s);
        if (a.nsel != 1) {
            s.photoLine.clear();
            show(s, {5, 16}, false);
        }
        if (a.nsel == 0) {
            show(s, {19, 20}, false);
            show(s, {21}, index);
        } else {
            show(s, {19, 20, 21}, true);
        }
        break;
    case SetItCode::spreadChanged:
        show(s, {5, 16}, a.canwrite == 'Y' && a.curpage == a.framepage && a.nsel == 1);
        break;
    case SetItCode::descriptionsOn:
        s.descFaceOn = true;
        s.descLinesShown = true;
        break;
    case SetItCode::descriptionsOff:
        s.descFaceOn = false;
        s.descLinesShown = false;
        break;
    default:
        break;
    }
}

} // namespace vimbrel
