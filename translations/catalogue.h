// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The translated texts: the program's own catalogue (built into the program) and Qt's for
// its standard dialogs and buttons (from the system's Qt translations).

#include <QLocale>

namespace vimbrel {

// Installs the catalogues for `locale`, replacing any installed before. True when the
// program's own catalogue was found; English needs none and gives false.
bool installTranslations(const QLocale& locale);

// Back to the English texts.
void removeTranslations();

} // namespace vimbrel
