// SPDX-License-Identifier: GPL-3.0-or-later
// Every place in the store and the platform layer that opens a file, tried with what can stand
// under a file's name on a real machine. Readers must refuse at once, never wait on a pipe or
// read a device; writers must leave whatever a link points at alone unless it is a plain file.

#include "albumfile.h"
#include "albumfixture.h"
#include "config.h"
#include "diskthumbnails.h"
#include "picturedecoder.h"
#include "picturefiles.h"
#include "picturelibrary.h"
#include "savepicture.h"
#include "specialfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace vimbrel;
using namespace vimbrel::test;
using namespace Qt::StringLiterals;

namespace {

struct Place {
    QTemporaryDir tmp;
    Fixture f;
    QString picture = tmp.filePath(u"real.jpg"_s);
    QString fifo = tmp.filePath(u"pipe"_s);
    PictureLibrary lib{tmp.filePath(u"cache"_s), 1 << 20};
    Place() {
        writeFile(picture, jpegBytes(markedPicture(900, 600)));
        EXPECT_TRUE(makeFifo(fifo));
    }
    QString at(const char* name) const { return tmp.filePath(QLatin1String(name)); }
    bool titled(const QString& title) const {
        return !f.ui.shown.isEmpty() && f.ui.shown.constFirst().title == title;
    }
};

// One way in: where the file it opens lies, and whether it refused that file.
struct Reader {
    const char* name;
    std::function<QString(Place&)> where;
    std::function<bool(Place&, const QString& path)> refuses;
};

const QList<Reader>& readers() {
    static const QList<Reader> list{
        {"configuration", [](Place& p) { return p.at("vimbra.cfg"); },
         [](Place& p, const QString& path) {
             p.f.a.cfgfile = path;
             readConfig(p.f.a);
             return p.f.a.cfglist.count() == 0;
         }},
        {"album file", [](Place& p) { return p.at("TRIP.vmb"); },
         [](Place& p, const QString& path) {
             p.f.a.albfile = path;
             ReadAlbum(p.f.a);
             return p.f.a.albfile.isEmpty() && p.titled(u"Open - ERROR"_s);
         }},
        {"picture header", [](Place& p) { return p.at("x.jpg"); },
         [](Place&, const QString& path) {
             return !readPictureHeader(path).ok();
         }},
        {"picture decoding", [](Place& p) { return p.at("x.jpg"); },
         [](Place&, const QString& path) {
             return !decodePicture(path, QSize(64, 48)).ok();
         }},
        {"measuring", [](Place& p) { return p.at("x.jpg"); },
         [](Place& p, const QString& path) {
             return !p.lib.MeasurePic(path).error.isEmpty() &&
                    p.lib.thumbnail(path, QSize(64, 48), 0).isNull();
         }},
        {"thumbnail cache",
         [](Place& p) { return p.lib.disk().fileFor(PictureSource::of(p.picture)); },
         [](Place& p, const QString&) {
             QDir().mkpath(p.lib.disk().folder());
             const PictureSource src = PictureSource::of(p.picture);
             QImage img;
             QSize full;
             return p.lib.disk().read(src, QSize(64, 48), &img, &full) ==
                        DiskThumbnails::Lookup::Missing &&
                    !p.lib.disk().fullSize(src, &full);
         }},
        {"Save Picture's source", [](Place& p) { return p.at("src.jpg"); },
         [](Place& p, const QString& path) {
             const QString out = p.at("out.jpg");
             savePictureAs(p.f.a, p.lib, path, out);
             return p.titled(u"Save - ERROR"_s) && !QFileInfo::exists(out);
         }},
    };
    return list;
}

} // namespace

TEST(SpecialFiles, EveryReaderRefusesAtOnceWhatIsNotAPlainFile) {
    for (const Reader& r : readers()) {
        for (const SpecialKind& k : specialKinds()) {
            Place p;
            const QString path = r.where(p);
            QDir().mkpath(QFileInfo(path).path());
            if (k.name == std::string("unreadable") && !canBeUnreadable())
                continue; // root reads any file
            ASSERT_TRUE(k.make(path)) << r.name << " / " << k.name;
            bool refused = false;
            // Opening `path` frees a reader stuck on a pipe, or on a link to one.
            const bool inTime = endsWithin([&] { refused = r.refuses(p, path); }, path);
            EXPECT_TRUE(inTime) << r.name << " waited on a " << k.name;
            EXPECT_TRUE(refused) << r.name << " read a " << k.name;
        }
    }
}

namespace {

// One way out, writing `path`; true when it reported the write as failed.
struct Writer {
    const char* name;
    const char* file;
    std::function<bool(Place&, const QString& path)> refuses;
};

const QList<Writer>& writers() {
    static const QList<Writer> list{
        // Configuration writes are silent: refusing shows as the target left alone.
        {"configuration", "vimbra.cfg",
         [](Place& p, const QString& path) {
             p.f.a.cfgfile = path;
             p.f.a.cfglist.append(AlbumList::other, AlbumList::other);
             SaveCfg(p.f.a, -9);
             return true;
         }},
        {"album file", "TRIP.vmb",
         [](Place& p, const QString& path) {
             p.f.a.albfile = path;
             return !WriteAlbum(p.f.a) && p.titled(u"Save - ERROR"_s);
         }},
        {"JPEG conversion", "x.jpg",
         [](Place& p, const QString& path) {
             return p.lib.SavePic(p.picture, path, 80, PictureLibrary::Jpeg) !=
                    PictureLibrary::Saved;
         }},
        {"GIF conversion", "x.gif",
         [](Place& p, const QString& path) {
             return p.lib.SavePic(p.picture, path, 80, PictureLibrary::Gif) !=
                    PictureLibrary::Saved;
         }},
        {"e-mail copy", "vmb0001.jpg",
         [](Place& p, const QString& path) {
             return p.lib.SaveResizePic(p.picture, path, 50, 0, PictureLibrary::Jpeg, 60, 40) !=
                    PictureLibrary::Saved;
         }},
        // Refused as an error naming the file, which ends the command rather than asking again.
        {"Save Picture", "x.bmp",
         [](Place& p, const QString& path) {
             return !savePictureAs(p.f.a, p.lib, p.picture, path) && p.titled(u"Save - ERROR"_s) &&
                    p.f.ui.shown.constFirst().text.endsWith(path);
         }},
    };
    return list;
}

struct Target {
    const char* name;
    std::function<bool(Place&, const QString& path)> make;
    mode_t type; // what the target must still be afterwards; 0: must still be missing
};

QList<Target> writeTargets() {
    QList<Target> t{
        {"pipe", [](Place& p, const QString& path) { return makeLink(path, p.fifo); }, S_IFIFO},
        {"folder", [](Place& p, const QString& path) { return makeLink(path, p.tmp.path()); },
         S_IFDIR},
        {"nowhere", [](Place& p, const QString& path) { return makeLink(path, p.at("missing")); },
         0},
    };
    // The fault seen: a link to a device node turned the node into a small plain file.
    if (::geteuid() == 0)
        t.append({"device",
                  [](Place& p, const QString& path) {
                      const QString node = p.at("null-device");
                      return ::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666,
                                     makedev(1, 3)) == 0 &&
                             makeLink(path, node);
                  },
                  S_IFCHR});
    return t;
}

QString targetOf(Place& p, const Target& t) {
    if (t.type == S_IFIFO)
        return p.fifo;
    if (t.type == S_IFDIR)
        return p.tmp.path();
    return t.type == 0 ? p.at("missing") : p.at("null-device");
}

} // namespace

TEST(SpecialFiles, NoWriterFollowsALinkOntoAnythingButAPlainFile) {
    for (const Writer& w : writers()) {
        for (const Target& t : writeTargets()) {
            Place p;
            const QString path = p.at(w.file);
            ASSERT_TRUE(t.make(p, path)) << w.name << " / " << t.name;
            bool refused = false;
            const bool inTime = endsWithin([&] { refused = w.refuses(p, path); }, p.fifo);
            EXPECT_TRUE(inTime) << w.name << " waited on a link to a " << t.name;
            EXPECT_TRUE(refused) << w.name << " through a link to a " << t.name;
            struct stat st {};
            const bool there = ::stat(QFile::encodeName(targetOf(p, t)).constData(), &st) == 0;
            if (t.type == 0)
                EXPECT_FALSE(there) << w.name << " made a file where a link to nowhere pointed";
            else
                EXPECT_TRUE(there && (st.st_mode & S_IFMT) == t.type)
                    << w.name << " replaced the " << t.name << " a link pointed at";
            EXPECT_TRUE(QFileInfo(path).isSymLink()) << w.name << " / " << t.name;
        }
    }
}

TEST(SpecialFiles, ALinkToAPlainFileIsWrittenThroughAndStaysALink) {
    for (const Writer& w : writers()) {
        Place p;
        const QString real = p.at("elsewhere");
        writeFile(real, "old");
        const QString path = p.at(w.file);
        ASSERT_TRUE(makeLink(path, real));
        w.refuses(p, path);
        EXPECT_TRUE(QFileInfo(path).isSymLink()) << w.name;
        QFile f(real);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_NE(f.readAll(), QByteArray("old")) << w.name;
    }
}
