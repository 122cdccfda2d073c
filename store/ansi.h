// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows-1252 text, the encoding of every fixed-width field of the album file.

#include <QByteArray>
#include <QString>

namespace vimbrel::ansi {

QString decode(const char* bytes, qsizetype n);
inline QString decode(const QByteArray& b) {
    return decode(b.constData(), b.size());
}
// Characters that Windows-1252 cannot hold become '?'.
QByteArray encode(const QString& s);
// Whether encode() keeps every character of `s`: nothing would turn into '?'.
bool holds(const QString& s);
// Text as a one-line field of the album file takes it: letters with a combining accent
// composed into the one character the code page has (a pasted "e" + U+0301 is "é"), and each
// run of line breaks, tabs and other control characters made one blank.
QString forField(const QString& s);

} // namespace vimbrel::ansi
