// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The import window: pick picture files from any folder or the memory card, preview one, and
// copy them into the album, where they arrive at the end of the Photo Box. Modal; the page
// view opens it and redraws when exec() returns.
//
// A run of more than a few files shows its progress with a Cancel button and keeps the window
// responsive; the rules of the run are in importrun.h.

#include "album.h"
#include "folderbrowser.h"
#include "picturelibrary.h"
#include "windowhub.h"

#include <QCheckBox>
#include <QDialog>
#include <QFutureWatcher>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <memory>

namespace vimbrel {

class ImportRun;

class impimg : public QDialog {
    Q_OBJECT
public:
    impimg(Album& a, WindowHub& hub, PictureLibrary& pictures, QWidget* parent = nullptr);
    ~impimg() override;

    QGroupBox* frimp;
    DriveBox* drvbox;
    DirBox* dirbox;
    FileBox* flebox;
    QLabel* pb;     // preview, drawn into its pixmap
    QLabel* pbsize; // the previewed picture's size
    QCheckBox* ck_del;
    QPushButton* cb_import;
    QPushButton* cb_memcard;
    QPushButton* cb_cancel;
    // Progress of a long run.
    QWidget* frprog;
    QLabel* prtext;
    QProgressBar* prbar;
    QPushButton* cb_stop;

    void drvbox_Change();
    void dirbox_Change(const QString& folder);
    void flebox_Click();
    void cb_memcard_Click();
    void cb_import_Click();
    void cb_stop_Click();
    void cb_cancel_Click();

    // Whether a run is going on (only long runs outlast cb_import_Click).
    bool running() const { return m_run != nullptr; }
    // Runs of up to this many files finish inside cb_import_Click under the busy pointer.
    static constexpr int quietRunLimit = 4;
    // 1 while the preview of the file clicked is being made on the picture pool.
    int picturesPending() const { return m_previewing ? 1 : 0; }

protected:
    void reject() override;

private:
    void openFirstFolder();
    void clearPreview();
    struct Preview;
    void showPreview(quint64 generation, const Preview& p);
    void stepRun();
    void endRun();
    void showProgress(bool on);

    Album& m_a;
    WindowHub& m_hub;
    PictureLibrary& m_pictures;
    quint64 m_preview = 0; // the click whose preview is wanted; older ones are dropped
    bool m_previewing = false;
    quint64 m_quietPreview = 0; // a preview whose error an import run has reported already
    std::unique_ptr<ImportRun> m_run;
    // A step of the run is going on, perhaps showing a box: the run must not be entered
    // again, let alone freed, until it returns.
    bool m_stepping = false;
    QFutureWatcher<void> m_watcher;
};

} // namespace vimbrel
