// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagelogic.h"

#include <cmath>
#include <cstdlib>

namespace vimbrel {

int framesPerPage(const Album& a) {
    const SizeRec& s = a.sizes[a.pgsize];
    return s.szrows * s.szcols;
}

int pageCount(int framesInGroup, int fpp) {
    if (fpp <= 0 || framesInGroup < fpp)
        return 1;
    return framesInGroup / fpp + (framesInGroup % fpp ? 1 : 0);
}

int lastSpread(int npages) {
    return npages % 2 == 0 ? npages - 1 : npages;
}

int spreadOf(int rel, int fpp) {
    if (rel <= fpp)
        return 1;
    int page = rel / fpp + (rel % fpp ? 1 : 0);
    if (page % 2 == 0)
        --page;
    return page;
}

int firstFrameOf(int curpage, int fpp) {
    return (curpage - 1) * fpp + 1;
}

int arrowTarget(const Album& a, char dir) {
    const int page = a.curpage;
    if (page < 0) {
        if (dir == 'L')
            return IndexPage::first;
        return a.ngrps > 28 ? IndexPage::third : page; // I-3 holds groups 29 onward
    }
    if (dir == 'L')
        return page >= 3 ? page - 2 : page;
    return page + 2 <= a.npages ? page + 2 : page;
}

int neighbourFrame(const std::array<QRect, 24>& frames, const std::array<bool, 24>& shown, int from,
                   char dir) {
    const QRect here = frames[static_cast<std::size_t>(from)];
    const QPoint c = here.center();
    const bool across = dir == 'L' || dir == 'R';
    int best = -1, bestDistance = 0;
    for (int k = 0; k < 24; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (k == from || !shown[i])
            continue;
        const QPoint d = frames[i].center() - c;
        // Same row or column: the centres lie within half a frame of each other.
        const bool inLine =
            across ? 2 * std::abs(d.y()) < here.height() : 2 * std::abs(d.x()) < here.width();
        const int along = across ? d.x() : d.y();
        const bool ahead = dir == 'L' || dir == 'U' ? along < 0 : along > 0;
        if (!inLine || !ahead)
            continue;
        if (best < 0 || std::abs(along) < bestDistance) {
            best = k;
            bestDistance = std::abs(along);
        }
    }
    return best;
}

GridLayout layoutGrid(QSize book, const SizeRec& size, int pgsize) {
    GridLayout g;
    const int szw = size.szw, szh = size.szh;
    const int ibnW = pgsize == 1 ? szw + 8 : szw;
    const int ibnH = pgsize == 1 ? 32 : 16;
    g.half = roundHalfEven(book.width() - 12.0) / 2;
    g.ch = szh + ibnH + 1;
    g.hg = (g.half - size.szcols * szw) / (size.szcols + 1);
    g.vg = roundHalfEven(book.height() - double(size.szrows) * g.ch) / (size.szrows + 1);
    for (int r = 0; r < size.szrows; ++r)
        for (int c = 0; c < size.szcols; ++c) {
            const int y = g.vg + r * (g.ch + g.vg);
            const int xl = g.hg + c * (szw + g.hg);
            const int xr = g.half + 12 + g.hg + c * (szw + g.hg);
            const int k = r * size.szcols + c;
            for (const auto& [pos, x] : {std::pair{k, xl}, std::pair{k + 12, xr}}) {
                g.pb[pos] = QRect(x, y, szw, szh);
                g.frsel[pos] = QRect(x - 1, y - 1, szw + 3, szh + 3);
                g.ibn[pos] = QRect(x, y + szh + 1, ibnW, ibnH);
                g.used[pos] = true;
            }
        }
    return g;
}

GoToAnswer parseGoToPage(const QString& answer, int npages) {
    const QString t = answer.trimmed();
    if (t.isEmpty())
        return {};
    bool ok = false;
    const double v = t.toDouble(&ok);
    int n = 0;
    // A number that does not fit a 16-bit integer is no page.
    if (ok && std::isfinite(v) && v >= -32768.5 && v <= 32767.5)
        n = roundHalfEven(v);
    if (n < 1 || n > npages)
        return {GoToAnswer::Invalid, 0};
    return {GoToAnswer::Page, n % 2 == 0 ? n - 1 : n};
}

char nextOrientation(char porient) {
    switch (porient) {
    case 'e':
        return 'e';
    case 'L':
        return 'P';
    case 'P':
        return 'p';
    default:
        return 'L';
    }
}

} // namespace vimbrel
