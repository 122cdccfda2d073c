// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Photo-like landscapes drawn by code, for the sample album: sky, sun or moon, clouds, hills
// or sea, trees and houses, finished with film grain so that they compress like photos.
// The same size, scene, light and seed always give the same picture.

#include <QImage>
#include <QSize>

namespace vimbrel::sample {

enum class Scene { Seaside, Mountains, Lake, Countryside, Town };
enum class Light { Morning, Day, Golden, Sunset, Night };

QImage drawScene(QSize size, Scene scene, Light light, quint32 seed);

} // namespace vimbrel::sample
