// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds small albums in memory for tests.

#include "album.h"
#include "recordingviews.h"
#include "scriptedui.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <utility>

namespace vimbrel::test {

// A 16-bit little-endian field, as the album and configuration files hold them.
inline QByteArray le16(int v) {
    const char b[2] = {char(v & 0xff), char((v >> 8) & 0xff)};
    return QByteArray(b, 2);
}

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

    // addPicture() with its file in the picture folder: a JPEG of `size` in one colour, whose
    // size the album records.
    void addPictureFile(int slot, int frame, int number, QSize size, const QColor& colour,
                        int quality = -1) {
        addPicture(slot, frame, number);
        QImage img(size, QImage::Format_RGB32);
        img.fill(colour);
        EXPECT_TRUE(img.save(a.picdir + fileName(number), "JPEG", quality));
        a.pics[slot].pwidth = static_cast<Integer>(size.width());
        a.pics[slot].pheight = static_cast<Integer>(size.height());
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

// The model's promises after any operation: groups follow each other from frame 1 and end at
// nframes, every frame is empty or holds an album slot, each album picture is in exactly one
// frame, the counts match and the Photo Box is packed at the top.
inline void expectAlbumSound(const Album& a) {
    ASSERT_GE(a.ngrps, 1);
    ASSERT_LE(a.ngrps, 42);
    EXPECT_EQ(a.grps[1].gfirst, 1);
    for (int g = 1; g <= a.ngrps; ++g) {
        EXPECT_LE(a.grps[g].gfirst, a.grps[g].glast) << "group " << g;
        if (g > 1) {
            EXPECT_EQ(a.grps[g].gfirst, a.grps[g - 1].glast + 1) << "group " << g;
        }
    }
    EXPECT_EQ(a.nframes, a.grps[a.ngrps].glast);
    ASSERT_LE(a.nframes, 1000);
    QList<int> seen(a.npics + 1, 0);
    for (int f = 1; f <= 1000; ++f) {
        const int s = a.frames[f];
        if (f > a.nframes) {
            ASSERT_EQ(s, -1) << "frame " << f << " after the last group";
            continue;
        }
        ASSERT_TRUE(s == -1 || (s >= 1 && s <= a.npics)) << "frame " << f;
        if (s > 0)
            ++seen[s];
    }
    for (int s = 1; s <= a.npics; ++s)
        EXPECT_EQ(seen[s], 1) << "slot " << s;
    for (int g = 1; g <= a.ngrps; ++g)
        EXPECT_EQ(a.grps[g].gcount, countGroupPictures(a, static_cast<Integer>(g))) << g;
    EXPECT_LE(a.npics + a.npbox, 1000);
    if (a.npbox > 0) {
        EXPECT_EQ(a.pbfirst, 1001 - a.npbox);
        EXPECT_GE(a.pbtop, a.pbfirst);
        EXPECT_LE(a.pbtop, 1000);
    } else {
        EXPECT_TRUE(a.pbfirst == 0 || a.pbfirst == 1001) << a.pbfirst;
    }
}

} // namespace vimbrel::test
