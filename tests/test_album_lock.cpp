// SPDX-License-Identifier: GPL-3.0-or-later
// The album lock: one session at a time, stale locks taken over, no lock where none can be
// made. A second AlbumLock in this process stands for another session.

#include "albumlock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace vimbrel;
using namespace Qt::StringLiterals;
using Outcome = AlbumLock::Outcome;

namespace {

struct LockPlace {
    QTemporaryDir tmp;
    QString album = tmp.filePath(u"TRIP.vmb"_s);
    QString lockFile = tmp.filePath(u".TRIP.vmb.lock"_s);
    LockPlace() {
        QFile f(album);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    }
    // A lock file as a session left it: `content`, last changed `age` seconds ago.
    void leave(const QByteArray& content, int age) {
        QFile f(lockFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.flush(); // a later write would date the file anew
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                                  QFileDevice::FileModificationTime));
    }
};

// What QLockFile writes for this process, taken from a real lock elsewhere.
QByteArray thisProcessLock(const QString& dir) {
    QLockFile real(dir + u"/probe.lock"_s);
    EXPECT_TRUE(real.tryLock(0));
    QFile f(dir + u"/probe.lock"_s);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

} // namespace

TEST(AlbumLock, OneSessionAtATimeWhateverPathLeadsThere) {
    LockPlace p;
    AlbumLock first, second;
    EXPECT_EQ(first.lock(p.album), Outcome::Locked);
    EXPECT_TRUE(QFileInfo(p.lockFile).isFile());
    EXPECT_EQ(second.lock(p.album), Outcome::HeldElsewhere);
    EXPECT_FALSE(second.isLocked());

    // Through a linked folder it is still the one album.
    ASSERT_TRUE(QFile::link(p.tmp.path(), p.tmp.filePath(u"link"_s)));
    EXPECT_EQ(second.lock(p.tmp.filePath(u"link/TRIP.vmb"_s)), Outcome::HeldElsewhere);

    // Released, moved onto, destroyed: each frees the album for the other session.
    first.release();
    EXPECT_FALSE(QFileInfo::exists(p.lockFile));
    EXPECT_EQ(second.lock(p.album), Outcome::Locked);
    second = AlbumLock();
    EXPECT_EQ(first.lock(p.album), Outcome::Locked);
    {
        AlbumLock moved(std::move(first));
        EXPECT_EQ(second.lock(p.album), Outcome::HeldElsewhere);
    }
    EXPECT_EQ(second.lock(p.album), Outcome::Locked);
}

TEST(AlbumLock, StaleLocksAreTakenOverLiveOnesAreNot) {
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    // Beyond the largest process id Linux hands out: certainly not running.
    const QByteArray deadPid = "4194305";
    struct Case {
        const char* what;
        QByteArray content;
        int age;
        Outcome want;
    };
    LockPlace probe;
    const QList<Case> cases = {
        {"process gone", deadPid + "\nvimbrel\n" + host + "\n", 0, Outcome::Locked},
        {"empty, abandoned", "", 60, Outcome::Locked},
        {"garbage, abandoned", "not a lock at all", 60, Outcome::Locked},
        {"no process id", "0\nvimbrel\n" + host + "\n", 60, Outcome::Locked},
        {"process alive", thisProcessLock(probe.tmp.path()), 3600, Outcome::HeldElsewhere},
        {"other machine", deadPid + "\nvimbrel\nelsewhere.invalid\n", 3600, Outcome::HeldElsewhere},
        // A lock is empty for the moment its holder takes to write it.
        {"empty, just made", "", 0, Outcome::HeldElsewhere},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LockPlace p;
        p.leave(c.content, c.age);
        AlbumLock lock;
        EXPECT_EQ(lock.lock(p.album), c.want);
        if (c.want == Outcome::Locked) {
            QFile f(p.lockFile);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_TRUE(
                f.readLine().startsWith(QByteArray::number(QCoreApplication::applicationPid())));
        }
    }
}

TEST(AlbumLock, NoLockWhereNoneCanBeMadeAndNeverAWait) {
    LockPlace p;
    // A pipe where the lock goes would hold a reader forever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(p.lockFile).constData(), 0600), 0);
    AlbumLock lock;
    EXPECT_EQ(lock.lock(p.album), Outcome::Unavailable);
    EXPECT_FALSE(lock.isLocked());

    // A folder that cannot be written to (a read-only medium); root writes anyway.
    LockPlace ro;
    ASSERT_EQ(::chmod(QFile::encodeName(ro.tmp.path()).constData(), 0555), 0);
    if (::access(QFile::encodeName(ro.tmp.path()).constData(), W_OK) != 0)
        EXPECT_EQ(lock.lock(ro.album), Outcome::Unavailable);
    ::chmod(QFile::encodeName(ro.tmp.path()).constData(), 0755);
}
