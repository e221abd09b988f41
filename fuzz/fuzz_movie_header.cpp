// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Any bytes as a movie: the walk ends within its box limit, reads only inside the bytes,
// and a time it gives is one a date can show.

#include "camera/MovieHeader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    pellory::MemorySource source(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    const std::optional<qint64> time = pellory::movieCreationTime(source);
    // From 1904-01-01 00:00:01 to 9999-12-31 23:59:59 UTC.
    if (time && (*time < -2082844799 || *time > 253402300799))
        std::abort();
    return 0;
}
