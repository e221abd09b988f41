#pragma once
// An open folder, closed when it goes out of scope: the rename and the case-folding probe
// address entries through it.

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

namespace pellory {

class FolderFd
{
public:
    FolderFd(const QString& folder, int flags)
        : m_fd(::open(QFile::encodeName(folder).constData(), flags | O_DIRECTORY | O_CLOEXEC))
    {}
    ~FolderFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderFd(const FolderFd&) = delete;
    FolderFd& operator=(const FolderFd&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

} // namespace pellory
