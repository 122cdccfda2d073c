// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolstrip.h"

#include "pagelogic.h"

namespace vimbrel {

const std::array<QString, toolCount>& toolTags() {
    static const std::array<QString, toolCount> tags = {
        QStringLiteral("Edit Groups"),
        QStringLiteral("Import Images"),
        QStringLiteral("Command"),
        QStringLiteral("Exit Vimbrel"),
        QStringLiteral("Photo Box"),
        QStringLiteral("Rotate Photo"),
        QStringLiteral("Display Large Photos"),
        QStringLiteral("Display Medium Photos"),
        QStringLiteral("Display Small Photos"),
        QStringLiteral("GoTo First Page"),
        QStringLiteral("GoTo Last Page"),
        QStringLiteral("GoTo Page"),
        QStringLiteral("Change Descriptions"),
        QStringLiteral("GoTo Index"),
        QStringLiteral("Show/Hide Descriptions"),
        QStringLiteral("Select All/None"),
        QStringLiteral("Save Image As"),
        QStringLiteral("Help"),
        QStringLiteral("Minimize"),
        QStringLiteral("Slide Show"),
        QStringLiteral("Email"),
        QStringLiteral("Print"),
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
        s.photoLine =
            QStringLiteral(" Photo: ") + name + QStringLiteral("   - ") + p.pldesc.trimmed();
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
    case 100:
    case 101:
        if (a.nsel == 1 && code == 100)
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
    case 102:
        show(s, {5, 16}, a.canwrite == 'Y' && a.curpage == a.framepage && a.nsel == 1);
        break;
    case 140:
        s.descFaceOn = true;
        s.descLinesShown = true;
        break;
    case 141:
        s.descFaceOn = false;
        s.descLinesShown = false;
        break;
    default:
        break;
    }
}

} // namespace vimbrel
