// SPDX-License-Identifier: GPL-3.0-or-later
#include "samplealbum.h"

#include "album.h"
#include "albumfile.h"
#include "gifwriter.h"
#include "picfiles.h"
#include "samplealbumscenes.h"
#include "ui.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QTransform>
#include <QtConcurrent>

#include <array>
#include <memory>
#include <numeric>

namespace vimbrel::sample {

namespace {

// Shapes of the stored pictures. Sideways is a portrait picture stored turned a quarter to the
// left, as a camera held upright without a tilt sensor writes it: the album shows it with
// orientation "P" (a quarter turn to the right), so it demonstrates turning.
enum class Shape { Landscape43, Landscape32, Portrait34, Portrait23, Sideways, Gif, Bmp };

struct Entry {
    Scene scene;
    Light light;
    Shape shape;
    int group;     // 1..3, or 0 for the Photo Box
    int gapBefore; // empty frames left before it
    const char* psdesc;
    const char* pldesc;
};

using S = Scene;
using L = Light;
using P = Shape;

// File number n is entry n; album slots follow the same order.
constexpr std::array<Entry, pictureCount> entries{{
    {S::Seaside, L::Morning, P::Landscape43, 1, 0, "Harbour at dawn",
     "Boats waiting for the tide in the first light"},
    {S::Seaside, L::Day, P::Landscape32, 1, 0, "Out on the bay",
     "Sails beyond the pier on a bright blue morning"},
    {S::Seaside, L::Day, P::Landscape43, 1, 0, "Lighthouse point",
     "The headland and its lighthouse, from the beach"},
    {S::Seaside, L::Day, P::Portrait34, 1, 0, "Long beach", "Foam, sand and not a soul in sight"},
    {S::Seaside, L::Golden, P::Landscape32, 1, 1, "Golden hour",
     "The sun low over the water, everything warm"},
    {S::Seaside, L::Sunset, P::Landscape43, 1, 0, "Sunset from the pier",
     "The last light over the harbour, from the pier"},
    {S::Seaside, L::Sunset, P::Landscape32, 1, 0, "Red sky at night",
     "A red sky at night: a fine day tomorrow"},
    {S::Seaside, L::Night, P::Landscape43, 1, 0, "Moon over the sea",
     "The moon coming up over a calm sea"},
    {S::Countryside, L::Day, P::Sideways, 1, 1, "Cliff top meadow",
     "Taken with the camera turned; shown upright"},
    {S::Seaside, L::Morning, P::Landscape43, 1, 0, "Low tide",
     "Low tide in the early morning, the bay half empty"},
    {S::Seaside, L::Day, P::Landscape32, 1, 0, "Midday heat",
     "Too hot to walk: we watched the boats instead"},
    {S::Seaside, L::Golden, P::Portrait23, 1, 2, "Evening stroll",
     "Walking back along the shore to the village"},
    {S::Seaside, L::Day, P::Landscape43, 1, 0, "Last swim",
     "The last swim of the week, the water like glass"},
    {S::Seaside, L::Sunset, P::Landscape32, 1, 0, "Goodbye, sea",
     "The last sunset before the drive to the hills"},

    {S::Mountains, L::Morning, P::Landscape43, 2, 0, "First ridge",
     "Mist lifting off the first ridge of the morning"},
    {S::Mountains, L::Day, P::Landscape32, 2, 0, "Snow on the peaks",
     "Snow still on the high peaks in the middle of June"},
    {S::Lake, L::Day, P::Landscape43, 2, 0, "Mirror lake",
     "Not a breath of wind: the mountains twice over"},
    {S::Mountains, L::Day, P::Portrait34, 2, 0, "Pine woods",
     "The path climbing through the pine woods"},
    {S::Lake, L::Golden, P::Landscape32, 2, 0, "Lake at evening",
     "The lake catching the last warm light of the day"},
    {S::Mountains, L::Golden, P::Landscape43, 2, 2, "Above the valley",
     "Looking down over the valley from the pass"},
    {S::Countryside, L::Morning, P::Landscape32, 2, 0, "Alpine meadow",
     "Meadow flowers everywhere on the way up"},
    {S::Lake, L::Sunset, P::Landscape43, 2, 0, "Dusk at the hut",
     "Dusk over the lake below the mountain hut"},
    {S::Mountains, L::Sunset, P::Landscape32, 2, 0, "Alpenglow",
     "The peaks turning pink as the sun went down"},
    {S::Mountains, L::Day, P::Sideways, 2, 1, "The summit",
     "Camera turned for the summit; shown upright"},
    {S::Lake, L::Morning, P::Landscape43, 2, 0, "Morning calm",
     "An early start: the lake still asleep"},
    {S::Mountains, L::Day, P::Bmp, 2, 0, "From the old camera",
     "A BMP picture, kept as BMP in the album"},
    {S::Lake, L::Night, P::Landscape32, 2, 0, "Night by the lake",
     "Moonlight on the water after the long walk"},

    {S::Town, L::Morning, P::Landscape43, 3, 0, "Market street",
     "The market street before the shops opened"},
    {S::Town, L::Day, P::Landscape32, 3, 0, "Painted houses", "Every house a different colour"},
    {S::Town, L::Day, P::Portrait34, 3, 0, "Church tower", "The church tower above the old roofs"},
    {S::Town, L::Golden, P::Landscape43, 3, 1, "Old square",
     "The old square in the warm evening light"},
    {S::Town, L::Day, P::Gif, 3, 0, "Town postcard", "A GIF picture, as old web pages had them"},
    {S::Countryside, L::Day, P::Landscape32, 3, 0, "Town gardens",
     "The gardens just outside the town walls"},
    {S::Town, L::Sunset, P::Landscape43, 3, 0, "Roofs at sunset", "Red roofs under a red sky"},
    {S::Town, L::Night, P::Landscape32, 3, 2, "Lights in windows",
     "Lights coming on in the windows along the street"},
    {S::Countryside, L::Golden, P::Landscape43, 3, 0, "Road home", "Fields along the road home"},
    {S::Town, L::Day, P::Portrait23, 3, 0, "Side street", "A narrow side street off the square"},
    {S::Countryside, L::Sunset, P::Landscape32, 3, 0, "Last evening",
     "The last evening of the summer trips"},

    {S::Countryside, L::Day, P::Landscape43, 0, 0, "Farm on the hill",
     "Not placed yet: a farm seen from the train"},
    {S::Seaside, L::Day, P::Landscape32, 0, 0, "Spare beach shot",
     "One more of the beach, waiting for a page"},
    {S::Mountains, L::Morning, P::Landscape43, 0, 0, "Another ridge",
     "Kept aside: almost the same as the first ridge"},
    {S::Town, L::Night, P::Portrait34, 0, 0, "Town by night",
     "The town at night, for the next album"},
}};

struct Group {
    const char* gname;
    const char* gdesc;
    int gfirst;
    int glast;
};
// Whole spreads at every display size (24, 6 or 4 frames); the last group runs to frame 1000,
// as in a fresh album.
constexpr std::array<Group, 3> groups{{
    {"Seaside Days", "A week by the sea: harbour, beaches and sunsets", 1, 48},
    {"Mountain Walks", "Ridges, lakes and pine woods on the long walks", 49, 96},
    {"Old Town", "Old streets, roofs and towers, and the way home", 97, 1000},
}};

QString extensionOf(Shape shape) {
    return shape == Shape::Gif   ? QStringLiteral("gif")
           : shape == Shape::Bmp ? QStringLiteral("bmp")
                                 : QStringLiteral("jpg");
}

QSize drawnSize(Shape shape, int longSide) {
    const int l = longSide;
    switch (shape) {
    case Shape::Landscape43:
        return {l, l * 3 / 4};
    case Shape::Landscape32:
        return {l, l * 2 / 3};
    case Shape::Portrait34:
    case Shape::Sideways:
        return {l * 3 / 4, l};
    case Shape::Portrait23:
        return {l * 2 / 3, l};
    case Shape::Gif:
        return {l * 2 / 5, l * 3 / 10};
    case Shape::Bmp:
        return {l / 2, l * 3 / 8};
    }
    return {};
}

struct Written {
    QSize size; // as stored
    QString error;
};

Written writePicture(int n, const QString& picdir, const Options& options) {
    const Entry& e = entries[std::size_t(n - 1)];
    QImage image = drawScene(drawnSize(e.shape, options.longSide), e.scene, e.light,
                             options.seed * 7919u + quint32(n));
    if (e.shape == Shape::Sideways)
        image = image.transformed(QTransform().rotate(-90));
    const QString path = picdir + pictureFileName(n, extensionOf(e.shape));
    QString error;
    if (e.shape == Shape::Gif) {
        writeGif(image, path, &error);
    } else {
        QImageWriter writer(path, e.shape == Shape::Bmp ? "bmp" : "jpg");
        writer.setQuality(88);
        if (e.shape == Shape::Bmp)
            image = image.convertToFormat(QImage::Format_RGB888); // a plain 24-bit BMP
        if (!writer.write(image))
            error = writer.errorString();
    }
    if (!error.isEmpty())
        error = path + QStringLiteral(": ") + error;
    return {image.size(), error};
}

// Keeps the text of the store's messages, which a silent Ui would drop.
class RecordingUi : public SilentUi {
public:
    QString lastMessage;
    MsgAnswer message(const QString& title, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override {
        lastMessage = title + QStringLiteral(": ") + text;
        return SilentUi::message(title, text, icon, buttons);
    }
};

PicRec record(int n, QSize size) {
    const Entry& e = entries[std::size_t(n - 1)];
    PicRec p;
    p.pfile = pictureFileName(n, extensionOf(e.shape));
    p.pflag = "n";
    p.porient = e.shape == Shape::Sideways ? "P" : "L";
    p.psdesc = e.psdesc;
    p.pldesc = e.pldesc;
    p.pwidth = Integer(size.width());
    p.pheight = Integer(size.height());
    p.psel = -1;
    return p;
}

} // namespace

Result makeSampleAlbum(const QString& folder, const Options& options) {
    Result result;
    const QDir dir(folder);
    result.albumFile = dir.absoluteFilePath(albumName + QStringLiteral(".vmb"));
    if (QFileInfo::exists(result.albumFile)) {
        result.outcome = Result::AlreadyThere;
        return result;
    }
    const QString picdir = dir.absoluteFilePath(albumName) + QLatin1Char('/');
    if (!QDir().mkpath(picdir)) {
        result.error = QStringLiteral("cannot create the folder ") + picdir;
        return result;
    }

    // Drawing and encoding dominate: one picture per core at a time.
    std::vector<Written> written(pictureCount);
    std::vector<int> numbers(pictureCount);
    std::iota(numbers.begin(), numbers.end(), 1);
    QtConcurrent::blockingMap(
        numbers, [&](int n) { written[std::size_t(n - 1)] = writePicture(n, picdir, options); });
    for (const Written& w : written)
        if (!w.error.isEmpty()) {
            result.error = w.error;
            return result;
        }

    RecordingUi ui;
    auto album = std::make_unique<Album>(); // the tables are large for the stack
    Album& a = *album;
    a.ui = &ui;
    ClearAlbum(a);
    a.albname = albumName;
    a.albdesc = QStringLiteral("A summer of trips: sea, hills and town");

    a.ngrps = Integer(groups.size());
    for (int g = 1; g <= a.ngrps; ++g) {
        const Group& src = groups[std::size_t(g - 1)];
        GrpRec& grp = a.grps[g];
        grp.gname = src.gname;
        grp.gdesc = src.gdesc;
        grp.gfirst = Integer(src.gfirst);
        grp.glast = Integer(src.glast);
        grp.gcount = 0;
    }
    a.nframes = a.grps[a.ngrps].glast;

    int frame = 0;
    int lastGroup = 0;
    for (int n = 1; n <= pictureCount; ++n) {
        const Entry& e = entries[std::size_t(n - 1)];
        if (e.group == 0)
            continue;
        if (e.group != lastGroup) {
            frame = groups[std::size_t(e.group - 1)].gfirst;
            lastGroup = e.group;
        }
        frame += e.gapBefore;
        const int slot = ++a.npics;
        a.pics[slot] = record(n, written[std::size_t(n - 1)].size);
        a.frames[frame] = Integer(slot);
        ++a.grps[e.group].gcount;
        ++frame;
    }
    a.npbox = Integer(photoBoxCount);
    a.pbfirst = Integer(1001 - photoBoxCount);
    a.pbtop = a.pbfirst;
    int slot = a.pbfirst;
    for (int n = 1; n <= pictureCount; ++n)
        if (entries[std::size_t(n - 1)].group == 0)
            a.pics[slot++] = record(n, written[std::size_t(n - 1)].size);

    a.picdir = picdir;
    a.albfile = result.albumFile;
    a.albtitle = albumName + QStringLiteral(".vmb");
    // The remembered album list stays empty, so writing the album records nothing in the
    // user's configuration.
    a.cfgfile.clear();
    if (!WriteAlbum(a)) {
        result.error = ui.lastMessage;
        return result;
    }
    result.outcome = Result::Created;
    return result;
}

} // namespace vimbrel::sample
