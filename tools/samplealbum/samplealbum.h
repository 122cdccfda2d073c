// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sample album the run command opens on first use: SAMPLE.vmb and its picture folder
// SAMPLE/ with 40 photo-like JPEGs drawn by code, a GIF and a BMP, arranged in three named
// groups with a few pictures left in the Photo Box. Built through the store, so the file is
// exactly what the program itself would write.

#include <QString>

namespace vimbrel::sample {

struct Options {
    int longSide = 1600; // of the JPEGs; tests ask for small pictures to stay fast
    quint32 seed = 1966;
};

struct Result {
    enum Outcome { Created, AlreadyThere, Failed } outcome = Failed;
    QString albumFile;
    QString error;
};

// The album's layout, also what the tests check against.
constexpr int jpegCount = 40;
constexpr int pictureCount = jpegCount + 2; // and one GIF, one BMP
constexpr int photoBoxCount = 4;
const QString albumName = QStringLiteral("SAMPLE");

// Creates folder/SAMPLE.vmb and folder/SAMPLE/ (and folder itself when missing). An existing
// SAMPLE.vmb is never touched: the result is AlreadyThere. The album file is written last, so
// an interrupted run is simply done again.
Result makeSampleAlbum(const QString& folder, const Options& options = {});

} // namespace vimbrel::sample
