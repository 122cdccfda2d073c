// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The group editor, "Photo Groups": every group as a pair of markers on a strip, the current
// group's extent as a red bar and its last frame on a boundary bar; its name, description,
// first and last frame with their pictures; Add, Insert, Delete, Merge Left and Merge Right.
// Modal; the page view opens it and "&Return" (or closing it any other way) brings the page
// view to the group that was current here. Changes reach the model at once; the rules live in
// grouprules.h. With canwrite "N" it only shows and selects groups.

#include "album.h"
#include "editorwidgets.h"
#include "grouprules.h"
#include "picturelibrary.h"
#include "pictureloader.h"
#include "windowhub.h"

#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <array>
#include <functional>

namespace vimbrel {

class EditorPageViews;

class phgrp : public QDialog {
    Q_OBJECT
public:
    // `pageViews` reaches the page-view labels the hub has no call for (Delete and Return).
    phgrp(Album& a, WindowHub& hub, EditorPageViews& pageViews, PictureLibrary& pictures,
          QWidget* parent = nullptr);

    // Strip scale: a unit is two pixels, a marker seven units wide, end blocks 16 pixels.
    static constexpr int unit = 2;
    static constexpr int markerWidth = 14;
    static constexpr int blockWidth = 16;
    static constexpr QSize pictureSize{168, 112};
    // The end pictures asked for and not yet drawn.
    int picturesPending() const { return m_loader.pending(); }

    GroupStrip* grpbar;
    QFrame* grpmrkgreen;
    QFrame* grpmrkred;
    std::array<GroupMarker*, 42> grpbt{};
    std::array<GroupMarker*, 42> grpbb{};
    QScrollBar* gscroll;
    std::array<QFrame*, 2> gblock{};
    QLabel* dgrpnbr;
    QLineEdit* dgrpname;
    QLineEdit* dgrpdesc;
    QGroupBox* grpframes;
    QLabel* grpfr;
    QLabel* grpto;
    QLabel* grpnpics;
    QLabel* frpic;
    QLabel* topic;
    QPushButton* cb_add;
    QPushButton* cb_ins;
    QPushButton* cb_del;
    QPushButton* cb_delleft;
    QPushButton* cb_delright;
    QPushButton* cb_ok;

    // Window state, named as the rules name it.
    int gcur = 1;
    int gprev = 1;
    int gbase = 0;
    int gmin = 0;
    int gmax = 0;
    int gframes = 0;
    int glastpic = 0;
    char gdirty = 'n';
    char gshowpics = 'y';
    char gguard = 'y';

    void SetGroup();
    void SetAllGroups();
    void GetLastPic();
    StripMetrics metrics() const { return {gbase, unit, markerWidth, blockWidth}; }

    // Event handlers, public so tests can drive them as the events would.
    void grpbt_MouseDown(int index);
    void gscroll_Change(int value);
    // False when the name box is blank: the message is shown and the focus goes back to it.
    bool dgrpname_LostFocus();
    void dgrpdesc_LostFocus();
    void cb_add_Click();
    void cb_ins_Click();
    void cb_del_Click();
    void cb_delleft_Click();
    void cb_delright_Click();
    void cb_ok_Click();

protected:
    // Closing by the window's button or Escape runs the "&Return" steps too: the model has
    // already changed, and the page view must follow it.
    void reject() override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void buildStrip();
    void buildFields();
    void placeMarkers(int g);
    void showPictures(int first, int last);
    // The loader sends only the pictures of its last request, some before request() returns.
    void pictureArrived(quint64 generation, int index, const QImage& image);
    bool leaveBoxes();
    void commitQuietly();
    void applyEffect(PageViewEffect effect);
    void askThenChange(const QString& title, QString (*question)(const Album&, int),
                       const std::function<PageViewEffect()>& change);
    void finish();

    Album& m_a;
    WindowHub& m_hub;
    PictureLoader m_loader;
    QList<std::pair<QLabel*, QRect>> m_pictureBoxes; // where each picture asked for goes
    EditorPageViews& m_pageViews;
    bool m_nameCheckPending = false;
    bool m_finished = false;
};

} // namespace vimbrel
