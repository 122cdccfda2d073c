// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files and folders dropped from a file manager, imported as a press of "&Import" imports
// them: the same rules, messages and progress, but never deleting a source.
//
//   const int n = importDrop(album, hub, pictures, paths, parentWidget);
//
// The n pictures copied arrive at the end of the Photo Box and the album is written. A
// dropped folder gives the pictures in it; those of its subfolders only when the user says so.

#include "album.h"
#include "picturelibrary.h"
#include "windowhub.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>

namespace vimbrel {

class ImportRun;

int importDrop(Album& a, WindowHub& hub, PictureLibrary& pictures, const QStringList& paths,
               QWidget* parent = nullptr);

// The progress of a long drop import, with Cancel: exec() settles the whole run (finish() is
// the caller's, after the window has gone).
class impdrop : public QDialog {
    Q_OBJECT
public:
    impdrop(ImportRun& run, QWidget* parent = nullptr);

    QLabel* prtext;
    QProgressBar* prbar;
    QPushButton* cb_stop;

    void cb_stop_Click();

protected:
    // Escape or the close button stop the run.
    void reject() override;

private:
    void stepRun();
    void showCount();

    ImportRun& m_run;
    // A step is going on, perhaps showing a box: the run must not be entered again.
    bool m_stepping = false;
    QFutureWatcher<void> m_watcher;
};

} // namespace vimbrel
