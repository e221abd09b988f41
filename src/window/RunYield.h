// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// How a run lets the event loop run while it works through the files: at most every few
// milliseconds, not once per file. A visit to the loop with nothing pending costs about a
// quarter of a rename on a fast disk, and a file takes well under a millisecond, so the
// window still repaints, and a click on Exit takes effect, within those milliseconds.

#include <QCoreApplication>
#include <QElapsedTimer>

namespace pellory {

class RunYield
{
public:
    static constexpr qint64 kIntervalMs = 5;

    RunYield() { m_clock.start(); }

    // True, and the clock restarted, when the loop has not run for the interval.
    bool due()
    {
        if (m_clock.elapsed() < kIntervalMs)
            return false;
        m_clock.restart();
        return true;
    }
    // As the `between` of a plan, called several times per file.
    void operator()()
    {
        if (due())
            QCoreApplication::processEvents();
    }

private:
    QElapsedTimer m_clock;
};

} // namespace pellory
