// SPDX-License-Identifier: GPL-3.0-or-later
#include "cellpictures.h"

#include <QtConcurrent/QtConcurrentRun>

namespace vimbrel {

CellPictures::~CellPictures() {
    // The tasks read the library, which must not go before they end. Those not begun are
    // dropped: waiting for them would make them here, on the GUI thread.
    for (auto& p : m_pending) {
        p.second.cancel();
        p.second.waitForFinished();
    }
}

void CellPictures::ahead(const CellPicture& c) {
    if (c == m_lastKey && !m_last.isNull())
        return;
    for (const auto& p : m_pending)
        if (p.first == c)
            return;
    PictureLibrary* lib = &m_pictures;
    m_pending.append({c, QtConcurrent::run(&m_pictures.pool(), [lib, c] {
                          return lib->thumbnail(c.path, c.size, c.rotation, false);
                      })});
}

bool CellPictures::ready(const CellPicture& c) {
    if (c == m_lastKey && !m_last.isNull())
        return true;
    ahead(c);
    for (const auto& p : m_pending)
        if (p.first == c)
            return p.second.isFinished();
    return true;
}

QImage CellPictures::take(const CellPicture& c) {
    if (c == m_lastKey && !m_last.isNull())
        return m_last;
    QImage img;
    bool found = false;
    for (qsizetype i = 0; i < m_pending.size(); ++i) {
        if (m_pending[i].first == c) {
            img = m_pending[i].second.result();
            m_pending.removeAt(i);
            found = true;
            break;
        }
    }
    if (!found) { // made on the pool all the same: the GUI thread only waits between cells
        ahead(c);
        img = m_pending.takeLast().second.result();
    }
    m_lastKey = c;
    m_last = img;
    return img;
}

} // namespace vimbrel
