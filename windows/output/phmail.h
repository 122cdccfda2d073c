// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The e-mail window: reduced copies of the selected photos of the current group go into the
// e-mail folder, then the user's mail program opens a new message with them attached
// (xdg-email), or one that says where they are when they cannot be attached.
//
//   phmail w(album, pictures, pageView);
//   w.exec();
//
// Modal; it never changes the album, only the scratch list wpics and the e-mail folder, which
// each send empties first. It stays open after a send, so another size can follow. The rules
// live in mailrules.h.

#include "album.h"
#include "picturelibrary.h"

#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <array>
#include <functional>

namespace vimbrel {

class phmail : public QDialog {
    Q_OBJECT
public:
    // Hands the mailto: address to the desktop; tests record it instead.
    using UrlOpener = std::function<bool(const QUrl&)>;
    phmail(Album& a, PictureLibrary& pictures, QWidget* parent = nullptr, UrlOpener openUrl = {});

    QGroupBox* Frame1;
    std::array<QRadioButton*, 3> optsize;
    QPushButton* cb_send;
    QPushButton* cb_cancel;

    // How many photos a send copies.
    int photos() const { return m_nmail; }

    void cb_send_Click();
    void cb_cancel_Click();

private:
    void Form_Load();
    int chosenSize() const;

    Album& m_a;
    PictureLibrary& m_pictures;
    UrlOpener m_openUrl;
    int m_nmail = 0;
};

} // namespace vimbrel
