// SPDX-License-Identifier: GPL-3.0-or-later
#include "singleinstance.h"

#include "specialfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using vimbrel::SingleInstance;
using Outcome = SingleInstance::Outcome;
using namespace Qt::StringLiterals;

TEST(SingleInstance, SecondInstanceIsRefusedUntilTheFirstEnds) {
    QTemporaryDir tmp;
    auto first = std::make_unique<SingleInstance>(tmp.path());
    ASSERT_EQ(first->acquire(), Outcome::Locked);
    SingleInstance second(tmp.path());
    EXPECT_EQ(second.acquire(), Outcome::AlreadyRunning);
    first.reset();
    EXPECT_EQ(second.acquire(), Outcome::Locked);
}

// Whatever a crash, a full disk or a stray file left where the lock goes, the program starts:
// only a live Vimbrel keeps another from running.
TEST(SingleInstance, OnlyALiveInstanceKeepsTheProgramFromStarting) {
    const auto left = [](const QByteArray& content) {
        return [content](const QString& dir) {
            const QString path = QDir(dir).filePath(u"vimbrel.lock"_s);
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
                return false;
            f.close();
            return f.open(QIODevice::ReadWrite) &&
                   f.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime);
        };
    };
    struct Case {
        const char* what;
        std::function<bool(const QString& dir)> make;
        Outcome expected;
    };
    const Case cases[] = {
        {"an empty lock", left(""), Outcome::Locked},
        {"a lock of garbage", left("\x01\x02garbage\n\xff"), Outcome::Locked},
        {"a lock naming no number", left("vimbrel\nhost\n"), Outcome::Locked},
        // Nobody holds it: the host was renamed since, or the folder is a shared /tmp.
        {"a lock of a process on another host", left("4242\nvimbrel\nsomeotherhost\n"),
         Outcome::Locked},
        {"a folder where the lock goes",
         [](const QString& dir) {
             return vimbrel::test::makeFolder(QDir(dir).filePath(u"vimbrel.lock"_s));
         },
         Outcome::Unavailable},
        {"a pipe where the lock goes",
         [](const QString& dir) {
             return vimbrel::test::makeFifo(QDir(dir).filePath(u"vimbrel.lock"_s));
         },
         Outcome::Unavailable},
        {"no runtime folder at all",
         [](const QString& dir) { return QDir(dir).removeRecursively(); }, Outcome::Unavailable},
    };
    for (const Case& c : cases) {
        QTemporaryDir tmp;
        const QString dir = tmp.filePath(u"run"_s);
        ASSERT_TRUE(QDir().mkpath(dir));
        ASSERT_TRUE(c.make(dir)) << c.what;
        SingleInstance instance(dir);
        Outcome got = Outcome::AlreadyRunning;
        // A pipe must not hold start-up: a hang fails here instead of in CTest.
        EXPECT_TRUE(vimbrel::test::endsWithin([&] { got = instance.acquire(); },
                                              QDir(dir).filePath(u"vimbrel.lock"_s)))
            << c.what;
        EXPECT_EQ(got, c.expected) << c.what;
    }
}
