// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The time for measuring pauses: milliseconds of the coarse monotonic clock, which a
// change of the wall clock never sets back and which costs little enough to read per file.
// Its steps are a few milliseconds; the pauses it measures are a tenth of a second or more.

#include <QtGlobal>

#include <ctime>

namespace pellory {

inline qint64 monotonicMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace pellory
