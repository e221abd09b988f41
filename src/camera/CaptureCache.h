// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Remembers the capture times read, per file as the folder's listing identifies it, so
// that a rebuild or another sort reads no file again; and reads the missing ones of a
// folder on the global thread pool. Knows nothing of sort orders or the window.

#include "camera/CaptureTime.h"

#include <QByteArray>
#include <QFuture>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QThreadPool>

#include <optional>

namespace pellory {

// A file as it was when read: a file written since (another size or modification time)
// or replaced by another (another inode) is read again.
struct FileVersion
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    quint64 writeTime = 0; // the catalogue's ticks (fileTimeFromTimespec)
    bool operator==(const FileVersion&) const = default;
};
size_t qHash(const FileVersion& version, size_t seed = 0) noexcept;

// Thread-safe. At most `capacity` files are kept: a cache that is full is emptied before
// the next one goes in, so memory stays bounded (about 64 bytes a file) however many
// folders a session visits, at the price of reading those files again.
class CaptureCache
{
public:
    static constexpr qsizetype DefaultCapacity = 65536;
    explicit CaptureCache(qsizetype capacity = DefaultCapacity);

    std::optional<CaptureTime> find(const FileVersion& version) const;
    void insert(const FileVersion& version, const CaptureTime& time);
    qsizetype size() const;

private:
    mutable QMutex m_mutex;
    QHash<FileVersion, CaptureTime> m_times;
    qsizetype m_capacity;
};

struct CaptureRequest
{
    QByteArray name; // the exact bytes of the name in the folder
    FileVersion version;
};

// Returns at once; the files are read on the global thread pool (QtConcurrent::mapped).
// The future's results are the files' capture times in the order of `files` (source None
// for a file without one or one that could not be read); files the cache holds are not
// read again, and what is read goes into it, except for files that could not be opened.
// Its progress counts the files done; cancel() stops the reading after the files in
// progress. `folder` is the exact bytes of the folder's path; `cache` must outlive the
// future.
// `pool`: the threads to read on, the global pool when none is given.
QFuture<CaptureTime> readCaptureTimes(CaptureCache& cache, const QByteArray& folder,
                                      QList<CaptureRequest> files, QThreadPool* pool = nullptr);

} // namespace pellory
