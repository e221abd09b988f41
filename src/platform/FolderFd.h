#pragma once
// Open folders: a handle closed when it goes out of scope, and a reader of the names a
// folder lists. The scan, the rename and the case-folding probe open folders only through
// these; they know nothing of what the callers look for.

#include <QByteArray>
#include <QString>

#include <dirent.h>
#include <fcntl.h>
#include <functional>

namespace pellory {

class FolderFd
{
public:
    FolderFd() = default;
    // Opens `path` relative to the folder `at` (AT_FDCWD: the current one) with `flags`
    // (O_PATH to address entries, O_RDONLY to read it). fd() is negative, with errno
    // set, when it cannot be opened.
    FolderFd(int at, const QByteArray& path, int flags);
    FolderFd(const QString& folder, int flags);
    FolderFd(FolderFd&& other) noexcept : m_fd(other.release()) {}
    FolderFd& operator=(FolderFd&& other) noexcept;
    ~FolderFd();

    int fd() const { return m_fd; }
    int release();

private:
    int m_fd = -1;
};

// Reads the entries of a folder opened for reading, in the order the folder reports them,
// "." and ".." included.
class FolderReader
{
public:
    explicit FolderReader(FolderFd folder);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    bool isOpen() const { return m_dir != nullptr; }
    int fd() const { return ::dirfd(m_dir); }
    const dirent* next() { return ::readdir(m_dir); }

private:
    DIR* m_dir = nullptr;
};

// Whether `folder` answers a look into it (opened and its first entry read) within
// `waitMs`: a mount whose server has stopped answering holds every look for good. The look
// runs on a thread of its own, left behind when it does not come back. A folder that
// answers with an error (missing, not readable) counts as answering.
bool folderAnswers(const QByteArray& folder, int waitMs);

// Hands `visit` each name the folder `dir` lists (read from its start; `dir` may be an
// O_PATH handle), until `visit` returns false. False when the folder cannot be read.
bool visitNames(int dir, const std::function<bool(const char* name)>& visit);

} // namespace pellory
