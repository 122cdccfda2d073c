// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Mounted volumes and their free space: the memory-card scan and the free-space test.

#include <QList>
#include <QString>

namespace vimbrel {

struct VolumeStatus {
    bool known = false;          // false when the path's volume could not be asked
    qint64 available = 0;        // bytes the user may still write
    bool readOnly = true;        // mounted read-only
    bool folderWritable = false; // the folder itself accepts new files
};

// The volume holding `folder` (which must exist) and whether that folder is writable.
VolumeStatus volumeStatus(const QString& folder);

struct MountedVolume {
    QString root;   // mount point, ends with "/"
    QString device; // block device, such as /dev/sdb1; empty for virtual file systems
    bool removable = false;
};

// Every mounted volume in mount-table order. A volume is removable when its block device
// (or the disk holding its partition) says so in /sys, or it is mounted under /media or
// /run/media, where desktops mount cards and sticks.
QList<MountedVolume> mountedVolumes();

// Whether a block device such as /dev/sdb1 is removable, reading sysfs under `sysRoot`.
bool isRemovableDevice(const QString& device, const QString& sysRoot = QStringLiteral("/sys"));

} // namespace vimbrel
