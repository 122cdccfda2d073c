// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page-view labels the editors change that the common hub has no call for. The program's hub
// implements this beside WindowHub and hands it to the group editor as a second reference, so
// the editor's needs show in its constructor rather than behind a cast.

namespace vimbrel {

class EditorPageViews {
public:
    virtual ~EditorPageViews() = default;
    // Empties all 24 frames and captions, both page numbers, both description lines and the
    // three totals: the group the page view showed is gone.
    virtual void blankPageView() = 0;
    // Clears pictotal, frtotal and pgtotal only.
    virtual void blankPageTotals() = 0;
    // pgright, the next-page arrow.
    virtual void showNextPageArrow(bool visible) = 0;
};

} // namespace vimbrel
