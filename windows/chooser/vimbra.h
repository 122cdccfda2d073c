// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The album chooser: the remembered albums and the six commands to open, create, save,
// rename, return to the page view and leave the program. Loaded once, hidden and shown.

#include "album.h"
#include "filedlgrules.h"
#include "windowhub.h"

#include <QDialog>
#include <QPushButton>
#include <QTreeView>
#include <functional>

namespace vimbrel {

class vimbra : public QDialog {
    Q_OBJECT
public:
    vimbra(Album& a, WindowHub& hub, QWidget* parent = nullptr);

    QTreeView* cfgnames; // column 0: cfgnames, column 1: cfgfiles
    QPushButton* cb_open;
    QPushButton* cb_new;
    QPushButton* cb_save;
    QPushButton* cb_saveas;
    QPushButton* cb_cancel;
    QPushButton* cb_exit;

    void cb_open_Click();
    void cb_new_Click();
    void cb_save_Click();
    void cb_saveas_Click();
    void cb_cancel_Click();
    void cb_exit_Click();
    void SetCB();
    void DelListItem();
    void Form_Activate();

    // Shows the album file dialog modally in `mode`; dlgmode is "None" afterwards when the
    // user cancelled. Tests replace it.
    std::function<void(DlgMode)> showFileDlg;

protected:
    void keyReleaseEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void selectRow(int row);
    int selectedRow() const; // -1: none
    QString selectedName() const;
    void leaveForPageView();

    Album& m_a;
    WindowHub& m_hub;
};

} // namespace vimbrel
