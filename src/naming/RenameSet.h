// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Which files of the list a run renames: with zero or one item selected every item takes
// part, since a lone selection is where the user last clicked rather than a choice of
// files; with two or more, the selected ones alone.

#include <QtGlobal>

namespace pellory {

inline bool everyItemTakesPart(qint64 selectedCount)
{
    return selectedCount <= 1;
}

inline bool IsInRenameSet(bool itemSelected, qint64 selectedCount)
{
    return everyItemTakesPart(selectedCount) || itemSelected;
}

// How many files a run renames.
inline qint64 renameSetSize(qint64 itemCount, qint64 selectedCount)
{
    return everyItemTakesPart(selectedCount) ? itemCount : selectedCount;
}

} // namespace pellory
