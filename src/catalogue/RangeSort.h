// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The range sort that orders the catalogue: a last-element-pivot partition sort whose
// placement of equal keys is part of what the user sees (it decides the counter each file
// gets). This reproduces that placement exactly for any input, on integer ranks, without
// the quadratic time or the deep recursion the plain algorithm has on ordered input.
// Knows nothing of records: callers map their keys to ranks and carry an item per rank.

#include <QtGlobal>

#include <span>

namespace pellory {

// Reorders `ranks` ascending, moving `items` (same length) along with them, into exactly
// the order that the partition sort below leaves, ties included:
//   sort(lo, hi): if lo >= hi stop; pivot = rank[hi]; i = lo - 1; j = hi;
//   loop { do i++ while rank[i] < pivot && i < j;  do j-- while rank[j] > pivot && j > i;
//          if j <= i break; swap(i, j) }
//   if i != hi swap(i, hi); sort(lo, i - 1); sort(i + 1, hi)
// Descending orders pass negated ranks.
void partitionSort(std::span<qint32> ranks, std::span<qint32> items);

// How much of the work is done by walking positions one by one rather than by asking the
// index of ranks. The result never depends on it; tests turn walking off so that the
// index answers every step.
struct PartitionTuning
{
    qint32 walkedRange = 32; // ranges of at most this many positions are walked
    qint32 scanAhead = 8;    // positions walked before the index is asked
    // Long walks, counted over the whole sort, allowed per position before the index is
    // built: inputs whose walks are nearly all short never pay for keeping it current.
    qint32 walkBudgetPerPosition = 2;
};
void partitionSort(std::span<qint32> ranks, std::span<qint32> items, PartitionTuning tuning);

} // namespace pellory
