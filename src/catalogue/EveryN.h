// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The every-N selection of the file list: from the text of its field, the items to select
// and the item that becomes current.

#include <QStringView>
#include <QtGlobal>

#include <vector>

namespace pellory {

// N from the text of the every-N field: its leading number, rounded half to even,
// held as a 16-bit signed number.
qint16 selStepsValue(QStringView text);

struct EveryNSelection
{
    std::vector<qint32> items; // the indices to select, ascending
    qint32 currentItem = -1;   // the list's current item afterwards (-1 none)
};

// Items start, start+N, ... below itemCount, where start is currentItem (0 when -1).
// Call only for N >= 1.
EveryNSelection everyNthItem(qint32 itemCount, qint32 currentItem, qint32 n);

} // namespace pellory
