// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a picture as a GIF with giflib: the colours are reduced to one 256-entry palette by
// giflib's median-cut quantiser; pixels that are more than half transparent become the
// palette's transparent entry.

#include <QImage>
#include <QString>

namespace vimbrel {

// Encodes `image` as a GIF89a file in memory; an empty result with `error` set on failure.
QByteArray encodeGif(const QImage& image, QString* error = nullptr);

// Writes `image` to `path` atomically. Returns false and sets `error` on failure.
bool writeGif(const QImage& image, const QString& path, QString* error = nullptr);

} // namespace vimbrel
