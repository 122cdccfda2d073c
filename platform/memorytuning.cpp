// SPDX-License-Identifier: GPL-3.0-or-later
#include "memorytuning.h"

#include <malloc.h>

namespace vimbrel {

namespace {
// A printed 8 x 10 page at 300 dpi with its picture is about 100 MB in flight.
constexpr int mapAbove = 128 << 20;
constexpr int trimAbove = 256 << 20;
} // namespace

void keepPictureBuffers() {
    mallopt(M_MMAP_THRESHOLD, mapAbove);
    mallopt(M_TRIM_THRESHOLD, trimAbove);
}

void releasePictureBuffers() {
    malloc_trim(0);
}

} // namespace vimbrel
