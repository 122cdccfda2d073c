// SPDX-License-Identifier: GPL-3.0-or-later
// The folder lister: names by their bytes, the system's reason for a failure, and entries
// looked at without following links unless asked to.
#include "filenames.h"
#include "folderlist.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vimbrel;

namespace {

const FolderEntry* find(const FolderList& l, const char* name) {
    for (const FolderEntry& e : l.entries)
        if (nameBytes(e.name) == name)
            return &e;
    return nullptr;
}

} // namespace

TEST(FolderList, NamesKeepTheirBytesAndLinksAreFollowedOnlyWhenAsked) {
    QTemporaryDir tmp;
    const QByteArray dir = QFile::encodeName(tmp.path()) + '/';
    ASSERT_EQ(::close(::open((dir + "M\xfcller.jpg").constData(), O_WRONLY | O_CREAT, 0644)), 0);
    ASSERT_EQ(::mkdir((dir + "sub").constData(), 0755), 0);
    ASSERT_EQ(::symlink("sub", (dir + "link").constData()), 0);
    ASSERT_EQ(::symlink("gone", (dir + "dangling").constData()), 0);

    const FolderList plain = listFolder(tmp.path());
    ASSERT_TRUE(plain.ok()) << qPrintable(plain.error);
    EXPECT_EQ(plain.entries.size(), 4); // no "." or ".."
    EXPECT_TRUE(find(plain, "M\xfcller.jpg") && !find(plain, "M\xfcller.jpg")->statted);

    const FolderList own = listFolder(tmp.path(), EntryStatus::OfEntry);
    const FolderList target = listFolder(tmp.path(), EntryStatus::OfTarget);
    ASSERT_TRUE(find(own, "link") && find(target, "link") && find(own, "dangling"));
    EXPECT_TRUE(S_ISLNK(find(own, "link")->st.st_mode));
    EXPECT_TRUE(S_ISDIR(find(target, "link")->st.st_mode));
    EXPECT_TRUE(S_ISLNK(find(own, "dangling")->st.st_mode));
    EXPECT_FALSE(find(target, "dangling")->statted);

    // From a handle: the same entries, twice over, and the handle stays the caller's.
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    EXPECT_EQ(listOpenFolder(fd).entries.size(), 4);
    EXPECT_EQ(listOpenFolder(fd).entries.size(), 4);
    EXPECT_EQ(::close(fd), 0);
}

TEST(FolderList, AFolderThatCannotBeReadSaysWhy) {
    QTemporaryDir tmp;
    const QString base = tmp.path() + QLatin1Char('/');
    QFile(base + QStringLiteral("file")).open(QIODevice::WriteOnly);
    ::symlink("loop", QFile::encodeName(base + QStringLiteral("loop")).constData());
    ::mkdir(QFile::encodeName(base + QStringLiteral("closed")).constData(), 0);
    const std::pair<QString, int> cases[] = {
        {base + QStringLiteral("missing"), ENOENT},
        {base + QStringLiteral("file"), ENOTDIR},
        {base + QStringLiteral("loop"), ELOOP},
        {QString(), ENOENT},
        // The superuser reads every folder regardless.
        {base + QStringLiteral("closed"), ::geteuid() == 0 ? 0 : EACCES},
    };
    for (const auto& [folder, err] : cases) {
        const FolderList l = listFolder(folder);
        EXPECT_EQ(l.error, err ? QString::fromLocal8Bit(std::strerror(err)) : QString())
            << qPrintable(folder);
        EXPECT_EQ(l.ok(), err == 0);
    }
    EXPECT_EQ(listOpenFolder(-1).error, QString::fromLocal8Bit(std::strerror(EBADF)));
}
