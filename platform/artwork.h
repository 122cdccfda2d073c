// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The project's own artwork (assets/artwork), drawn from its vector source at the size and
// device pixel ratio it is shown at, so it stays crisp at 100% and 200% scale.
//
//   button->setIcon(artworkIcon(QStringLiteral("open")));
//   label->setPixmap(artworkPixmap(QStringLiteral("topart"), {360, 200},
//                                  label->devicePixelRatioF()));
//
// Names are file names without the extension. An unknown name gives a null icon or pixmap.
// Needs a QGuiApplication, and the GUI thread (QPixmap).

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace vimbrel {

// Every picture the artwork holds, sorted.
QStringList artworkNames();

// The picture fitted into `logicalSize` (aspect kept, centred, transparent around it),
// `logicalSize` x `devicePixelRatio` physical pixels with that device pixel ratio set.
QPixmap artworkPixmap(const QString& name, QSize logicalSize, qreal devicePixelRatio);

// An icon that draws the picture afresh for every size and device pixel ratio asked of it.
QIcon artworkIcon(const QString& name);

// The size the picture was drawn for (its logical size); empty for an unknown name.
QSize artworkSize(const QString& name);

} // namespace vimbrel
