#include "catalogue/SortKeys.h"

#include "platform/FileTime.h"

#include <algorithm>
#include <numeric>

namespace pellory {

namespace {

// Dense ranks from any three-way comparison of record indices.
template <typename Compare> std::vector<qint32> denseRanks(qint32 count, Compare compare)
{
    std::vector<qint32> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qint32 a, qint32 b) { return compare(a, b) < 0; });
    std::vector<qint32> ranks(static_cast<size_t>(count));
    qint32 rank = 0;
    for (qint32 k = 0; k < count; ++k) {
        if (k > 0 && compare(order[k - 1], order[k]) != 0)
            ++rank;
        ranks[order[k]] = rank;
    }
    return ranks;
}

} // namespace

std::vector<qint32> keyRanks(std::span<const FileRecord> records, SortKey key, bool descending)
{
    const auto count = static_cast<qint32>(records.size());
    std::vector<qint32> ranks;
    switch (key) {
    case SortKey::Name:
        ranks = denseRanks(count, [&](qint32 a, qint32 b) {
            return QString::compare(records[a].NameKey, records[b].NameKey, Qt::CaseSensitive);
        });
        break;
    case SortKey::Ext:
        ranks = denseRanks(count, [&](qint32 a, qint32 b) {
            return QString::compare(records[a].ExtKey, records[b].ExtKey, Qt::CaseSensitive);
        });
        break;
    case SortKey::Date:
        ranks = denseRanks(count, [&](qint32 a, qint32 b) {
            return CompareFileTime(records[a].WriteTime, records[b].WriteTime);
        });
        break;
    }
    if (descending) {
        for (qint32& rank : ranks)
            rank = -rank;
    }
    return ranks;
}

} // namespace pellory
