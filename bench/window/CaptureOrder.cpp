// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

#include "CaptureOrder.h"

#include "camera/CaptureCache.h"
#include "catalogue/Catalogue.h"

#include <QEventLoop>
#include <QFutureWatcher>

#include <algorithm>
#include <numeric>

namespace pellory::bench {

CaptureOrder::CaptureOrder() : m_cache(std::make_unique<CaptureCache>()) {}

CaptureOrder::~CaptureOrder() = default;

QStringList CaptureOrder::order(const Catalogue& listed, const QByteArray& folder)
{
    QList<CaptureRequest> requests;
    requests.reserve(listed.FileCount());
    for (const FileRecord& record : listed.FileRecords)
        requests.append(
            {record.RawName, {record.Device, record.Inode, record.Size, record.WriteTime}});
    QFutureWatcher<CaptureTime> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(readCaptureTimes(*m_cache, folder, requests));
    loop.exec();
    const QList<CaptureTime> times = watcher.future().results();
    std::vector<FileRecord> records = listed.FileRecords;
    std::vector<CaptureKey> keys(records.size());
    for (size_t i = 0; i < records.size() && i < size_t(times.size()); ++i) {
        records[i].Taken = times[qsizetype(i)];
        records[i].TakenRead = true;
        // Without a capture time, the modification time (ticks since 1601) stands in.
        const quint64 ticks = records[i].WriteTime;
        keys[i] = records[i].Taken.isValid() ? captureKey(records[i].Taken)
                                             : CaptureKey{qint64(ticks / 10000000) - 11644473600,
                                                          qint32(ticks % 10000000 / 10)};
    }
    std::vector<size_t> order(records.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return compareCaptures(keys[a], records[a].RawName, keys[b], records[b].RawName) < 0;
    });
    std::vector<FileRecord> sorted;
    sorted.reserve(records.size());
    QStringList names;
    names.reserve(qsizetype(records.size()));
    for (const size_t i : order) {
        names.append(records[i].FileName);
        sorted.push_back(std::move(records[i]));
    }
    return names;
}

} // namespace pellory::bench
