// SPDX-License-Identifier: GPL-3.0-or-later
#include "volumes.h"

#include "regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <sys/statvfs.h>
#include <unistd.h>

namespace vimbrel {

VolumeStatus volumeStatus(const QString& folder) {
    VolumeStatus st;
    struct statvfs sv {};
    const QByteArray path = QFile::encodeName(folder);
    if (::statvfs(path.constData(), &sv) != 0)
        return st;
    st.known = true;
    st.available = static_cast<qint64>(sv.f_bavail) * static_cast<qint64>(sv.f_frsize);
    st.readOnly = (sv.f_flag & ST_RDONLY) != 0;
    st.folderWritable = ::access(path.constData(), W_OK | X_OK) == 0;
    return st;
}

bool isRemovableDevice(const QString& device, const QString& sysRoot) {
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    const QString name = device.mid(5);
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return false;
    // /sys/class/block/<name> links into the device tree; a partition's parent is its disk.
    QString node = QFileInfo(sysRoot + QStringLiteral("/class/block/") + name).canonicalFilePath();
    if (node.isEmpty())
        return false;
    if (QFile::exists(node + QStringLiteral("/partition")))
        node = QFileInfo(node).path();
    QFile f;
    if (!openRegularFile(f, node + QStringLiteral("/removable")))
        return false;
    return f.read(1) == "1";
}

QList<MountedVolume> mountedVolumes() {
    QList<MountedVolume> out;
    const auto volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& v : volumes) {
        if (!v.isValid() || !v.isReady())
            continue;
        MountedVolume m;
        m.root = v.rootPath();
        if (!m.root.endsWith(QLatin1Char('/')))
            m.root += QLatin1Char('/');
        m.device = QString::fromLocal8Bit(v.device());
        m.removable = isRemovableDevice(m.device) || m.root.startsWith(QLatin1String("/media/")) ||
                      m.root.startsWith(QLatin1String("/run/media/"));
        out.append(m);
    }
    return out;
}

} // namespace vimbrel
