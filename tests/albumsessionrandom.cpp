// SPDX-License-Identifier: GPL-3.0-or-later
// The stress session's choice of the next action: weighted as users act, mostly on photos and
// often moving what was just selected.

#include "albumsession.h"
#include "pboxlogic.h"

#include <QList>

#include <algorithm>

namespace vimbrel::test {

// ---- one random action

void AlbumSession::randomAction() {
    log.clear();
    const auto anyPosition = [&] {
        // Mostly a position showing a frame, now and then any.
        for (int i = 0; i < 6; ++i) {
            const int j = pick(0, 23);
            if (a.pgframes[j] >= 1)
                return j;
        }
        return pick(0, 23);
    };
    // Where a hand would press: a photo, mostly a selected one when there are any.
    const auto photoPosition = [&] {
        QList<int> photos, selected;
        for (int j = 0; j < 24; ++j) {
            const int f = a.pgframes[j];
            if (f < 1 || a.frames[f] < 1)
                continue;
            photos.append(j);
            if (a.pics[a.frames[f]].psel == 0)
                selected.append(j);
        }
        if (!selected.isEmpty() && chance(80))
            return selected[pick(0, int(selected.size()) - 1)];
        return photos.isEmpty() || chance(5) ? anyPosition()
                                             : photos[pick(0, int(photos.size()) - 1)];
    };
    switch (pick(0, 30)) {
    case 0:
        showIndex();
        break;
    case 1:
    case 2:
        if (a.curpage < 0)
            openGroup(pick(1, a.ngrps));
        else
            turnPage(chance(50), chance(70) ? 1 : pick(2, 3));
        break;
    case 3:
    case 4: {
        selectAllTool();
        // What a user selects is mostly moved next.
        const QString selected = log;
        if (a.nsel > 0 && chance(40)) {
            if (chance(50))
                dragPageToBox(photoPosition(), chance(50) ? appendPosition : pick(0, 4));
            else
                dragPageToPage(photoPosition(), anyPosition(), chance(80) ? 0 : 1);
            log = selected + QStringLiteral(", then ") + log;
        }
        break;
    }
    case 5:
    case 6:
    case 7:
        toggleFrame(chance(70) ? photoPosition() : anyPosition());
        break;
    case 8:
    case 9:
    case 10:
        dragPageToPage(photoPosition(), anyPosition(), chance(80) ? 0 : (chance(50) ? 1 : -1));
        break;
    case 11:
    case 12:
        dragPageToBox(photoPosition(), chance(30) ? appendPosition : pick(0, 5));
        break;
    case 13:
    case 14:
        boxPress(pick(0, stripPositions - 1), chance(30));
        break;
    case 15:
        boxSelectAll();
        break;
    case 16:
        boxScroll(pick(1, std::max(1, scrollMaximum(a))));
        break;
    case 17:
    case 18:
        dragBoxToPage(pick(0, stripPositions - 1), anyPosition());
        break;
    case 19:
        if (chance(30))
            boxDelete();
        break;
    case 20:
        rotateTool();
        break;
    case 21:
        sizeTool(pick(6, 8));
        break;
    case 22:
        firstLastTool(chance(50));
        break;
    case 23:
    case 24:
        groupEditor(pick(1, 4));
        break;
    case 25:
        descEditor();
        break;
    case 26:
    case 27: {
        const int n = pick(1, 6);
        importFiles(n, chance(25) ? pick(1, n) : 0);
        break;
    }
    case 28:
        save();
        break;
    case 29:
        if (chance(30))
            reopen(chance(50));
        break;
    default:
        break;
    }
}

} // namespace vimbrel::test
