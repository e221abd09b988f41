#include "platform/FolderFd.h"

#include <QFile>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace pellory {

FolderFd::FolderFd(int at, const QByteArray& path, int flags)
    : m_fd(::openat(at, path.constData(), flags | O_DIRECTORY | O_CLOEXEC))
{}

FolderFd::FolderFd(const QString& folder, int flags)
    : FolderFd(AT_FDCWD, QFile::encodeName(folder), flags)
{}

FolderFd& FolderFd::operator=(FolderFd&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

FolderFd::~FolderFd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int FolderFd::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

FolderReader::FolderReader(FolderFd folder)
{
    if (folder.fd() < 0)
        return;
    m_dir = ::fdopendir(folder.fd());
    if (m_dir)
        folder.release(); // closed with m_dir from now on
}

FolderReader::~FolderReader()
{
    if (m_dir)
        ::closedir(m_dir);
}

bool folderAnswers(const QByteArray& folder, int waitMs)
{
    struct Answer
    {
        std::mutex lock;
        std::condition_variable given;
        bool done = false;
    };
    const auto answer = std::make_shared<Answer>();
    try {
        std::thread([answer, folder] {
            FolderReader reader(FolderFd(AT_FDCWD, folder, O_RDONLY));
            if (reader.isOpen())
                reader.next();
            const std::lock_guard hold(answer->lock);
            answer->done = true;
            answer->given.notify_one();
        }).detach();
    } catch (const std::system_error&) {
        return true; // no thread to spare: the caller looks for itself, as it always did
    }
    std::unique_lock hold(answer->lock);
    return answer->given.wait_for(hold, std::chrono::milliseconds(waitMs),
                                  [&] { return answer->done; });
}

bool visitNames(int dir, const std::function<bool(const char* name)>& visit)
{
    // A handle of its own, so that reading starts at the first entry and leaves `dir` as
    // it was; an O_PATH handle cannot be read at all.
    FolderReader reader(FolderFd(dir, ".", O_RDONLY));
    if (!reader.isOpen())
        return false;
    while (const dirent* e = reader.next()) {
        if (!visit(e->d_name))
            break;
    }
    return true;
}

} // namespace pellory
