// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as the configuration file: never a crash, never more than ten albums.

#include "album.h"
#include "config.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace vimbrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto album = std::make_unique<Album>();
    Album& a = *album;
    a.cfglist.clear();
    decodeConfig(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                 a);
    if (a.cfglist.count() > 10)
        std::abort();
    a.cfglist.append(AlbumList::other, AlbumList::other);
    (void)encodeConfig(a);
    return 0;
}
