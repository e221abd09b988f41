// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// How often a run hands its caller a moment to let the window work while it goes through
// the files: at most every few milliseconds, not once per file. A visit to the event loop
// with nothing pending costs about a quarter of a rename on a fast disk, and a file takes
// well under a millisecond, so the window still repaints, and a click on Exit takes
// effect, within those milliseconds.

#include <QElapsedTimer>

namespace pellory {

class RunYield
{
public:
    static constexpr qint64 kIntervalMs = 5;

    RunYield() { m_clock.start(); }

    // True, and the clock restarted, when the caller has not had a moment for the interval.
    bool due()
    {
        if (m_clock.elapsed() < kIntervalMs)
            return false;
        m_clock.restart();
        return true;
    }

private:
    QElapsedTimer m_clock;
};

} // namespace pellory
