// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files that are not plain files, for tests that every place that opens a file refuses them
// without blocking. Each function makes one kind at `path` (which must not exist yet) and
// returns whether it could; a test skips the kinds the machine cannot make.
//
//   makeFifo(p)            a named pipe: open() for reading blocks until a writer comes
//   makeLinkToFifo(p)      a symbolic link to a fresh FIFO beside it (p + ".fifo")
//   makeLinkToDevice(p)    a symbolic link to /dev/zero (endless) or /dev/null
//   makeLinkToFolder(p)    a symbolic link to a fresh folder beside it (p + ".dir")
//   makeFolder(p)          a folder, typically named like a picture ("x.jpg")
//   makeUnreadable(p, b)   a regular file holding b that the process cannot open; false (and
//                          no file) for root, who can read it anyway
//   makeDanglingLink(p)    a symbolic link to a name that does not exist
//   makeSocket(p)          a bound Unix socket file
//
// Every kind is listed in `specialKinds()` for table-driven tests.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vimbrel::test {

inline QByteArray specialPath(const QString& path) {
    return QFile::encodeName(path);
}

inline bool makeFifo(const QString& path) {
    return ::mkfifo(specialPath(path).constData(), 0644) == 0;
}

inline bool makeLink(const QString& link, const QString& target) {
    return ::symlink(specialPath(target).constData(), specialPath(link).constData()) == 0;
}

inline bool makeLinkToFifo(const QString& path) {
    return makeFifo(path + QStringLiteral(".fifo")) &&
           makeLink(path, path + QStringLiteral(".fifo"));
}

inline bool makeLinkToDevice(const QString& path) {
    for (const char* dev : {"/dev/zero", "/dev/null"}) {
        struct stat st {};
        if (::stat(dev, &st) == 0 && S_ISCHR(st.st_mode))
            return ::symlink(dev, specialPath(path).constData()) == 0;
    }
    return false;
}

inline bool makeLinkToFolder(const QString& path) {
    return QDir().mkpath(path + QStringLiteral(".dir")) &&
           makeLink(path, path + QStringLiteral(".dir"));
}

inline bool makeFolder(const QString& path) {
    return QDir().mkpath(path);
}

inline bool makeUnreadable(const QString& path, const QByteArray& bytes = "unreadable") {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return false;
    f.close();
    if (::chmod(specialPath(path).constData(), 0) != 0)
        return false;
    // Root reads it anyway; then it is no test of an unreadable file.
    const int fd = ::open(specialPath(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(specialPath(path).constData());
        return false;
    }
    return true;
}

inline bool makeDanglingLink(const QString& path) {
    return makeLink(path, QStringLiteral("does-not-exist.jpg"));
}

inline bool makeSocket(const QString& path) {
    const QByteArray name = specialPath(path);
    sockaddr_un addr{};
    if (name.size() >= static_cast<qsizetype>(sizeof addr.sun_path))
        return false;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd); // the socket file stays; nobody listens on it
    return ok;
}

struct SpecialKind {
    const char* name;
    std::function<bool(const QString&)> make;
};

inline std::vector<SpecialKind> specialKinds() {
    return {
        {"fifo", makeFifo},
        {"link to fifo", makeLinkToFifo},
        {"link to device", makeLinkToDevice},
        {"link to folder", makeLinkToFolder},
        {"folder", makeFolder},
        // Large enough that no reader refuses it for its size before trying to open it.
        {"unreadable",
         [](const QString& p) {
             return makeUnreadable(p, QByteArray(4096, 'x'));
         }},
        {"dangling link", makeDanglingLink},
        {"socket", makeSocket},
    };
}

// Whether this process can be kept from reading a file at all (root reads everything).
inline bool canBeUnreadable() {
    return ::geteuid() != 0;
}

// Runs `work` and reports whether it ended within `seconds`. A reader stuck on a pipe is then
// set free by opening the pipe's other end, so that a hang fails the test instead of CTest.
template <class Work> bool endsWithin(Work&& work, const QString& fifo, int seconds = 5) {
    std::atomic<bool> done{false};
    std::thread t([&] {
        work();
        done = true;
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const bool inTime = done;
    while (!done) {
        // Either end may be the one waited on: a reader waits for a writer and the other way.
        for (const int mode : {O_WRONLY, O_RDONLY}) {
            const int fd = ::open(specialPath(fifo).constData(), mode | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    t.join();
    return inTime;
}

} // namespace vimbrel::test
