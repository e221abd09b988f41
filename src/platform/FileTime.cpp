// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "platform/FileTime.h"

#include <limits>

namespace pellory {

namespace {

// Seconds from 1 January 1601 to 1 January 1970, both UTC.
constexpr qint64 SecondsFrom1601To1970 = 11644473600;
constexpr quint64 TicksPerSecond = 10'000'000;
constexpr long NanosecondsPerTick = 100;

} // namespace

quint64 fileTimeFromTimespec(const timespec& ts)
{
    // A time before 1601 has no tick count; it sorts as the earliest possible time.
    if (ts.tv_sec < -SecondsFrom1601To1970)
        return 0;
    // Added as unsigned: near the largest time_t the signed sum would overflow.
    const quint64 seconds = quint64(ts.tv_sec) + quint64(SecondsFrom1601To1970);
    const quint64 ticks = quint64(ts.tv_nsec > 0 ? ts.tv_nsec / NanosecondsPerTick : 0);
    // Past the year 30828 the count no longer fits; it sorts as the latest possible time.
    constexpr quint64 maxValue = std::numeric_limits<quint64>::max();
    if (seconds > (maxValue - ticks) / TicksPerSecond)
        return maxValue;
    return seconds * TicksPerSecond + ticks;
}

} // namespace pellory
