// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A user at the windows, without the windows: every action the page view, the Photo Box, the
// group and description editors, the import and the chooser offer, done through the same rule
// functions the windows call and in the order their handlers call them. What a handler does on
// the screen alone (drawing, marks) is left out; what it does to the album is not.
//
// The stress test drives a session with random actions and checks the album after each one.

#include "album.h"
#include "ownhome.h"
#include "pboxlogic.h"
#include "picturelibrary.h"
#include "toolstrip.h"
#include "windowhub.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <random>

namespace vimbrel::test {

// `text` with %1, %2 ... filled in from `values`, for the failure report.
template <class... T> QString say(const char* text, const T&... values) {
    QString s = QString::fromUtf8(text);
    ((s = s.arg(values)), ...);
    return s;
}

// Answers every question with Yes and keeps the error messages, which the stress test treats
// as failures unless it provoked them.
class SessionUi;

class AlbumSession : public WindowHub {
public:
    // A writable album TRIP in a temporary folder: three groups holding 30 pictures in frames
    // chosen by `seed`, and 5 in the Photo Box; `sources` small pictures wait on a card folder
    // beside it to be imported.
    explicit AlbumSession(unsigned seed, int sources = 8);
    ~AlbumSession() override;

private:
    std::unique_ptr<Album> m_album; // first: `a` refers to it
public:
    Album& a;
    std::mt19937 rnd;
    QString log; // what the last action did, for the failure report

    // One random action; its description goes to `log`.
    void randomAction();

    // The actions, each as its window does it; an action that the window would not offer in the
    // current state does nothing.
    void showIndex();
    void openGroup(int g);
    void selectAllTool();
    void toggleFrame(int k);
    void dragPageToPage(int from, int to, int turnBetween);
    void dragPageToBox(int from, int index);
    void boxPress(int k, bool left);
    void boxSelectAll();
    void boxScroll(int value);
    void dragBoxToPage(int k, int to);
    void boxDelete();
    void rotateTool();
    void sizeTool(int tool);
    void turnPage(bool right, int clicks);
    void firstLastTool(bool last);
    void groupEditor(int actions);
    void descEditor();
    void importFiles(int count, int stopAfter);
    void save();
    void reopen(bool saveFirst);

    // The counts and positions, for a failure report.
    QString state() const;
    // What the album must always be; empty when sound.
    QString problem() const;
    // Encoded, decoded and compared with itself; empty when the same album comes back.
    QString roundTripProblem() const;
    // The saved album file is the album the user last saved.
    QString savedProblem();

    // WindowHub: what the other windows do to the model when called.
    void SetTotPg() override;
    void DispPage(int p) override;
    void AddToFS(int pos) override { addToBox(a, pos); }
    void DeletePbox() override { deleteFromBox(a); }
    void LoadFS(int start) override { loadStrip(a, start); }
    void SetPage() override;
    void Set_it(int code) override { applySetIt(a, m_tools, code); }

    // Error messages shown so far ("title: text").
    QStringList errors() const;
    // The tools the page view shows now.
    bool toolShown(int i) const { return m_tools.visible[static_cast<std::size_t>(i)]; }

private:
    void fillAlbum();
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rnd); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    bool pagePress(int k, bool left);
    void dropOnPage(int k, bool fromBox);
    QString randomText(int maxLen);

    test::OwnHome m_home; // deleted pictures go to its Trash
    QTemporaryDir m_tmp;
    std::unique_ptr<SessionUi> m_ui;
    PictureLibrary m_pictures;
    ToolStripState m_tools;
    QString m_card;
    QStringList m_sources;
    QByteArray m_saved; // the album as last written, empty before the first save
    bool m_armed = false;
};

} // namespace vimbrel::test
