// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shared fitting rule for an album picture record.

#include "album.h"
#include "picturefit.h"

namespace vimbrel {

inline Fit fitPicture(const PicRec& p, QSize box) {
    return fitPicture(QSize(p.pwidth, p.pheight), p.porient.bytes()[0], box);
}

} // namespace vimbrel
