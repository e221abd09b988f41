// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

#include "Probe.h"

#include <QAbstractEventDispatcher>
#include <QFile>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace pellory::bench {

void settleWrites(const QString& folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
}

namespace {

constexpr int kIntervalMs = 10;
constexpr qint64 kIntervalNs = qint64(kIntervalMs) * 1000 * 1000;

} // namespace

StepProbe::StepProbe()
{
    // A coarse timer may fire up to 5 % early or late on its own, which would blur the
    // few milliseconds this is meant to see.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &StepProbe::tick);
    // Every pass of the event loop, also one a step enters itself with processEvents().
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, this,
            [this] { m_lastWakeNs = m_clock.isValid() ? m_clock.nsecsElapsed() : 0; });
}

void StepProbe::start()
{
    m_longestLateNs = 0;
    m_stoppedNs = -1;
    m_clock.start();
    m_lastTickNs = 0;
    m_lastWakeNs = 0;
    m_timer.start();
}

void StepProbe::tick()
{
    const qint64 now = m_clock.nsecsElapsed();
    m_longestLateNs = std::max(m_longestLateNs, now - m_lastTickNs - kIntervalNs);
    m_lastTickNs = now;
}

double StepProbe::elapsedMs() const
{
    const qint64 now = m_stoppedNs >= 0 ? m_stoppedNs : m_clock.nsecsElapsed();
    return double(now) / 1e6;
}

double StepProbe::longestWaitMs() const
{
    // The stretch since the last tick counts too: the step may be in it right now, or it
    // may have ended in it without the loop running again.
    const qint64 now = m_stoppedNs >= 0 ? m_stoppedNs : m_clock.nsecsElapsed();
    const qint64 open = now - m_lastTickNs - kIntervalNs;
    return double(std::max<qint64>({m_longestLateNs, open, 0})) / 1e6;
}

StepProbe::Part StepProbe::splitAtLastWake()
{
    const qint64 open = m_lastWakeNs - m_lastTickNs - kIntervalNs;
    const Part first{double(m_lastWakeNs) / 1e6,
                     double(std::max<qint64>({m_longestLateNs, open, 0})) / 1e6};
    m_longestLateNs = 0;
    m_lastTickNs = m_lastWakeNs;
    return first;
}

void StepProbe::stop()
{
    m_stoppedNs = m_clock.nsecsElapsed();
    m_timer.stop();
}

qint64 peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

} // namespace pellory::bench
