// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which of the page view's 22 tools are shown, the face of the description tool and the photo
// line, for each state code; no widgets here, the window applies the result.

#include "album.h"

#include <QString>
#include <array>

namespace vimbrel {

constexpr int toolCount = 22;

// The tool tip texts, in tool order.
const std::array<QString, toolCount>& toolTags();
// The artwork name of each tool's picture.
const std::array<QString, toolCount>& toolArt();

struct ToolStripState {
    std::array<bool, toolCount> visible{};
    bool descFaceOn = false; // tool 14 shows desc_on
    bool descLinesShown = false;
    QString photoLine; // dispdesc(1)
};

// `code` is a SetItCode. selectionChanged with one photo selected also sets curframe, curslot
// and framepage.
void applySetIt(Album& a, ToolStripState& s, int code);

} // namespace vimbrel
