// SPDX-License-Identifier: GPL-3.0-or-later
#include "chooserrules.h"

#include "albumfile.h"
#include "samefile.h"
#include "ui.h"

namespace vimbrel {

bool savePrompt(Album& a, const QString& text, const QString& title) {
    if (a.canwrite != 'Y' || a.changed != 'y')
        return true;
    switch (a.ui->message(title, text, MsgIcon::Question, MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        WriteAlbum(a);
        return a.changed != 'y';
    case MsgAnswer::No:
        return true;
    default:
        return false;
    }
}

bool isOtherRow(const QString& name) {
    return name.trimmed().startsWith(QStringLiteral("Other"));
}

ChooserButtons chooserButtons(const Album& a, int selectedRow) {
    ChooserButtons b;
    b.cbReturn = !a.albfile.isEmpty();
    if (selectedRow < 0 || selectedRow >= a.cfglist.count() ||
        isOtherRow(a.cfglist.name(selectedRow)))
        return b;
    const bool mine = a.canwrite == 'Y' && !a.albfile.isEmpty() &&
                      sameFile(a.cfglist.file(selectedRow).trimmed(), a.albfile);
    b.cbSave = b.cbRename = mine;
    return b;
}

} // namespace vimbrel
