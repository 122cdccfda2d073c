// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page view: the main window of an open album, shown as an open book. Its public
// procedures (SetPage, DispPage, SetTotPg, Set_it, pgleft_Click, pgright_Click) are what the
// other windows call after they change the album.

#include "album.h"
#include "framebox.h"
#include "picturelibrary.h"
#include "pictureloader.h"
#include "toolstrip.h"
#include "windowhub.h"

#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

namespace vimbrel {

class BookView;
class LeafOverlay;
class PageArrow;

class phpage : public QWidget {
    Q_OBJECT
public:
    phpage(Album& a, WindowHub& hub, PictureLibrary& pictures, QWidget* parent = nullptr);
    ~phpage() override;

    // The book: 780 x 520 pixels, wide enough for three Small frames a page.
    static constexpr QSize bookSize{780, 520};

    BookView* phpg;
    std::array<FrameBox*, 24> pb{};
    std::array<SelectionOutline*, 24> frsel{};
    std::array<QLabel*, 24> ibn{};
    std::array<QLabel*, 2> pgnum{};
    PageArrow* pgleft;
    PageArrow* pgright;
    std::array<QListWidget*, 2> idxlst{};
    QLabel* pgtotal;
    QLabel* frtotal;
    QLabel* pictotal;
    QLabel* seldisp;
    std::array<QLabel*, 2> dispdesc{};
    QLabel* phpgname;
    QLabel* dstat;
    QWidget* frtools;
    std::array<QToolButton*, toolCount> it{};
    QTimer pgtimer;

    void SetPage();
    void DispPage(int p); // curpage, curpage + 1 or a DispPageCode
    void SetTotPg();
    void Set_it(int code); // a SetItCode
    void pgleft_Click();
    void pgright_Click();
    void pgtimer_Timer();
    void it_Click(int index);
    void idxlst_DblClick(int index);
    void pb_MouseDown(int index, Qt::MouseButton button);
    void pb_MouseMove(int index, Qt::MouseButtons buttons, QPoint pos);
    void pb_DblClick(int index);
    // What a drag from position `index` takes along: its spread, picture and caption.
    void pb_DragStart(int index);
    // A drop onto page position `index` from a page frame ("pb") or the Photo Box ("fs").
    void pb_DragDrop(int index, const QString& source);
    // Files and folders dropped from outside onto frame f (0: the Photo Box tool): imported,
    // into the frames from f on when they have room, else into the Photo Box.
    void importFiles(const QStringList& paths, int f);
    void clearPagePosition(int k);
    // A key on the frame at page position `index` that has the focus: arrows move the focus
    // (turning the page at the side of the spread), Space selects as the right button does,
    // Enter opens the picture, B puts the photo(s) in the Photo Box. False: not such a key.
    bool pb_KeyPress(int index, int key);
    // Puts the photo at page position `index` into the Photo Box, with the rest of the
    // selection when it is part of one, as a drag onto the Photo Box tool does.
    void pb_ToBox(int index);

    // AlbumViews calls, forwarded by the hub.
    void showSelMark(int pos, bool visible);
    void setSelCount(int n);
    void setGroupLabels(int pictotal, int frtotal, const QString& dispdesc0);
    void showAlbumDesc(const QString& phpgnameText);
    void showPhotoCount(int gcount);
    // What the group editor asks for through the hub. blankPage: the group shown is gone, so
    // all 24 frames and captions, both page numbers, both description lines and the three
    // totals are emptied. blankTotals: the totals only.
    void blankPage();
    void blankTotals();
    void showNextPageArrow(bool visible);

    const ToolStripState& toolState() const { return m_tools; }
    // Pictures asked for and not yet drawn into their frames.
    int picturesPending() const { return m_loader.pending(); }
    // Where Save Image As hands the picture path; tests replace it.
    std::function<void(const QString&)> savePicAs;
    // Opens the help at its contents; tests replace it.
    std::function<void()> showHelp;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void buildBook();
    void buildCounters(QWidget* host);
    void buildTools();
    void applyTools();
    void highlightTool(int i);
    void enterBook(); // the keyboard focus from the window or the tools into the book
    // Frames hide while the leaf turns and when the spread is laid out again, and Qt would
    // hand their focus to the first tool. parkFocus() keeps it on the window meanwhile (the
    // page keys still work), restoreFocus() puts it back on that frame or the nearest shown.
    void parkFocus();
    void restoreFocus();
    void arrowTurn(char dir);
    void turn(char dir, int step);
    void stopTurn();
    void drawFrame(int k, int f);
    void requestPictures();
    // The loader sends only the pictures of its last request, some before request() returns.
    void pictureArrived(quint64 generation, int index, const QImage& image);
    QList<PictureLibrary::Request> spreadRequests(int page) const;
    void showIndex();
    QString framePath(int slot) const;
    bool dropWelcome(int k, const QString& source);
    bool dragEvent(QObject* o, QEvent* e);
    void fileDragEvent(QObject* o, QDropEvent* d);

    Album& m_a;
    WindowHub& m_hub;
    PictureLibrary& m_pictures;
    LeafOverlay* m_leaf = nullptr;
    ToolStripState m_tools;
    QPixmap m_book;
    PictureLoader m_loader;
    // What each frame waits for: the picture and where it goes in the frame.
    struct Wanted {
        PictureLibrary::Request request;
        QRect rect;
    };
    std::array<std::optional<Wanted>, 24> m_wanted{};
    QList<int> m_requestedFrames; // the frame of each picture of the last request
    char m_queuedTurn = 0;        // an arrow turn asked for while the leaf was turning
    bool m_passing = false;       // the spread being shown is turned past at once
    int m_focusFrame = -1;        // the frame parkFocus() took the focus from
    bool m_dragArmed = false;
    QPoint m_pressPos;
    QPixmap m_pbhold;           // the drawn picture of the frame a drag started from
    bool m_holdPending = false; // ... and whether its picture had not arrived yet
    QString m_dragcap;          // and its caption
    Qt::DropAction m_dropAction = Qt::CopyAction;
};

} // namespace vimbrel
