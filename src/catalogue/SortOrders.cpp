#include "catalogue/SortOrders.h"

#include "catalogue/RangeSort.h"
#include "catalogue/SortKeys.h"

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

// Puts records first.. in the order `items` gives (indices relative to `first`): position
// k receives record items[k]. Follows each cycle of the permutation, so every record
// moves once and no second store of records is needed. Consumes `items`.
void permuteRecords(Catalogue& catalogue, qint32 first, std::vector<qint32>& items)
{
    auto records = catalogue.FileRecords.begin() + first;
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

void sortRange(Catalogue& catalogue, qint32 lo, qint32 hi, SortKey key, bool descending)
{
    if (lo >= hi)
        return;
    Q_ASSERT(lo >= 1 && hi <= catalogue.FileCount());
    const auto first = catalogue.FileRecords.begin() + (lo - 1);
    const auto last = catalogue.FileRecords.begin() + hi;
    const std::span<const FileRecord> records(&*first, static_cast<size_t>(hi - lo + 1));
    std::vector<qint32> ranks;
    switch (keyTrend(records, key, descending)) {
    case KeyTrend::Ascending:
        return; // distinct keys already in order: the only possible result
    case KeyTrend::Descending:
        std::reverse(first, last);
        return;
    case KeyTrend::AllEqual:
        ranks.assign(records.size(), 0);
        break;
    case KeyTrend::Mixed:
        ranks = keyRanks(records, key, descending);
        break;
    }
    std::vector<qint32> items = identityItems(hi - lo + 1);
    partitionSort(ranks, items);
    permuteRecords(catalogue, lo - 1, items);
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
    permuteRecords(catalogue, 0, items);
}

} // namespace

void SortNameAsc(Catalogue& catalogue, qint32 lo, qint32 hi)
{
    sortRange(catalogue, lo, hi, SortKey::Name, false);
}

void SortNameDesc(Catalogue& catalogue, qint32 lo, qint32 hi)
{
    sortRange(catalogue, lo, hi, SortKey::Name, true);
}

void SortExtAsc(Catalogue& catalogue, qint32 lo, qint32 hi)
{
    sortRange(catalogue, lo, hi, SortKey::Ext, false);
}

void SortExtDesc(Catalogue& catalogue, qint32 lo, qint32 hi)
{
    sortRange(catalogue, lo, hi, SortKey::Ext, true);
}

void SortDateAsc(Catalogue& catalogue, qint32 lo, qint32 hi)
{
    sortRange(catalogue, lo, hi, SortKey::Date, false);
}

void SortDateDesc(Catalogue& catalogue, qint32 lo, qint32 hi)
{
    sortRange(catalogue, lo, hi, SortKey::Date, true);
}

void sortCatalogue(Catalogue& catalogue, int sortOrder)
{
    const qint32 count = catalogue.FileCount();
    switch (sortOrder) {
    case NameAscending:
        return SortNameAsc(catalogue, 1, count);
    case NameDescending:
        return SortNameDesc(catalogue, 1, count);
    case ExtAscending:
        return sortByExtThenName(catalogue, false);
    case ExtDescending:
        return sortByExtThenName(catalogue, true);
    case DateOldToNew:
        return SortDateAsc(catalogue, 1, count);
    case DateNewToOld:
        return SortDateDesc(catalogue, 1, count);
    default:
        return; // nothing chosen: the scan order stands
    }
}

} // namespace pellory
