// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/Volumes.h"

#include <QFile>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace pellory {

namespace {

// File systems that hold a user's files without living on a local block device: network
// shares and FUSE mounts of a disk.
bool isNetworkOrFuseDisk(const QByteArray& type)
{
    static const QByteArray kinds[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuseblk"};
    return std::find(std::begin(kinds), std::end(kinds), type) != std::end(kinds) ||
           type.startsWith("fuse.sshfs");
}

bool isUsersVolume(const QByteArray& device, const QByteArray& type)
{
    if (device.startsWith("/dev/") && !device.startsWith("/dev/loop"))
        return true;
    return isNetworkOrFuseDisk(type);
}

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// The table writes a blank, a tab, a line break and a backslash in a field as "\040",
// "\011", "\012" and "\134".
QByteArray unescaped(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1]) &&
            isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            out +=
                char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// A line reads "id parent major:minor root mount-point options [optional...] - type
// source super-options"; the optional fields vary in number, so the type and the source
// are found after the "-".
void addVolume(const QByteArray& line, QStringList& roots)
{
    const QByteArrayList fields = line.split(' ');
    const qsizetype dash = fields.indexOf("-", 6);
    if (fields.size() < 6 || dash < 0 || dash + 2 >= fields.size())
        return;
    if (!isUsersVolume(unescaped(fields[dash + 2]), unescaped(fields[dash + 1])))
        return;
    const QString root = QFile::decodeName(unescaped(fields[4]));
    if (!roots.contains(root))
        roots.append(root);
}

QByteArray readAll(const char* path)
{
    QByteArray text;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return text;
    char buffer[16384];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, qsizetype(n));
    ::close(fd);
    return text;
}

} // namespace

QStringList volumesInMountTable(const QByteArray& mountInfo)
{
    QStringList roots{QStringLiteral("/")};
    for (const QByteArray& line : mountInfo.split('\n'))
        addVolume(line, roots);
    std::sort(roots.begin(), roots.end());
    return roots;
}

QStringList mountedVolumes()
{
    return volumesInMountTable(readAll("/proc/self/mountinfo"));
}

} // namespace pellory
