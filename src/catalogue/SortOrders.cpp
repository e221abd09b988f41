#include "catalogue/SortOrders.h"

#include "catalogue/RangeSort.h"
#include "catalogue/SortKeys.h"

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

// Puts records first..first+items.size()-1 in the order `items` gives (indices relative
// to `first`), moving each record once.
void permuteRecords(Catalogue& catalogue, qint32 first, const std::vector<qint32>& items)
{
    std::vector<FileRecord> ordered;
    ordered.reserve(items.size());
    auto base = catalogue.FileRecords.begin() + first;
    for (const qint32 item : items)
        ordered.push_back(std::move(base[item]));
    std::move(ordered.begin(), ordered.end(), base);
}

void sortRange(Catalogue& catalogue, qint32 lo, qint32 hi, SortKey key, bool descending)
{
    if (lo >= hi)
        return;
    Q_ASSERT(lo >= 1 && hi <= catalogue.FileCount());
    const std::span<const FileRecord> records(catalogue.FileRecords.data() + lo - 1,
                                              static_cast<size_t>(hi - lo + 1));
    std::vector<qint32> ranks = keyRanks(records, key, descending);
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
