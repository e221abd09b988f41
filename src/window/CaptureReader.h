// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Reads the capture times of one list of files at a time on the global thread pool, and
// keeps every time read in the window's one cache. It does not decide when to read, nor
// change a catalogue unless given one: the file pane asks, and takes the times when it may
// change its list.

#include "camera/CaptureTime.h"
#include "catalogue/Catalogue.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <memory>

namespace pellory {

class CaptureCache;

class CaptureReader : public QObject
{
    Q_OBJECT
public:
    explicit CaptureReader(QObject* parent = nullptr);
    // Stops the reading under way and waits for the files in progress: they use the cache.
    ~CaptureReader() override;

    CaptureCache& cache() const;
    // Whether the cache knows a record whose time is not read yet.
    bool knowsUnread(const Catalogue& catalogue) const;
    // Fills each record not read yet whose file the cache knows.
    void fillKnown(Catalogue& catalogue) const;
    // Reads the files of the records of `catalogue` not read yet, the folder's at `folder`,
    // in place of a reading under way, whose times are dropped. Nothing when every record
    // is read.
    void start(const QByteArray& folder, const Catalogue& catalogue);
    // Drops the reading under way and the times read and not yet taken.
    void cancel();
    bool reading() const { return m_reading; }
    // Once a reading is over, fills its records not read yet in `catalogue` (a rebuild of the
    // same list, or the list resorted) and forgets its times.
    void takeTimes(Catalogue& catalogue);

    // Progress is told at the start, then at most this often, as a run's is.
    static constexpr qint64 kProgressEveryMs = 100;
    // A reading that moves on by no file for this long waits on a drive that stopped
    // answering (or a file system that never does): the files left are given up, as
    // files without a capture time, and the window goes on. As long as a folder's first
    // look may take.
    static constexpr int kGiveUpMs = 3000;

signals:
    // Files read so far of those asked for.
    void progress(int done, int total);
    // The reading is over: its times wait for takeTimes().
    void finished();

private:
    struct Files; // the files of the reading, by their identities
    void readingDone();
    void readingProgress(int done);
    void giveUp();
    void leaveStuckThreads();

    std::unique_ptr<CaptureCache> m_cache;
    std::unique_ptr<Files> m_files;
    // The reading's own threads, so that threads stuck on a dead drive hold up no other
    // work, nor the program's exit.
    std::unique_ptr<QThreadPool> m_pool;
    QTimer m_stall; // restarted by every file read
    QFutureWatcher<CaptureTime> m_watcher;
    bool m_reading = false;
    QElapsedTimer m_sinceProgress;
};

} // namespace pellory
