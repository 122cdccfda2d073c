// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures in formats the album does not keep (PNG, TIFF, WebP, HEIC, camera RAW) are not
// copied but converted, once, into a JPEG copy: upright, full size, with their date and camera.

#include "importrules.h"

#include <QString>

#include <atomic>

namespace vimbrel {

// Reads the open source completely, decodes it and writes the JPEG to `target`, created
// exclusively like a copy. A source that cannot be read or decoded is SourceFailed (a picture
// that cannot load); a partial target is removed.
//
// With `verified`, the conversion is checked as a byte copy is before its source may go: the
// target is flushed, read back and must hold exactly the bytes encoded and decode at the
// picture's size, and the source must be the same file, unchanged, as the one read in full.
//
// Once `stop` is set the conversion gives up as soon as it can, writing nothing.
CopyOutcome convertPicture(int source, const QString& sourceName, const QString& target,
                           bool* verified = nullptr, const std::atomic<bool>* stop = nullptr);

} // namespace vimbrel
