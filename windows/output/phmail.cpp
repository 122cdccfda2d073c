#include "phmail.h"

#include <QDesktopServices>

namespace vimbrel {

phmail::phmail(Album& a, PictureLibrary& pictures, QWidget* parent, UrlOpener openUrl)
    : QDialog(parent), m_a(a), m_pictures(pictures), m_openUrl(std::move(openUrl)) {
    if (!m_openUrl)
        m_openUrl = [](const QUrl& url) {
            return QDesktopServices::openUrl(url);
        };
}

} // namespace vimbrel
