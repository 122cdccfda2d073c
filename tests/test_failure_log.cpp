// SPDX-License-Identifier: GPL-3.0-or-later
// Failures the user is not told about leave one warning naming the file and the reason.
#include "albumfixture.h"
#include "config.h"
#include "diskthumbnails.h"
#include "logcapture.h"
#include "picturefiles.h"
#include "picturelibrary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vimbrel;
using namespace vimbrel::test;

namespace {

// A folder nothing can be written into: a read-only bind mount for root (who ignores the
// permission bits), the permission bits for everyone else. `active` false: neither was possible.
struct ReadOnlyFolder {
    QByteArray path;
    bool mounted = false;
    bool active = false;
    explicit ReadOnlyFolder(const QString& folder) : path(QFile::encodeName(folder)) {
        QDir().mkpath(folder);
        if (::geteuid() == 0) {
            mounted = ::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0;
            active = mounted && ::mount(nullptr, path.constData(), nullptr,
                                        MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        } else {
            active = ::chmod(path.constData(), 0555) == 0;
        }
    }
    ~ReadOnlyFolder() {
        if (mounted)
            ::umount2(path.constData(), MNT_DETACH);
        else
            ::chmod(path.constData(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
};

// One warning of `category` about `file`, the reason after the file's name.
void expectOneWarning(LogCapture& log, const char* category, const QString& file) {
    const QList<Line> lines = log.about(QLatin1String(category), file);
    ASSERT_EQ(lines.size(), 1) << qPrintable(file);
    EXPECT_EQ(lines[0].type, QtWarningMsg);
    EXPECT_GT(lines[0].text.size(), lines[0].text.indexOf(file) + file.size() + 4)
        << qPrintable(lines[0].text);
}

} // namespace

TEST(FailureLog, UndecodablePictureIsLoggedOncePerFile) {
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("broken.jpg"));
    const QString also = dir.filePath(QStringLiteral("empty.jpg"));
    writeFile(bad, QByteArray("\xff\xd8\xff\xe0 not really a picture", 26));
    writeFile(also, QByteArray());
    PictureLibrary lib(dir.filePath(QStringLiteral("cache")), 1 << 20);
    LogCapture log;
    for (int repaint = 0; repaint < 3; ++repaint) {
        EXPECT_TRUE(lib.thumbnail(bad, QSize(64, 48), 0).isNull());
        EXPECT_TRUE(lib.thumbnail(also, QSize(64, 48), 0).isNull());
    }
    for (const QString& file : {bad, also})
        expectOneWarning(log, "vimbrel.pictures", file);
}

TEST(FailureLog, ThumbnailThatCannotBeWrittenIsLogged) {
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("picture.jpg"));
    writeFile(picture, jpegBytes(markedPicture(64, 48)));
    const PictureSource src = PictureSource::of(picture);
    QImage thumb(64, 48, QImage::Format_RGB32);
    thumb.fill(Qt::darkGreen);

    struct Case {
        const char* name;
        QString cache;
    };
    const QString readOnly = dir.filePath(QStringLiteral("readonly"));
    const QString blocker = dir.filePath(QStringLiteral("plain-file"));
    writeFile(blocker, "not a folder");
    const Case cases[] = {
        {"read-only cache folder", readOnly},
        {"cache folder under a file", blocker + QStringLiteral("/thumbnails")},
    };
    ReadOnlyFolder locked(readOnly);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.cache == readOnly && !locked.active)
            continue; // no way to make a folder read-only here
        DiskThumbnails disk(c.cache, 1 << 20);
        LogCapture log;
        EXPECT_FALSE(disk.write(src, thumb, QSize(640, 480)));
        EXPECT_FALSE(disk.write(src, thumb, QSize(640, 480)));
        expectOneWarning(log, "vimbrel.pictures", picture);
    }
}

TEST(FailureLog, ConfigurationThatCannotBeWrittenIsLogged) {
    Fixture f;
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("plain-file"));
    writeFile(blocker, "not a folder");
    f.a.cfgfile = blocker + QStringLiteral("/vimbra.cfg");
    f.a.cfglist.append(QStringLiteral("A.vmb"), QStringLiteral("/p/A.vmb"));
    f.a.cfglist.append(AlbumList::other, AlbumList::other);
    f.a.albtitle = QStringLiteral("B.vmb");
    f.a.albfile = QStringLiteral("/p/B.vmb");
    LogCapture log;
    SaveCfg(f.a, -1);
    expectOneWarning(log, "vimbrel.store", f.a.cfgfile);
    EXPECT_TRUE(log.about(QStringLiteral("vimbrel.store"), f.a.cfgfile)
                    .value(0)
                    .text.contains(QStringLiteral("Not a directory")));
}
