// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "catalogue/SortOrders.h"

#include "catalogue/RangeSort.h"

#include <algorithm>
#include <numeric>
#include <span>
#include <vector>

namespace pellory {

namespace {

std::vector<qint32> identityItems(qint32 count)
{
    std::vector<qint32> items(static_cast<size_t>(count));
    std::iota(items.begin(), items.end(), 0);
    return items;
}

// Puts the records in the order `items` gives: position k receives record items[k].
// Follows each cycle of the permutation, so every record moves once and no second store
// of records is needed. Consumes `items`.
void permuteRecords(Catalogue& catalogue, std::vector<qint32>& items)
{
    auto records = catalogue.FileRecords.begin();
    const auto count = static_cast<qint32>(items.size());
    for (qint32 start = 0; start < count; ++start) {
        if (items[start] < 0 || items[start] == start)
            continue;
        FileRecord held = std::move(records[start]);
        for (qint32 at = start;;) {
            const qint32 from = items[at];
            items[at] = -1;
            if (from == start) {
                records[at] = std::move(held);
                break;
            }
            records[at] = std::move(records[from]);
            at = from;
        }
    }
}

// Sorts the whole catalogue in place by one key.
void sortByKey(Catalogue& catalogue, SortKey key, bool descending)
{
    const qint32 count = catalogue.FileCount();
    if (count < 2)
        return;
    const std::span<const FileRecord> records(catalogue.FileRecords);
    std::vector<qint32> ranks;
    switch (keyTrend(records, key, descending)) {
    case KeyTrend::Ascending:
        return; // distinct keys already in order: the only possible result
    case KeyTrend::Descending:
        std::reverse(catalogue.FileRecords.begin(), catalogue.FileRecords.end());
        return;
    case KeyTrend::AllEqual:
        ranks.assign(records.size(), 0);
        break;
    case KeyTrend::Mixed:
        ranks = keyRanks(records, key, descending);
        break;
    }
    std::vector<qint32> items = identityItems(count);
    partitionSort(ranks, items);
    permuteRecords(catalogue, items);
}

// The extension sort, then each run of equal extensions sorted by name in the same
// direction; all on ranks, with the records moved once at the end.
void sortByExtThenName(Catalogue& catalogue, bool descending)
{
    const qint32 count = catalogue.FileCount();
    if (count < 1)
        return;
    const std::span<const FileRecord> records(catalogue.FileRecords);
    std::vector<qint32> extRanks = keyRanks(records, SortKey::Ext, descending);
    const std::vector<qint32> nameRanks = keyRanks(records, SortKey::Name, descending);
    std::vector<qint32> items = identityItems(count);
    partitionSort(extRanks, items);

    std::vector<qint32> runRanks;
    for (qint32 first = 0; first < count;) {
        qint32 last = first;
        while (last + 1 < count && extRanks[last + 1] == extRanks[first])
            ++last;
        if (last > first) {
            const std::span<qint32> runItems(items.data() + first,
                                             static_cast<size_t>(last - first + 1));
            runRanks.clear();
            for (const qint32 item : runItems)
                runRanks.push_back(nameRanks[item]);
            partitionSort(runRanks, runItems);
        }
        first = last + 1;
    }
    permuteRecords(catalogue, items);
}

} // namespace

void sortCatalogue(Catalogue& catalogue, int index)
{
    const SortOrder* order = sortOrderAt(index);
    if (!order)
        return; // nothing chosen: the scan order stands
    if (order->key == SortKey::Ext)
        sortByExtThenName(catalogue, order->descending);
    else
        sortByKey(catalogue, order->key, order->descending);
}

} // namespace pellory
