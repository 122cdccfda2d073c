// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A bind mount for tests that a folder reached under another path is still recognised. Only
// root may mount: elsewhere `active` stays false and the test skips that case.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <sys/mount.h>
#include <unistd.h>

namespace vimbrel::test {

struct BindMount {
    QByteArray to;
    bool active = false;
    BindMount(const QString& from, const QString& target) : to(QFile::encodeName(target)) {
        QDir().mkpath(target);
        active = ::geteuid() == 0 && ::mount(QFile::encodeName(from).constData(), to.constData(),
                                             nullptr, MS_BIND, nullptr) == 0;
    }
    ~BindMount() {
        if (active)
            ::umount2(to.constData(), MNT_DETACH);
    }
    BindMount(const BindMount&) = delete;
    BindMount& operator=(const BindMount&) = delete;
};

} // namespace vimbrel::test
