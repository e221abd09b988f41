// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Turns the sort keys of a run of records into integer ranks that compare exactly as the
// keys do, so that the range sort works on plain numbers. Used by the sort orders alone.

#include "catalogue/Catalogue.h"

#include <QtGlobal>

#include <span>
#include <vector>

namespace pellory {

enum class SortKey
{
    Name,
    Ext,
    Date,
    // The capture time where one was read, else the write time, both as UTC moments with
    // their sub-seconds; equal moments by the names' bytes.
    Taken,
};

// How the keys of a run of records already stand, in the direction of the sort.
enum class KeyTrend
{
    Ascending,  // every key above the one before: the sort leaves the run as it is
    Descending, // every key below the one before: the sort reverses the run
    AllEqual,   // one key throughout
    Mixed,
};

KeyTrend keyTrend(std::span<const FileRecord> records, SortKey key, bool descending);

// One rank per record: equal keys get equal ranks, a smaller key a smaller rank. Names
// and extensions compare by UTF-16 code units, write times as unsigned numbers, capture
// times as SortKey::Taken says. With
// `descending` the ranks are negated, so that ascending ranks give the descending order.
std::vector<qint32> keyRanks(std::span<const FileRecord> records, SortKey key, bool descending);

} // namespace pellory
