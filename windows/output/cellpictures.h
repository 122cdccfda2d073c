// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures of a print job's cells. The loop asks for the next cells ahead, so they are made
// on both cores while the current one is drawn and its page sent; the copies of one picture are
// made once. A few cell pictures exist at a time; they are not kept in the library's memory tier.

#include "picturelibrary.h"

#include <QFuture>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <utility>

namespace vimbrel {

struct CellPicture {
    QString path;
    QSize size; // drawn size, after turning
    int rotation = 0;
    bool operator==(const CellPicture&) const = default;
};

class CellPictures {
public:
    explicit CellPictures(PictureLibrary& pictures) : m_pictures(pictures) {}
    ~CellPictures();
    CellPictures(const CellPictures&) = delete;
    CellPictures& operator=(const CellPictures&) = delete;

    // Starts making `c` on another core, unless it is under way or was the last one taken.
    void ahead(const CellPicture& c);
    // Whether take(c) has its picture without waiting; starts making it if nobody has.
    bool ready(const CellPicture& c);
    // The picture: the one made ahead, the last one again, or made now; null when unreadable.
    QImage take(const CellPicture& c);

private:
    PictureLibrary& m_pictures;
    QList<std::pair<CellPicture, QFuture<QImage>>> m_pending;
    CellPicture m_lastKey;
    QImage m_last;
};

} // namespace vimbrel
