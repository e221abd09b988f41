// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "camera/CaptureCache.h"

#include "camera/CaptureFile.h"

#include <QtConcurrent>

namespace pellory {

size_t qHash(const FileVersion& version, size_t seed) noexcept
{
    return qHashMulti(seed, version.device, version.inode, version.size, version.writeTime);
}

CaptureCache::CaptureCache(qsizetype capacity) : m_capacity(capacity) {}

std::optional<CaptureTime> CaptureCache::find(const FileVersion& version) const
{
    const QMutexLocker lock(&m_mutex);
    const auto it = m_times.constFind(version);
    if (it == m_times.cend())
        return std::nullopt;
    return *it;
}

void CaptureCache::insert(const FileVersion& version, const CaptureTime& time)
{
    const QMutexLocker lock(&m_mutex);
    if (m_times.size() >= m_capacity && !m_times.contains(version))
        m_times.clear();
    m_times.insert(version, time);
}

qsizetype CaptureCache::size() const
{
    const QMutexLocker lock(&m_mutex);
    return m_times.size();
}

QFuture<CaptureTime> readCaptureTimes(CaptureCache& cache, const QByteArray& folder,
                                      QList<CaptureRequest> files, QThreadPool* pool)
{
    if (!pool)
        pool = QThreadPool::globalInstance();
    return QtConcurrent::mapped(
        pool, std::move(files), [&cache, folder](const CaptureRequest& file) {
            if (const std::optional<CaptureTime> known = cache.find(file.version))
                return *known;
            const std::optional<CaptureTime> read = readCaptureTime(folder + '/' + file.name);
            if (read)
                cache.insert(file.version, *read);
            return read.value_or(CaptureTime{});
        });
}

} // namespace pellory
