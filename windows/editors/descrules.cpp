// SPDX-License-Identifier: GPL-3.0-or-later
#include "descrules.h"

#include <QCoreApplication>

#include "ui.h"
#include "windowhub.h"

namespace vimbrel {

int selectedPhoto(const Album& a) {
    if (a.nsel != 1)
        return -1;
    const auto selectedIn = [&a](int f) {
        return f >= 1 && f <= 1000 && a.frames[f] > 0 && a.pics[a.frames[f]].psel == 0;
    };
    if (selectedIn(a.curframe))
        return a.frames[a.curframe];
    if (a.curgrp >= 1 && a.curgrp <= a.ngrps)
        for (int f = a.grps[a.curgrp].gfirst; f <= a.grps[a.curgrp].glast; ++f)
            if (selectedIn(f))
                return a.frames[f];
    return -1;
}

AcceptResult acceptDescriptions(Album& a, WindowHub& hub, int dpic, const DescTexts& t) {
    const QString adesc = t.adesc.trimmed();
    if (adesc != a.albdesc.trimmed()) {
        if (adesc.isEmpty()) {
            a.ui->message(
                QCoreApplication::translate("phdesc", "Album Description Error"),
                QCoreApplication::translate("phdesc", "Album Description Can Not Be Blank"),
                MsgIcon::Information);
            return AcceptResult::BlankAlbumDesc;
        }
        a.albdesc = adesc;
        hub.setAlbumDescLabel(a.albdesc.trimmed());
        a.changed = 'y';
    }
    if (dpic < 1)
        return AcceptResult::Stored;
    PicRec& p = a.pics[dpic];
    bool photoChanged = false;
    const QString shortDesc = t.psdesc.trimmed();
    if (shortDesc != p.psdesc.trimmed()) {
        p.psdesc = shortDesc;
        photoChanged = true;
    }
    const QString longDesc = t.pldesc.trimmed();
    if (longDesc != p.pldesc.trimmed()) {
        p.pldesc = longDesc;
        photoChanged = true;
    }
    if (!photoChanged)
        return AcceptResult::Stored;
    a.changed = 'y';
    // The page view finds its selected photo again (curframe, curslot, framepage) and rebuilds
    // its photo line " Photo: name   - long description" from the model; its frame is redrawn
    // with the new caption (short description, else file name) when its spread is on show.
    hub.Set_it(SetItCode::selectionChanged);
    if (a.curpage == a.framepage && a.curframe >= 1 && a.frames[a.curframe] == dpic)
        hub.DispPage(DispPageCode::oneFrame);
    return AcceptResult::Stored;
}

} // namespace vimbrel
