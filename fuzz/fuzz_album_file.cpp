// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as an album file: decoding must never crash, read out of bounds or
// allocate without bound, and an accepted file must survive the routines that move pictures.

#include "album.h"
#include "albumfile.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace vimbrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto album = std::make_unique<Album>();
    Album& a = *album;
    ClearAlbum(a);
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (decodeAlbum(bytes, a).outcome != AlbumDecode::Ok)
        return 0;

    // What was accepted is written back as a file that is accepted again, unchanged.
    const QByteArray again = encodeAlbum(a);
    const auto b = std::make_unique<Album>();
    ClearAlbum(*b);
    if (decodeAlbum(again, *b).outcome != AlbumDecode::Ok || encodeAlbum(*b) != again)
        std::abort();

    // Select All, then the first group to the Photo Box: it stays inside the tables, the other
    // groups keep their pictures, and the album still opens.
    a.curgrp = 1;
    SetAllSel(a, 0);
    PackPics(a, 1);
    if (a.npics + a.npbox > 1000 || (a.npbox > 0 && a.pbfirst != 1001 - a.npbox))
        std::abort();
    const auto c = std::make_unique<Album>();
    ClearAlbum(*c);
    if (decodeAlbum(encodeAlbum(a), *c).outcome != AlbumDecode::Ok)
        std::abort();
    return 0;
}
