// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the store tells the windows. The page view, the Photo Box and the album chooser
// implement it; tests record the calls. Every method does nothing by default, so a window
// implements only what it shows.

#include <QString>

namespace vimbrel {

class AlbumViews {
public:
    virtual ~AlbumViews() = default;

    // Page view
    virtual void setAlbumDescLabel(const QString& /*phpgname*/) {}
    virtual void SetPage() {}
    virtual void SetTotPg() {}
    virtual void Set_it(int /*code*/) {}
    virtual void showSelMark(int /*position 0..23*/, bool /*visible*/) {}
    virtual void setSelCount(int /*seldisp*/) {}
    virtual void setGroupLabels(int /*pictotal*/, int /*frtotal*/, const QString& /*dispdesc0*/) {}

    // Photo Box
    virtual void LoadFS(int /*start*/) {}
    virtual void setPboxScroll(int /*max*/, int /*value*/) {}
    virtual void hidePboxSelMarks() {}
    virtual void setPboxSelCount(int /*fs_selcnt*/) {}
};

} // namespace vimbrel
