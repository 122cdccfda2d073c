// SPDX-License-Identifier: GPL-3.0-or-later
#include "indexpages.h"

#include <QCoreApplication>

namespace vimbrel {

IndexSpread indexSpread(const Album& a) {
    IndexSpread s;
    const IndexLine head{
        QString(50, QLatin1Char(' ')) + QCoreApplication::translate("phpage", "INDEX"), 0};
    const IndexLine blank{QString(), 0};
    s.left = {head, blank};
    s.right = {head, blank};
    int first = 1, last = a.ngrps;
    if (a.curpage == IndexPage::third) {
        s.pgnum0 = QStringLiteral("I-3");
        first = 29;
        s.pgleft = true;
    } else {
        s.pgnum0 = QStringLiteral("I-1");
        s.rightShown = a.ngrps > 14;
        if (s.rightShown)
            s.pgnum1 = QStringLiteral("I-2");
        if (a.ngrps > 28) {
            last = 28;
            s.pgright = true;
        }
    }
    for (int g = first, n = 0; g <= last; ++g, ++n) {
        QList<IndexLine>& list = n < 14 ? s.left : s.right;
        list.append({a.grps[g].gname.trimmed(), g});
        list.append({QString(8, QLatin1Char(' ')) + a.grps[g].gdesc.trimmed(), g});
    }
    return s;
}

} // namespace vimbrel
