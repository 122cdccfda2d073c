// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the program opens a file it reads, and decides where a write may land.
//
// A pipe, a device or a folder can stand under any name the program reads (a picture named
// .jpg, vimbra.cfg, an album file): opening one for reading could wait for ever on a writer
// that never comes, and writing through a link could replace a device node. Reading opens
// without blocking and goes on only with a regular file; writing follows a link only onto a
// regular file.

#include <QString>

class QFile;

namespace vimbrel {

// The system's own text for errno `code`, as every failure the program shows words it.
QString systemError(int code);

// Opens `path` (links followed) for reading when it is a regular file, without ever waiting
// on what it is. False, with the reason in `error`, for anything else.
bool openRegularFile(QFile& file, const QString& path, QString* error = nullptr);

// Where a write meant for `path` goes: `path` itself when nothing is there yet or it is a
// regular file, the regular file a link leads to, or nothing (with the reason in `error`)
// when it is or leads to anything else: a device, a pipe, a folder, a link to nowhere.
QString regularWriteTarget(const QString& path, QString* error = nullptr);

} // namespace vimbrel
