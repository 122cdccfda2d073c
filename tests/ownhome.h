// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// HOME and XDG_DATA_HOME inside a temporary folder for the life of a test, so the Trash that
// deleted pictures go to is the test's own, never the user's; the working folder too, so a
// Trash made in the wrong place shows up there.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace vimbrel::test {

struct OwnHome {
    QTemporaryDir home;
    QByteArray oldHome = qgetenv("HOME"), oldData = qgetenv("XDG_DATA_HOME");
    QString oldWork = QDir::currentPath();
    QString work = home.filePath(QStringLiteral("work"));
    // `dataHome`: the data folder's name inside the home folder.
    explicit OwnHome(const QString& dataHome = QStringLiteral("share")) {
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(dataHome)));
        QDir().mkpath(work);
        QDir::setCurrent(work);
    }
    ~OwnHome() {
        QDir::setCurrent(oldWork);
        qputenv("HOME", oldHome);
        if (oldData.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", oldData);
    }
    OwnHome(const OwnHome&) = delete;
    OwnHome& operator=(const OwnHome&) = delete;
    bool workEmpty() const { return QDir(work).isEmpty(); }
    QString trashed(const QString& name) const {
        return home.filePath(QStringLiteral("share/Trash/files/") + name);
    }
};

} // namespace vimbrel::test
