// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The mounted volumes that hold users' files, found in the system's mount table alone. No
// mount is asked anything (no statfs, no access), so a hung network or FUSE mount cannot
// hold up the caller; whether a volume can be opened shows when a folder on it is read.

#include <QByteArray>
#include <QStringList>

namespace pellory {

// "/" and the mount points of volumes on a block device (loop devices aside: mostly
// read-only package images) or on a network or FUSE disk; proc, sysfs, tmpfs and other
// plumbing are left out. Each root once, sorted.
QStringList mountedVolumes();

// The same, from the text of a mount table in the form of /proc/self/mountinfo.
QStringList volumesInMountTable(const QByteArray& mountInfo);

} // namespace pellory
