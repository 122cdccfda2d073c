// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An import run into the album TRIP from a folder standing for a camera card, with the
// Photo Box's append recorded.

#include "importfixture.h"
#include "importrun.h"
#include "picturefiles.h"
#include "scriptedui.h"
#include "windowhub.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace vimbrel::test {

// The Photo Box's append, as far as the import needs it, and the order of events.
struct RecordingHub : WindowHub {
    Album* a = nullptr;
    QStringList calls;
    void AddToFS(int pos) override {
        QStringList files;
        for (int i = 1; i <= a->nimps; ++i)
            files.append(a->imps[i].ifile.trimmed());
        calls.append(QStringLiteral("AddToFS %1 ").arg(pos) + files.join(QLatin1Char(',')));
        const int n = a->nimps;
        a->npbox = static_cast<Integer>(a->npbox + n);
        a->pbfirst = static_cast<Integer>(1001 - a->npbox); // the box starts empty here
        for (int i = 1; i <= n; ++i) {
            PicRec& p = a->pics[1000 - n + i];
            p = PicRec();
            p.pfile = a->imps[i].ifile.trimmed();
            p.porient = "L";
            p.pwidth = a->imps[i].iwidth;
            p.pheight = a->imps[i].iheight;
        }
    }
};

struct ImportTest : ::testing::Test, ImportAlbum {
    RecordingHub hub;
    QString card = tmp.filePath(QStringLiteral("card/"));

    void SetUp() override {
        hub.a = &a;
        QDir().mkpath(card);
    }

    void jpeg(const QString& name, int w = 64, int h = 48, int orientation = 0) {
        writeFile(card + name, jpegBytes(markedPicture(w, h), {90, false, orientation}));
    }
    void bytes(const QString& name, const QByteArray& b) { writeFile(card + name, b); }
    bool onCard(const char* name) const { return QFile::exists(card + QLatin1String(name)); }
    QStringList titles() const {
        QStringList out;
        for (const auto& s : ui.shown)
            out.append(s.title);
        return out;
    }
    // Runs to the end, as the window does for a few files.
    std::unique_ptr<ImportRun> import(const QStringList& files, bool del = false,
                                      ImportRun::Steps steps = {}) {
        auto run = std::make_unique<ImportRun>(a, hub, pictures, card, files, del, steps);
        while (run->next()) {
        }
        run->finish();
        return run;
    }
};

} // namespace vimbrel::test
