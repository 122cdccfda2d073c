#include "chooserrules.h"

#include "albumfile.h"
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

ChooserButtons chooserButtons(const Album& a, const QString& selectedName) {
    ChooserButtons b;
    b.cbReturn = !a.albfile.isEmpty();
    const QString sel = selectedName.trimmed();
    if (!sel.startsWith(QStringLiteral("Other"))) {
        const bool mine = a.canwrite == 'Y' && sel == a.albtitle && !a.albtitle.isEmpty();
        b.cbSave = b.cbRename = mine;
    }
    return b;
}

} // namespace vimbrel
