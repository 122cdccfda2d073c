// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Photo Box: a small frameless window above the others holding the album's pictures that
// sit in no frame. It shows five of them at a time in a strip with a scroll bar, the number in
// the box and the number selected, and three buttons: select all or none, delete, hide.
//
// It is made once, hidden, and only shown and hidden afterwards. Its public procedures
// (LoadFS, AddToFS, DeletePbox, ResetfsCmd, fs_DragDrop) are what the page view, the import
// and the group editor call; the rules themselves live in pboxlogic.h. The store's refresh
// calls (LoadFS, setPboxScroll, hidePboxSelMarks, setPboxSelCount) must be forwarded here by
// the hub: the strip reloads through them when an album is read and inside PackPics.

#include "album.h"
#include "framebox.h"
#include "pboxlogic.h"
#include "pboxwidgets.h"
#include "picturelibrary.h"
#include "pictureloader.h"
#include "windowhub.h"

#include <QLabel>
#include <QScrollBar>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

namespace vimbrel {

class pbox : public QWidget {
    Q_OBJECT
public:
    pbox(Album& a, WindowHub& hub, PictureLibrary& pictures, QWidget* parent = nullptr);
    ~pbox() override;

    // A strip position's picture box, inside: the fitting box of the thumbnails.
    static constexpr QSize thumbSize{96, 72};

    BoxFrame* fsframe;
    std::array<StripBox*, stripPositions> fs{};
    std::array<QLabel*, stripPositions> fsn{};
    std::array<QLabel*, stripPositions> fsnum{};
    std::array<SelectionOutline*, stripPositions> fssel{};
    StripScrollBar* fs_scroll;
    QLabel* totnpbox;
    QLabel* fs_selcnt;
    BoxButton* fs_select;
    BoxButton* fs_del;
    BoxButton* fs_min;
    RollArea* fsroll;

    // t = 0: the strip from the start of the box; t = -10 - k: position k redrawn; t > 0: the
    // strip from slot t, moving what is already drawn.
    void LoadFS(int t); // a slot, or a LoadFSCode
    // pos 0..4: tpic inserted at that position; BoxPosition::append: tpic appended;
    // BoxPosition::imports: the imps appended.
    void AddToFS(int pos);
    // Takes the selected pictures out of the box (not their files).
    void DeletePbox();
    void ResetfsCmd();
    // A drop onto strip position index (BoxPosition::append: fsroll or the page view's Photo
    // Box tool).
    void fs_DragDrop(int index, const QString& source = QStringLiteral("pb"));

    // The store's calls, forwarded by the hub.
    void setPboxScroll(int max, int value);
    void hidePboxSelMarks();
    void setPboxSelCount(int n);

    // Event handlers, public so tests can drive them as the events would.
    void fs_MouseDown(int k, Qt::MouseButton button);
    void fs_scroll_Change(int value);
    void fs_select_Click();
    void fs_del_Click();
    void fs_min_Click();
    // Files and folders dropped from outside: imported to the end of the box.
    void importFiles(const QStringList& paths);
    // A key on strip position k, which has the focus: Left and Right move the focus (the
    // strip scrolls at its ends), Space selects as the right button does, Escape goes back
    // to the page view. False: not such a key.
    bool fs_KeyPress(int k, int key);

    // Starts the drag of the strip's selected pictures; tests replace it (a real drag runs
    // its own event loop until the drop).
    std::function<void(int k, bool several)> startDrag;

    // Pictures asked for and not yet drawn into the strip.
    int picturesPending() const { return m_loader.pending(); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    // The window lives as long as the program: closing it (Alt+F4) is hiding it, as fs_min.
    void closeEvent(QCloseEvent* e) override;
    // Files and folders dropped from a file manager anywhere on the window are imported into
    // the box. Drags of ours are the strip's, and pass by here.
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void buildTitleLine();
    void buildStrip();
    void apply(const StripUpdate& u);
    QPixmap placeholder(int slot);
    void requestPictures();
    // The loader sends only the pictures of its last request, some before request() returns.
    void pictureArrived(quint64 generation, int index, const QImage& image);
    void showNumbers();
    void showMarks();
    QString picturePath(int slot) const;

    Album& m_a;
    WindowHub& m_hub;
    PictureLoader m_loader;
    // What each strip position waits for, and where in it the picture goes.
    struct Wanted {
        PictureLibrary::Request request;
        QRect rect;
    };
    std::array<std::optional<Wanted>, stripPositions> m_wanted{};
    QList<int> m_requestedPositions; // the position of each picture of the last request
};

} // namespace vimbrel
