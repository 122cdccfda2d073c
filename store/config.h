// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// vimbra.cfg: the remembered albums, display size, description display and memory-card
// folder. Binary, little-endian; counted strings are UTF-8. Reading a damaged file keeps
// whatever could be read and the defaults for the rest.

#include "album.h"

#include <QByteArray>
#include <QByteArrayView>

namespace vimbrel {

// No configuration file can be longer: ten entries and a card folder of the largest length.
constexpr qsizetype maxConfigBytes = 2 + 10 * 2 * (2 + 32767) + 2 + 1 + 2 + 32767;

// Appends the remembered rows to cfglist (without "Other ...") and sets pgsize, descon and
// carddir, each only when the bytes for it are there and sound.
void decodeConfig(QByteArrayView bytes, Album& a);
// The file's bytes for the list as it is (its last row, "Other ...", is not written).
QByteArray encodeConfig(const Album& a);

// Reads cfgfile when it exists; errors are ignored.
void readConfig(Album& a);

// mode -1: move the open album (albtitle, albfile) to the top of the list, writing the file
//          only when the list changed;
// mode >= 0: forget row `mode` (never the "Other ..." row) and write the file;
// mode < -1: write the file as the list stands.
// Ends by selecting row 0, unless the row to forget was refused.
void SaveCfg(Album& a, int mode);

} // namespace vimbrel
