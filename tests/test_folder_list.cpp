// SPDX-License-Identifier: GPL-3.0-or-later
// The folder lister: names by their bytes, the system's reason for a failure, and entries
// looked at without following links unless asked to.
#include "filenames.h"
#include "folderlist.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vimbrel;

namespace {

QString sysError(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

const FolderEntry* find(const FolderList& l, const QString& name) {
    for (const FolderEntry& e : l.entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

} // namespace

TEST(FolderList, NamesKeepTheirBytesAndLinksAreFollowedOnlyWhenAsked) {
    QTemporaryDir tmp;
    const QByteArray dir = QFile::encodeName(tmp.path()) + '/';
    const QByteArray latin1 = "M\xfcller.jpg";
    ASSERT_EQ(::close(::open((dir + latin1).constData(), O_WRONLY | O_CREAT, 0644)), 0);
    ASSERT_EQ(::mkdir((dir + "sub").constData(), 0755), 0);
    ASSERT_EQ(::symlink("sub", (dir + "link").constData()), 0);
    ASSERT_EQ(::symlink("gone", (dir + "dangling").constData()), 0);

    const FolderList plain = listFolder(tmp.path());
    ASSERT_TRUE(plain.ok()) << qPrintable(plain.error);
    QSet<QByteArray> bytes;
    for (const FolderEntry& e : plain.entries) {
        bytes.insert(nameBytes(e.name));
        EXPECT_FALSE(e.statted);
    }
    EXPECT_EQ(bytes, (QSet<QByteArray>{latin1, "sub", "link", "dangling"}));

    const FolderList own = listFolder(tmp.path(), EntryStatus::OfEntry);
    const FolderList target = listFolder(tmp.path(), EntryStatus::OfTarget);
    const QString link = QStringLiteral("link"), dangling = QStringLiteral("dangling");
    ASSERT_TRUE(find(own, link) && find(target, link) && find(own, dangling));
    EXPECT_TRUE(S_ISLNK(find(own, link)->st.st_mode));
    EXPECT_TRUE(S_ISDIR(find(target, link)->st.st_mode));
    EXPECT_TRUE(find(own, dangling)->statted && S_ISLNK(find(own, dangling)->st.st_mode));
    EXPECT_FALSE(find(target, dangling)->statted);
    EXPECT_TRUE(S_ISREG(find(own, nameText(latin1))->st.st_mode));

    // From a handle: the same entries, twice over, and the handle stays the caller's.
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(listOpenFolder(fd).entries.size(), 4);
    EXPECT_EQ(listOpenFolder(fd, EntryStatus::OfEntry).entries.size(), 4);
    struct stat st {};
    EXPECT_EQ(::fstat(fd, &st), 0);
    ::close(fd);
}

TEST(FolderList, AFolderThatCannotBeReadSaysWhy) {
    QTemporaryDir tmp;
    const QString base = tmp.path() + QLatin1Char('/');
    QFile(base + QStringLiteral("file")).open(QIODevice::WriteOnly);
    ASSERT_EQ(::symlink("loop", QFile::encodeName(base + QStringLiteral("loop")).constData()), 0);
    const struct {
        QString folder;
        int err;
    } cases[] = {
        {base + QStringLiteral("missing"), ENOENT},
        {base + QStringLiteral("file"), ENOTDIR},
        {base + QStringLiteral("loop"), ELOOP},
        {QString(), ENOENT},
    };
    for (const auto& c : cases) {
        const FolderList l = listFolder(c.folder);
        EXPECT_FALSE(l.ok()) << qPrintable(c.folder);
        EXPECT_EQ(l.error, sysError(c.err)) << qPrintable(c.folder);
        EXPECT_TRUE(l.entries.isEmpty());
    }
    EXPECT_EQ(listOpenFolder(-1).error, sysError(EBADF));

    // Without read permission (the superuser reads every folder regardless).
    ASSERT_TRUE(QDir().mkpath(base + QStringLiteral("closed")));
    ::chmod(QFile::encodeName(base + QStringLiteral("closed")).constData(), 0);
    if (::geteuid() != 0)
        EXPECT_EQ(listFolder(base + QStringLiteral("closed")).error, sysError(EACCES));
    ::chmod(QFile::encodeName(base + QStringLiteral("closed")).constData(), 0700);
}
