// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellory {

int openRegular(const QByteArray& path, int flags)
{
    const int fd = ::open(path.constData(), flags | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

std::optional<QByteArray> readRegularFile(const QString& path, qsizetype limit)
{
    const int fd = openRegular(QFile::encodeName(path), O_RDONLY);
    if (fd < 0)
        return std::nullopt;
    QByteArray text;
    char buffer[16384];
    ssize_t n = 0;
    while (text.size() <= limit &&
           ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
        if (n > 0)
            text.append(buffer, n);
    ::close(fd);
    if (n < 0 || text.size() > limit)
        return std::nullopt;
    return text;
}

namespace {

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n == 0 || errno != EINTR)
            return false;
    }
    return true;
}

} // namespace

bool replaceFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = QFile::encodeName(path);
    struct stat old;
    // lstat: the permissions of a link's target are not the file's to take.
    const mode_t mode =
        ::lstat(target.constData(), &old) == 0 && S_ISREG(old.st_mode) ? old.st_mode & 07777 : 0600;
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC); // 0600, a name of its own
    if (fd < 0)
        return false;
    // Written and on the disk before it takes the name, so that a crash leaves the old
    // settings or the new ones, never a part.
    const bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temporary.constData(), target.constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    return false;
}

} // namespace pellory
