// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/CaptureReader.h"

#include "camera/CaptureCache.h"

#include <QHash>

#include <algorithm>

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
    : QObject(parent), m_cache(std::make_unique<CaptureCache>()), m_files(std::make_unique<Files>())
{
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &CaptureReader::readingDone);
    connect(&m_watcher, &QFutureWatcherBase::progressValueChanged, this,
            &CaptureReader::readingProgress);
}

CaptureReader::~CaptureReader()
{
    m_watcher.cancel();
    m_watcher.waitForFinished();
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
    m_watcher.setFuture(readCaptureTimes(*m_cache, folder, std::move(files)));
}

void CaptureReader::cancel()
{
    if (m_reading)
        m_watcher.cancel(); // its files in progress still go into the cache, harmlessly
    m_reading = false;
    m_files->asked.clear();
    m_files->times.clear();
}

void CaptureReader::readingProgress(int done)
{
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
    const QList<CaptureTime> times = m_watcher.future().results();
    m_files->times.clear();
    m_files->times.reserve(times.size());
    for (qsizetype k = 0; k < times.size() && k < m_files->asked.size(); ++k)
        m_files->times.insert(m_files->asked[k], times[k]);
    m_files->asked.clear();
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
