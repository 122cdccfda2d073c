#include "cellpictures.h"

#include <QtConcurrent/QtConcurrentRun>

namespace vimbrel {

CellPictures::~CellPictures() {
    // The task reads the library, which must not go before it ends.
    m_future.waitForFinished();
}

QImage CellPictures::take(const CellPicture& c) {
    if (m_future.isValid() && c == m_next)
        return m_future.result();
    return m_pictures.thumbnail(c.path, c.size, c.rotation, false);
}

void CellPictures::ahead(const CellPicture& c) {
    if (m_future.isValid() && c == m_next)
        return;
    m_future.waitForFinished();
    m_next = c;
    PictureLibrary* lib = &m_pictures;
    m_future =
        QtConcurrent::run([lib, c] { return lib->thumbnail(c.path, c.size, c.rotation, false); });
}

} // namespace vimbrel
