// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The album model: one program-wide set of variables, created at start-up and alive until
// the program ends; opening another album replaces its contents. Every window reads and
// changes it directly. Tables are 1-based, so numbers read the same in code, file and
// messages. The windows learn about changes through `views`; the user is asked through `ui`.

#include "albumlist.h"
#include "albumlock.h"
#include "albumviews.h"
#include "records.h"
#include "table.h"
#include "volumes.h"

#include <functional>
#include <memory>

namespace vimbrel {

class Ui;

// curpage below 0 shows the album index, fourteen groups a page; these are its page numbers.
namespace IndexPage {
constexpr Integer first = -1;  // I-1, with I-2 beside it when there are more than 14 groups
constexpr Integer second = -2; // I-2: only ever the right page of first, never curpage
constexpr Integer third = -3;  // I-3, groups 29..42
} // namespace IndexPage

struct Album {
    Album();
    ~Album();
    Album(const Album&) = delete;
    Album& operator=(const Album&) = delete;

    // Services; tests replace them.
    Ui* ui;
    AlbumViews* views;
    std::function<VolumeStatus(const QString& folder)> volumeStatus = vimbrel::volumeStatus;

    // Pictures: album slots 1..npics, Photo Box slots pbfirst..1000.
    Table<PicRec, 1, 1000> pics;
    Integer npics = 0;
    Integer npbox = 0;
    Integer pbfirst = 0;
    Integer pbtop = 0;
    Table<Integer, 1, 1000> frames; // album slot per frame, -1 empty
    Integer nframes = 0;
    Table<GrpRec, 1, 42> grps;
    Integer ngrps = 0;
    Integer curgrp = 0;

    FixedText<8> albname;
    FixedText<40> albdesc;
    QString picdir;    // picture folder, ends with "/"
    QString albfile;   // empty: no album open
    QString albtitle;  // NAME.vmb
    AlbumLock alblock; // held while albfile is open here
    char changed = 'n';
    char canwrite = 'N';
    Integer maxpics = 1000;

    Integer nsel = 0;
    Integer pbsel = -1;
    Integer nfree = 0;
    Table<Integer, 1, 1000> fileused; // -1: vmbNNNN.* exists
    Table<Integer, 1, 1000> filenew;  // -1: copied since the last save
    Table<PicRec, 1, 1000> wpics;
    PicRec tpic;
    Table<ImpRec, 1, 1000> imps;
    Integer nimps = 0;

    // Page view
    Table<Integer, 0, 23> pgframes;
    Integer curpage = -1; // an IndexPage while the index is shown
    Integer npages = 0;
    Integer curframe = 0;
    Integer curslot = 0;
    Integer framepage = 0;
    Integer overtool = -1;
    Integer dragsrc = 0;
    QString slidesrc;
    Integer grpa = 0;
    Integer grpb = 0;
    Integer grpc = 0;
    char pgtdir = ' ';
    Integer pgtstep = 0;

    // Display settings
    Integer pgsize = 0;
    Table<SizeRec, 1, 3> sizes;
    Integer szsmall = 1;
    Integer szmed = 2;
    Integer szlarge = 3;
    char descon = ' ';

    // Start-up and chooser
    Integer abouttick = 0;
    char aboutflag = 'n';
    QString dlgmode;
    QString cfgfile;
    QString apppath;
    QString maildir;
    QString carddir;
    AlbumList cfglist; // cfgnames / cfgfiles

private:
    std::unique_ptr<Ui> m_silentUi;
    std::unique_ptr<AlbumViews> m_noViews;
};

// Resets the model to an empty album: one group over all 1000 frames, nothing in it.
void ClearAlbum(Album& a);
// Sets every slot's selection mark to v (0 selected, -1 not) and refreshes the page marks.
void SetAllSel(Album& a, Integer v);
// nfree = empty frames from f up to the first occupied frame or the end of the group.
void CountFree(Album& a, Integer f);
// wpics(1..) .psel = frames of the current group holding a selected picture, in order.
void ListSelected(Album& a);
// wpics(1..n).psel = picture slots of the selected pictures of the current group, in frame
// order; returns n, counted from the marks (a stale nsel would reach entries left over from an
// earlier list). 0 when the current group is not a group.
int ListSelectedSlots(Album& a);
// Moves the selected pictures of group g (and no other group's) to the end of the Photo Box
// and packs the album slots, keeping the order of those that stay. Returns how many moved.
Integer PackPics(Album& a, Integer g);
void ClearPboxSel(Album& a);

// The frames 1..nframes that hold a picture in group g, recounted.
Integer countGroupPictures(const Album& a, Integer g);

} // namespace vimbrel
