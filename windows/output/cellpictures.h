#pragma once
// The pictures of a print job's cells. The next one is made on the other core while the current
// one is drawn and its page sent, and the copies of one picture are made once. At most two cell
// pictures exist at a time; they are not kept in the library's memory tier.

#include "picturelibrary.h"

#include <QFuture>
#include <QImage>
#include <QSize>
#include <QString>

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

    // The picture, ready made when it was asked for ahead; null when it cannot be read.
    QImage take(const CellPicture& c);
    // Starts making `c` on another core.
    void ahead(const CellPicture& c);

private:
    PictureLibrary& m_pictures;
    CellPicture m_next;
    QFuture<QImage> m_future;
};

} // namespace vimbrel
