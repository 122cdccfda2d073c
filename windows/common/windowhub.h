// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the windows reach each other. Each window is given the album and the hub; the
// program's hub forwards to the real windows, tests record the calls. The store's refresh
// calls (AlbumViews) are part of it, so one object serves both.

#include "albumviews.h"

#include <QStringList>

namespace vimbrel {

// DispPage's argument besides the two pages of the spread (curpage, curpage + 1). In index
// mode the argument is an IndexPage number and the index shown follows curpage.
namespace DispPageCode {
// Photo mode: frame curframe alone is drawn again at page position curslot, after an edit
// that changed nothing else on the spread.
constexpr int oneFrame = -1;
} // namespace DispPageCode

// Strip positions of the Photo Box beyond 0..4, for AddToFS and fs_DragDrop.
namespace BoxPosition {
// After the last picture of the box: a drop on the roll or on the page view's Photo Box tool.
constexpr int append = 999;
// AddToFS: the import's pictures (imps), appended; drops hand over a single tpic instead.
constexpr int imports = -1;
} // namespace BoxPosition

class WindowHub : public AlbumViews {
public:
    // Page view
    virtual void showPageView() {}
    virtual void DispPage(int /*page or a DispPageCode*/) {}
    // Empties page position k of the spread: no picture, no caption (a picture left the page).
    virtual void clearPagePosition(int /*k*/) {}
    // The page view's photo counter (pictotal).
    virtual void setPhotoCount(int /*gcount*/) {}
    // Album chooser, shown modally over the page view.
    virtual void showChooser() {}
    virtual void chooserExit() {}
    // Photo Box
    virtual bool photoBoxVisible() const { return false; }
    virtual void setPhotoBoxVisible(bool) {}
    virtual void AddToFS(int /*pos, 0..4 or a BoxPosition*/) {}
    virtual void DeletePbox() {}
    // A drop of page photos onto strip position `index` (or BoxPosition::append), source "pb".
    virtual void fs_DragDrop(int /*index*/) {}
    // Imports files and folders dropped from outside; returns how many pictures it added at
    // the end of the Photo Box.
    virtual int importDropped(const QStringList& /*paths*/) { return 0; }
    // The windows the page view's tools open modally.
    virtual void showImport() {}
    virtual void showGroupEditor() {}
    virtual void showDescEditor() {}
    // The slide show of the selected photos (slidesrc "Slide") or the single picture of
    // frame dragsrc (slidesrc "Pic").
    virtual void showSlideShow() {}
    // The e-mail copies and the photo printing of the selected photos; the album report.
    virtual void showMail() {}
    virtual void showPrint() {}
    virtual void printReport() {}
    // About window for `ticks` tenths of a second; modal when shown from the page view.
    virtual void showAbout(int /*ticks*/) {}
    // Ends the program (after the chooser's Exit has done its work).
    virtual void quit() {}
};

} // namespace vimbrel
