// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "catalogue/EveryN.h"

#include "naming/Numbers.h"

#include <limits>

namespace pellory {

qint16 selStepsValue(QStringView text)
{
    const double rounded = roundHalfEven(leadingNumber(text));
    // The field holds at most three characters; the clamp only keeps a longer text from
    // overflowing the 16-bit value.
    constexpr double low = std::numeric_limits<qint16>::min();
    constexpr double high = std::numeric_limits<qint16>::max();
    if (!(rounded >= low))
        return std::numeric_limits<qint16>::min();
    if (rounded > high)
        return std::numeric_limits<qint16>::max();
    return static_cast<qint16>(rounded);
}

EveryNSelection everyNthItem(qint32 itemCount, qint32 currentItem, qint32 n)
{
    Q_ASSERT(n >= 1);
    EveryNSelection selection;
    const qint32 start = currentItem == -1 ? 0 : currentItem;
    // 64-bit steps: start + N may pass the 32-bit range near the end of a huge list.
    for (qint64 item = start; item < itemCount; item += n)
        selection.items.push_back(static_cast<qint32>(item));
    if (itemCount > start)
        selection.currentItem = start;
    return selection;
}

} // namespace pellory
