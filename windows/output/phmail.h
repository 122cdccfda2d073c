#pragma once
// The e-mail window: reduced copies of the selected photos of the current group go into the
// e-mail folder, then the user's mail program opens a new message that says where they are.

#include "album.h"
#include "picturelibrary.h"

#include <QDialog>
#include <QUrl>
#include <functional>

namespace vimbrel {

class phmail : public QDialog {
    Q_OBJECT
public:
    // Hands the mailto: address to the desktop; tests record it instead.
    using UrlOpener = std::function<bool(const QUrl&)>;
    phmail(Album& a, PictureLibrary& pictures, QWidget* parent = nullptr, UrlOpener openUrl = {});

private:
    Album& m_a;
    PictureLibrary& m_pictures;
    UrlOpener m_openUrl;
};

} // namespace vimbrel
