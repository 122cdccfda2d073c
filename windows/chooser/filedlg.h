// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The album file dialog: create a new album, open one from any folder, or rename the open
// album. The mode is chosen by the chooser; Cancel leaves dlgmode "None".

#include "album.h"
#include "filedlgrules.h"
#include "folderbrowser.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vimbrel {

class filedlg : public QDialog {
    Q_OBJECT
public:
    filedlg(Album& a, DlgMode mode, QWidget* parent = nullptr);

    QLabel* Label3;
    QLineEdit* iname;
    QLabel* namerule; // what a name may hold
    QLabel* Label4;
    QLineEdit* idesc;
    QLabel* Label2;
    DriveBox* drvbox1;
    DirBox* dirbox1;
    FileBox* flebox1;
    QPushButton* cb_ok;
    QPushButton* cb_cancel;

    void cb_ok_Click();
    void cb_cancel_Click();
    void flebox1_Click(const QString& name);
    void flebox1_DblClick(const QString& name);

    DlgMode mode() const { return m_mode; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void reject() override;

private:
    Album& m_a;
    DlgMode m_mode;
    RenameSource m_rename;
    QString m_picked;   // Open: the file clicked in the list, exactly as named
    QString m_pickedIn; // and the folder it was listed in
};

} // namespace vimbrel
