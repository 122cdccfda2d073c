#pragma once
// Builds small albums in memory for tests.

#include "album.h"
#include "recordingviews.h"
#include "scriptedui.h"

#include <QString>
#include <initializer_list>
#include <memory>
#include <utility>

namespace vimbrel::test {

struct Fixture {
    std::unique_ptr<Album> album = std::make_unique<Album>();
    ScriptedUi ui;
    RecordingViews views;
    Album& a = *album;

    Fixture() {
        a.ui = &ui;
        a.views = &views;
        ClearAlbum(a);
        views.calls.clear();
    }

    static QString fileName(int n) {
        return QStringLiteral("vmb%1.jpg").arg(n, 4, 10, QLatin1Char('0'));
    }

    // An album picture in slot `slot` named after `number`, placed in `frame` (0: no frame).
    void addPicture(int slot, int frame, int number) {
        PicRec& p = a.pics[slot];
        p.pfile = fileName(number);
        p.pflag = "n";
        p.porient = "L";
        p.psdesc = QStringLiteral("short %1").arg(number);
        p.pldesc = QStringLiteral("long %1").arg(number);
        p.pwidth = 640;
        p.pheight = 480;
        p.psel = -1;
        if (frame > 0)
            a.frames[frame] = static_cast<Integer>(slot);
        if (slot > a.npics && slot < 500)
            a.npics = static_cast<Integer>(slot);
    }

    // Photo Box pictures with the given file numbers, packed at the top of the table.
    void setPhotoBox(std::initializer_list<int> numbers) {
        a.npbox = static_cast<Integer>(numbers.size());
        a.pbfirst = static_cast<Integer>(1001 - a.npbox);
        a.pbtop = a.pbfirst;
        int slot = a.pbfirst;
        for (int n : numbers) {
            addPicture(slot, 0, n);
            ++slot;
        }
    }

    // Groups of the given frame counts, one after the other; gcount recounted.
    void setGroups(std::initializer_list<int> sizes) {
        int first = 1, g = 0;
        for (int s : sizes) {
            GrpRec& r = a.grps[++g];
            r.gname = QStringLiteral("Group %1").arg(g);
            r.gdesc = QStringLiteral("About group %1").arg(g);
            r.gfirst = static_cast<Integer>(first);
            r.glast = static_cast<Integer>(first + s - 1);
            first += s;
        }
        a.ngrps = static_cast<Integer>(g);
        a.nframes = a.grps[g].glast;
        for (int i = 1; i <= g; ++i)
            a.grps[i].gcount = countGroupPictures(a, static_cast<Integer>(i));
    }
};

} // namespace vimbrel::test
