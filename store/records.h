// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record types of the album. Field order is the order of the album file.

#include "fixedtext.h"

#include <cstdint>

namespace vimbrel {

using Integer = std::int16_t; // every count, size and number of the album is 16-bit

struct PicRec {
    FixedText<11> pfile;  // vmbNNNN.ext in the picture folder
    FixedText<1> pflag;   // "n"
    FixedText<1> porient; // "L" as stored, "P" 90 degrees, other 270; "e" cleared slot
    FixedText<20> psdesc; // short description
    FixedText<50> pldesc; // long description
    Integer pwidth = 0;
    Integer pheight = 0;
    Integer psel = -1; // 0 = selected
};

struct GrpRec {
    FixedText<30> gname;
    FixedText<50> gdesc;
    Integer gfirst = 0;
    Integer glast = 0;
    Integer gcount = 0; // frames of the group holding a picture
};

struct ImpRec {
    FixedText<12> ifile;
    Integer iwidth = 0;
    Integer iheight = 0;
};

struct SizeRec {
    Integer szw = 0;
    Integer szh = 0;
    Integer szrows = 0;
    Integer szcols = 0;
};

} // namespace vimbrel
