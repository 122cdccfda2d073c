// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The e-mail copies' rules, without the window: which pictures go, the size and turn of each
// copy, its name and type code, the xdg-email arguments that attach the copies, and the
// mailto: address that tells the user where they are when they cannot be attached.

#include "album.h"
#include "picturelibrary.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace vimbrel {

// The copy's short side for optsize(option): 300, 450, and 600 for anything else.
int mailShortSide(int option);

// The copy's size before turning: the short side becomes `shortSide`, the long one keeps the
// proportions; a picture already that small keeps its own size.
QSize mailSize(int width, int height, int shortSide);

// "L" 0, "P" 90, anything else 270 degrees.
int mailRotation(const PicRec& p);

// The library's type code from the last three letters of a picture file name, and the name of
// its copy: bmp (or anything else) is copied as jpg.
int mailType(const QString& pfile);
QString mailCopyName(const QString& pfile);

// The library call for one picture; nothing for a picture without a name or a size.
std::optional<PictureLibrary::ResizeJob> mailJob(const PicRec& p, const QString& picdir,
                                                 const QString& maildir, int shortSide);

// The body of the message, with its CR LF line ends, as the user reads it.
QString mailBody(const QString& maildir);
// The body of a message that carries the copies as attachments.
QString mailAttachedBody();
// xdg-email's arguments for a message with `files` attached, subject and body as in mailUrl.
QStringList xdgEmailArgs(const QStringList& files);

// The text when no mail program is set up: the copies are in `maildir` all the same.
QString noMailProgramText(const QString& maildir);

// mailto:?cc=&subject=Photos&body=... with the body percent-encoded as UTF-8.
QUrl mailUrl(const QString& maildir);

} // namespace vimbrel
