// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/JournalFile.h"

#include "platform/Clock.h"
#include "platform/FolderFd.h"
#include "platform/RegularFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellory {

namespace {

constexpr qint64 kSyncIntervalMs = 1000;
// Room for about fifteen hundred records where the caller cannot tell how many come; the
// mapping doubles when it fills.
constexpr qsizetype kFirstMapping = 64 << 10;
// Kept back from the records in every reservation, for the last one (an end line).
constexpr qsizetype kLastRoom = 64;
constexpr qsizetype kPage = 4096;
// The records are copied into the mapping a megabyte at a time: that megabyte's pages are
// faulted in at once, and those of the megabytes before, whose records are already in the
// kernel's page cache, are let go of, so that a long run's record does not stay in the
// process's memory. Letting go of a shared mapping's pages keeps their data in the file.
constexpr qsizetype kWindow = 1 << 20;
// How much of a file's end is read back to find its last record, and how much of that
// is kept: a record line is far shorter.
constexpr qsizetype kTailChunk = 1 << 16;
constexpr qsizetype kTailKept = 1024;

bool readAt(int fd, char* into, qsizetype size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pread(fd, into, size_t(size), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        into += n;
        size -= n;
        offset += n;
    }
    return true;
}

// The length of the records: the file's size less the zeros a writer reserved past them.
off_t recordsEnd(int fd)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return -1;
    QByteArray chunk;
    for (off_t end = st.st_size; end > 0;) {
        const qsizetype size = qsizetype(std::min<off_t>(end, kTailChunk));
        chunk.resize(size);
        if (!readAt(fd, chunk.data(), size, end - size))
            return -1;
        const qsizetype last = chunk.size() - 1 - [&] {
            qsizetype zeros = 0;
            while (zeros < chunk.size() && chunk[chunk.size() - 1 - zeros] == '\0')
                ++zeros;
            return zeros;
        }();
        if (last >= 0)
            return end - size + last + 1;
        end -= size;
    }
    return 0;
}

} // namespace

JournalFile::~JournalFile()
{
    close();
}

bool JournalFile::create(const QString& path, JournalSync sync, qsizetype expected)
{
    close();
    m_sync = sync;
    m_first = expected > 0 ? (expected + kLastRoom + kPage - 1) / kPage * kPage : kFirstMapping;
    m_lastSyncMs = monotonicMs();
    m_path = QFile::encodeName(path);
    m_fd = ::open(m_path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return fail();
    // A fresh file: nobody else can hold it yet, so the lock cannot wait.
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        discard();
        errno = error;
        return fail();
    }
    return true;
}

bool JournalFile::append(const QByteArray& bytes)
{
    return append({QByteArrayView(bytes)});
}

bool JournalFile::append(std::initializer_list<QByteArrayView> parts)
{
    return appendParts(parts, kLastRoom);
}

bool JournalFile::appendLast(const QByteArray& bytes)
{
    return appendParts({QByteArrayView(bytes)}, 0);
}

bool JournalFile::appendParts(std::initializer_list<QByteArrayView> parts, qsizetype keptBack)
{
    qsizetype size = 0;
    for (const QByteArrayView part : parts)
        size += part.size();
    if (m_fd < 0 || !reserve(m_used + size + keptBack))
        return false;
    const qsizetype window = m_used / kWindow;
    for (const QByteArrayView part : parts) {
        std::memcpy(m_map + m_used, part.data(), size_t(part.size()));
        m_used += part.size();
    }
    if (m_used / kWindow != window)
        moveWindow();
    if (syncDue() && ::msync(m_map, size_t(m_mapped), MS_SYNC) != 0)
        return fail();
    return true;
}

bool JournalFile::reserve(qsizetype size)
{
    if (size <= m_mapped)
        return true;
    qsizetype grown = std::max(m_mapped * 2, m_first);
    while (grown < size)
        grown *= 2;
    // Blocks are taken now, so that a full disk is a failed append and never a fault on a
    // later copy into a page the file system cannot store.
    const int err = ::posix_fallocate(m_fd, 0, off_t(grown));
    if (err == ENOSPC) {
        const qsizetype slash = m_path.lastIndexOf('/');
        m_error = QCoreApplication::translate(
                      "JournalFile", "the disk that holds %1 is full: the history needs %2 KB "
                                     "more there. Free that much on that disk (empty the "
                                     "trash, for one) and try again.")
                      .arg(QFile::decodeName(m_path.left(slash)))
                      .arg((grown - m_mapped + 1023) / 1024);
        return false;
    }
    if (err != 0) {
        errno = err;
        return fail();
    }
    void* map = m_map ? ::mremap(m_map, size_t(m_mapped), size_t(grown), MREMAP_MAYMOVE)
                      : ::mmap(nullptr, size_t(grown), PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (map == MAP_FAILED)
        return fail();
    m_map = static_cast<char*>(map);
    m_mapped = grown;
    moveWindow();
    return true;
}

void JournalFile::moveWindow()
{
    const qsizetype start = m_used / kWindow * kWindow;
    if (start > m_released) {
        ::madvise(m_map + m_released, size_t(start - m_released), MADV_DONTNEED);
        m_released = start;
    }
    // The window's pages are faulted in now, all at once, instead of one fault per page
    // while records are copied between renames. A kernel without this advice faults them
    // in later.
    ::madvise(m_map + start, size_t(std::min(start + kWindow, m_mapped) - start),
              MADV_POPULATE_WRITE);
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

bool JournalFile::syncNow()
{
    if (m_fd < 0)
        return false;
    if (::fdatasync(m_fd) != 0)
        return fail();
    m_lastSyncMs = monotonicMs();
    // A new file's name lives in its folder: without the folder's flush, a power cut can
    // keep the records and lose the name that leads to them.
    const qsizetype slash = m_path.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? m_path.left(slash) : QByteArray("/");
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return fail();
    const bool synced = ::fsync(dir) == 0;
    const int error = errno;
    ::close(dir);
    errno = error;
    return synced || fail();
}

void JournalFile::unmap()
{
    if (m_map)
        ::munmap(m_map, size_t(m_mapped));
    m_map = nullptr;
    m_mapped = 0;
    m_released = 0;
}

void JournalFile::close()
{
    if (m_fd < 0)
        return;
    unmap();
    // The reserved space past the records goes; a reader then finds the records alone.
    if (::ftruncate(m_fd, off_t(m_used)) == 0 && m_sync != JournalSync::None)
        ::fdatasync(m_fd);
    ::close(m_fd); // drops the lock
    m_fd = -1;
    m_used = 0;
}

void JournalFile::discard()
{
    if (m_fd < 0)
        return;
    // Unlinked while still locked, so no reader takes the empty file for a dead run.
    ::unlink(m_path.constData());
    m_used = 0;
    close();
}

bool JournalFile::fail()
{
    m_error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

JournalFileText readJournalFile(const QString& path, qsizetype headLimit)
{
    JournalFileText out;
    const int fd = openRegular(QFile::encodeName(path), O_RDONLY | O_NOFOLLOW);
    if (fd < 0)
        return out;
    out.locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    const off_t end = recordsEnd(fd);
    if (end >= 0) {
        const qsizetype head = headLimit < 0 ? qsizetype(end) : std::min(qsizetype(end), headLimit);
        out.text = QByteArray(head, Qt::Uninitialized); // its size exactly: a run's may be large
        const qsizetype tail = std::min(qsizetype(end), kTailKept);
        out.tail.resize(tail);
        out.ok = readAt(fd, out.text.data(), head, 0) &&
                 readAt(fd, out.tail.data(), tail, end - off_t(tail));
        out.whole = head == qsizetype(end);
    }
    ::close(fd);
    if (!out.ok)
        out = JournalFileText{};
    return out;
}

bool appendToJournalFile(const QString& path, const QByteArray& bytes)
{
    const int fd = openRegular(QFile::encodeName(path), O_RDWR | O_NOFOLLOW);
    if (fd < 0)
        return false;
    bool ok = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        const off_t end = recordsEnd(fd);
        ok = end >= 0 && ::ftruncate(fd, end) == 0 &&
             ::pwrite(fd, bytes.constData(), size_t(bytes.size()), end) == bytes.size() &&
             ::fdatasync(fd) == 0;
    }
    ::close(fd);
    return ok;
}

QStringList journalFileNames(const QString& folder, const char* suffix)
{
    QStringList names;
    const FolderFd dir(folder, O_RDONLY);
    visitNames(dir.fd(), [&](const char* name) {
        if (QByteArrayView(name).endsWith(suffix))
            names.append(QFile::decodeName(name));
        return true;
    });
    return names;
}

QString prepareJournalFolder(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    const qsizetype slash = folder.lastIndexOf(u'/');
    if (slash > 0 && !QDir().mkpath(folder.left(slash)))
        return QCoreApplication::translate(
                   "JournalFile",
                   "the folder %1 could not be made. Check that its parent folders are folders "
                   "you may write in.")
            .arg(folder.left(slash));
    // Only the user reads what was renamed where.
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return QCoreApplication::translate("JournalFile", "the folder %1 could not be made: %2.")
            .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return QCoreApplication::translate("JournalFile", "the folder %1 could not be read: %2.")
            .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
    if (S_ISLNK(st.st_mode))
        return QCoreApplication::translate(
                   "JournalFile",
                   "%1 is a link, not a folder. Pellory writes its history only into a folder "
                   "of its own: remove the link, and Pellory makes the folder anew.")
            .arg(folder);
    if (!S_ISDIR(st.st_mode))
        return QCoreApplication::translate(
                   "JournalFile",
                   "%1 is a file, not a folder. Move the file away or delete it, and Pellory "
                   "makes the folder anew.")
            .arg(folder);
    if (st.st_uid != ::geteuid())
        return QCoreApplication::translate(
                   "JournalFile",
                   "the folder %1 belongs to another user. Remove it, and Pellory makes it "
                   "anew as yours.")
            .arg(folder);
    return {};
}

bool removeJournal(const QString& path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

HistoryLock::HistoryLock(const QString& folder)
    : m_fd(::open(QFile::encodeName(folder + QStringLiteral("/.lock")).constData(),
                  O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600))
{
    while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

HistoryLock::~HistoryLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace pellory
