// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Converts the system's file times to the catalogue's 64-bit tick count.

#include <QtGlobal>

#include <ctime>

namespace pellory {

// 100-nanosecond ticks since 1 January 1601 UTC.
quint64 fileTimeFromTimespec(const timespec& ts);

// -1, 0 or +1 as a is earlier than, equal to or later than b (unsigned comparison).
inline int CompareFileTime(quint64 a, quint64 b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace pellory
