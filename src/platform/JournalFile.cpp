#include "platform/JournalFile.h"

#include "platform/Clock.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace pellory {

namespace {

constexpr qint64 kSyncIntervalMs = 1000;
// Room for about ten thousand records; the mapping doubles when it fills.
constexpr qsizetype kFirstMapping = 1 << 20;

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
    const QByteArray name = QFile::encodeName(path);
    if (::unlink(name.constData()) != 0 && errno != ENOENT)
        return fail();
    m_fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    return m_fd >= 0 || fail();
}

bool JournalFile::append(const QByteArray& bytes)
{
    return append({QByteArrayView(bytes)});
}

bool JournalFile::append(std::initializer_list<QByteArrayView> parts)
{
    qsizetype size = 0;
    for (const QByteArrayView part : parts)
        size += part.size();
    if (m_fd < 0 || !reserve(m_used + size))
        return false;
    for (const QByteArrayView part : parts) {
        std::memcpy(m_map + m_used, part.data(), size_t(part.size()));
        m_used += part.size();
    }
    if (syncDue() && ::msync(m_map, size_t(m_mapped), MS_SYNC) != 0)
        return fail();
    return true;
}

bool JournalFile::reserve(qsizetype size)
{
    if (size <= m_mapped)
        return true;
    qsizetype grown = std::max(m_mapped * 2, kFirstMapping);
    while (grown < size)
        grown *= 2;
    // Blocks are taken now, so that a full disk is a failed append and never a fault on a
    // later copy into a page the file system cannot store.
    const int err = ::posix_fallocate(m_fd, 0, off_t(grown));
    if (err != 0) {
        errno = err;
        return fail();
    }
    void* map = m_map ? ::mremap(m_map, size_t(m_mapped), size_t(grown), MREMAP_MAYMOVE)
                      : ::mmap(nullptr, size_t(grown), PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (map == MAP_FAILED)
        return fail();
    // Pages are faulted in now, all at once, instead of one fault per page while records
    // are copied between renames. A kernel without this advice faults them in later.
    ::madvise(static_cast<char*>(map) + m_mapped, size_t(grown - m_mapped), MADV_POPULATE_WRITE);
    m_map = static_cast<char*>(map);
    m_mapped = grown;
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

void JournalFile::unmap()
{
    if (m_map)
        ::munmap(m_map, size_t(m_mapped));
    m_map = nullptr;
    m_mapped = 0;
}

void JournalFile::close()
{
    if (m_fd < 0)
        return;
    unmap();
    // The reserved space past the records goes; a reader then finds the records alone.
    if (::ftruncate(m_fd, off_t(m_used)) == 0 && m_sync != JournalSync::None)
        ::fdatasync(m_fd);
    ::close(m_fd);
    m_fd = -1;
    m_used = 0;
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
