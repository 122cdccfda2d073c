// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The description editor: the album description and the one selected photo's short and long
// description. Modal; the page view opens it. "&Accept Changes" stores what differs and
// refreshes the page view's labels (descrules.h); "&Dont Change" and closing store nothing.

#include "album.h"
#include "windowhub.h"

#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace vimbrel {

class phdesc : public QDialog {
    Q_OBJECT
public:
    phdesc(Album& a, WindowHub& hub, QWidget* parent = nullptr);

    QLineEdit* adesc;
    QGroupBox* fr_pic;
    QLineEdit* psdesc;
    QLineEdit* pldesc;
    QPushButton* cb_ok;
    QPushButton* cb_cancel;

    // The pics slot edited, -1 when none.
    int dpic = -1;

    void cb_ok_Click();
    void cb_cancel_Click();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    Album& m_a;
    WindowHub& m_hub;
};

} // namespace vimbrel
