// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a picture file: measuring and a reduced-scale decode must never crash,
// read out of bounds or allocate without bound, whether the file is cut short, goes on after
// its picture or is no picture at all.

#include "picturedecoder.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

using namespace vimbrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("picture.jpg"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    readPictureHeader(path);
    // Small boxes only: a full decode of an admitted header may rightly take 800 MB.
    decodePicture(path, QSize(64, 48));
    return 0;
}
