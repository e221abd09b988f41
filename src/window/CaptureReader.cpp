// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/CaptureReader.h"

#include "camera/CaptureCache.h"

#include <QHash>

#include <algorithm>
#include <memory>
#include <vector>

namespace pellory {

namespace {

FileVersion versionOf(const FileRecord& record)
{
    return {record.Device, record.Inode, record.Size, record.WriteTime};
}

} // namespace

struct CaptureReader::Files
{
    QList<FileVersion> asked; // of the reading under way, in its order
    QHash<FileVersion, CaptureTime> times;
};

CaptureReader::CaptureReader(QObject* parent)
    : QObject(parent), m_cache(std::make_unique<CaptureCache>()),
      m_files(std::make_unique<Files>()), m_pool(std::make_unique<QThreadPool>())
{
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &CaptureReader::readingDone);
    connect(&m_watcher, &QFutureWatcherBase::progressValueChanged, this,
            &CaptureReader::readingProgress);
    m_stall.setSingleShot(true);
    m_stall.setInterval(kGiveUpMs);
    connect(&m_stall, &QTimer::timeout, this, &CaptureReader::giveUp);
}

CaptureReader::~CaptureReader()
{
    m_watcher.cancel();
    // The files in progress write into the cache; a file stuck on a dead drive never ends.
    if (!m_pool->waitForDone(kGiveUpMs))
        leaveStuckThreads();
}

void CaptureReader::leaveStuckThreads()
{
    // Their threads, their pool and the cache they write into stay theirs for good, held
    // where nothing destroys them (destroying a pool waits for its threads): a few bytes,
    // once in a long while, against a window that would hang.
    static auto* const leftBehind = new std::vector<std::shared_ptr<void>>;
    leftBehind->push_back(std::shared_ptr<QThreadPool>(std::move(m_pool)));
    leftBehind->push_back(std::shared_ptr<CaptureCache>(std::move(m_cache)));
    m_pool = std::make_unique<QThreadPool>();
    m_cache = std::make_unique<CaptureCache>();
}

CaptureCache& CaptureReader::cache() const
{
    return *m_cache;
}

bool CaptureReader::knowsUnread(const Catalogue& catalogue) const
{
    return std::any_of(catalogue.FileRecords.begin(), catalogue.FileRecords.end(),
                       [this](const FileRecord& record) {
                           return !record.TakenRead && m_cache->find(versionOf(record));
                       });
}

void CaptureReader::fillKnown(Catalogue& catalogue) const
{
    for (FileRecord& record : catalogue.FileRecords) {
        if (record.TakenRead)
            continue;
        if (const std::optional<CaptureTime> time = m_cache->find(versionOf(record))) {
            record.Taken = *time;
            record.TakenRead = true;
        }
    }
}

void CaptureReader::start(const QByteArray& folder, const Catalogue& catalogue)
{
    cancel();
    QList<CaptureRequest> files;
    for (const FileRecord& record : catalogue.FileRecords) {
        if (!record.TakenRead)
            files.append({record.RawName, versionOf(record)});
    }
    if (files.isEmpty())
        return;
    m_files->asked.clear();
    m_files->asked.reserve(files.size());
    for (const CaptureRequest& file : files)
        m_files->asked.append(file.version);
    m_reading = true;
    emit progress(0, int(files.size()));
    m_sinceProgress.start();
    // A new future drops the old one's signals still queued: a reading cancelled never
    // reports.
    m_watcher.setFuture(readCaptureTimes(*m_cache, folder, std::move(files), m_pool.get()));
    m_stall.start();
}

void CaptureReader::cancel()
{
    if (m_reading)
        m_watcher.cancel(); // its files in progress still go into the cache, harmlessly
    m_reading = false;
    m_stall.stop();
    m_files->asked.clear();
    m_files->times.clear();
}

void CaptureReader::readingProgress(int done)
{
    if (m_reading)
        m_stall.start();
    if (!m_reading || m_sinceProgress.elapsed() < kProgressEveryMs)
        return;
    m_sinceProgress.start();
    emit progress(done, int(m_files->asked.size()));
}

void CaptureReader::readingDone()
{
    if (!m_reading || m_watcher.isCanceled())
        return;
    m_reading = false;
    m_stall.stop();
    const QList<CaptureTime> times = m_watcher.future().results();
    m_files->times.clear();
    m_files->times.reserve(times.size());
    for (qsizetype k = 0; k < times.size() && k < m_files->asked.size(); ++k)
        m_files->times.insert(m_files->asked[k], times[k]);
    m_files->asked.clear();
    emit progress(0, 0);
    emit finished();
}

void CaptureReader::giveUp()
{
    if (!m_reading)
        return;
    m_reading = false;
    const QFuture<CaptureTime> future = m_watcher.future();
    m_watcher.cancel();
    // The files read keep their times; the rest have none (and none goes into the cache).
    m_files->times.clear();
    for (qsizetype k = 0; k < m_files->asked.size(); ++k)
        m_files->times.insert(m_files->asked[k], future.isResultReadyAt(int(k))
                                                     ? future.resultAt(int(k))
                                                     : CaptureTime{});
    m_files->asked.clear();
    if (!m_pool->waitForDone(0))
        leaveStuckThreads();
    emit progress(0, 0);
    emit finished();
}

void CaptureReader::takeTimes(Catalogue& catalogue)
{
    const QHash<FileVersion, CaptureTime>& times = m_files->times;
    for (FileRecord& record : catalogue.FileRecords) {
        const auto time = times.constFind(versionOf(record));
        if (!record.TakenRead && time != times.cend()) {
            record.Taken = *time;
            record.TakenRead = true;
        }
    }
    m_files->times.clear();
}

} // namespace pellory
