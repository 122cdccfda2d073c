// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Handing the e-mail copies to the user's mail program through the desktop's own tools,
// found on PATH: xdg-email for a message with attachments, xdg-mime to learn whether any
// program takes mailto: addresses at all.

#include <QStringList>

namespace vimbrel {

enum class MailStart { Started, Failed, Missing };

// Runs xdg-email with `args`. One still running after `waitMs` has opened a mail program that
// keeps it waiting (a mail program started afresh does): it is left running and counts as
// started.
MailStart startXdgEmail(const QStringList& args, int waitMs = 5000);

// False only when xdg-mime answers that no program takes mailto: addresses; true when it
// cannot tell.
bool mailProgramSetUp();

} // namespace vimbrel
