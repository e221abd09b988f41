// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// What the window benchmark watches while a step runs: the wall time, the longest stretch
// in which the event loop did not run (seen as the lateness of a 10 ms timer), and the
// peak memory of the process. The peak cannot be reset, so it is the process's peak so far.
// And what every timed part starts from: a file system with nothing left to write.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace pellory::bench {

// Writes left over from the part before (a folder of renames on a journalling file system)
// go to disk first, so that no part is timed while another's writeback runs: the floors,
// the peers and the window's renaming steps all start from the same state.
void settleWrites(const QString& folder);

class StepProbe : public QObject
{
    Q_OBJECT
public:
    StepProbe();

    void start();
    // Wall time and longest wait so far, without stopping; a step can be split in two.
    double elapsedMs() const;
    double longestWaitMs() const;
    // Splits the step where the event loop last ran: a run that ends by listing the folder
    // again yields during its renames, and then no more until the list is filled. Gives
    // the time and the longest wait of the first part, and counts the wait afresh after it.
    struct Part
    {
        double ms;
        double waitMs;
    };
    Part splitAtLastWake();
    void stop();

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastTickNs = 0;
    qint64 m_longestLateNs = 0;
    qint64 m_stoppedNs = -1;
    qint64 m_lastWakeNs = 0;
};

// VmHWM of /proc/self/status in kB; 0 where it cannot be read.
qint64 peakMemoryKb();

} // namespace pellory::bench
