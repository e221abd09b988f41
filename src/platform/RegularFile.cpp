// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/RegularFile.h"

#include <QFile>

#include <cerrno>
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

} // namespace pellory
