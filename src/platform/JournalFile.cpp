#include "platform/JournalFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace pellory {

namespace {

constexpr qint64 kSyncIntervalMs = 1000;

qint64 monotonicMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

JournalFile::~JournalFile()
{
    close();
}

bool JournalFile::create(const QString& path, JournalSync sync)
{
    close();
    m_sync = sync;
    m_lastSyncMs = monotonicMs();
    m_fd = ::open(QFile::encodeName(path).constData(),
                  O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0600);
    return m_fd >= 0 || fail();
}

bool JournalFile::append(const QByteArray& bytes)
{
    if (m_fd < 0)
        return false;
    // A regular file takes the whole buffer in one call unless the disk is full; a short
    // write is finished here, so that a record is never left half written by us.
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail();
        done += n;
    }
    if (syncDue() && ::fdatasync(m_fd) != 0)
        return fail();
    return true;
}

bool JournalFile::syncDue()
{
    if (m_sync == JournalSync::None)
        return false;
    if (m_sync == JournalSync::EachRecord)
        return true;
    const qint64 now = monotonicMs();
    if (now - m_lastSyncMs < kSyncIntervalMs)
        return false;
    m_lastSyncMs = now;
    return true;
}

void JournalFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool JournalFile::fail()
{
    m_error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool replaceJournal(const QString& from, const QString& to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool removeJournal(const QString& path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

} // namespace pellory
