#include "catalogue/SortKeys.h"

#include "platform/FileTime.h"

#include <algorithm>
#include <numeric>

namespace pellory {

namespace {

int compareKeys(const FileRecord& a, const FileRecord& b, SortKey key)
{
    switch (key) {
    case SortKey::Name:
        return QString::compare(a.NameKey, b.NameKey, Qt::CaseSensitive);
    case SortKey::Ext:
        return QString::compare(a.ExtKey, b.ExtKey, Qt::CaseSensitive);
    case SortKey::Date:
        return CompareFileTime(a.WriteTime, b.WriteTime);
    }
    return 0;
}

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

KeyTrend keyTrend(std::span<const FileRecord> records, SortKey key, bool descending)
{
    bool up = true;
    bool down = true;
    bool level = true;
    for (size_t k = 1; k < records.size() && (up || down || level); ++k) {
        int c = compareKeys(records[k - 1], records[k], key);
        if (descending)
            c = -c;
        up = up && c < 0;
        down = down && c > 0;
        level = level && c == 0;
    }
    if (up)
        return KeyTrend::Ascending;
    if (level)
        return KeyTrend::AllEqual;
    return down ? KeyTrend::Descending : KeyTrend::Mixed;
}

std::vector<qint32> keyRanks(std::span<const FileRecord> records, SortKey key, bool descending)
{
    const auto count = static_cast<qint32>(records.size());
    std::vector<qint32> ranks = denseRanks(
        count, [&](qint32 a, qint32 b) { return compareKeys(records[a], records[b], key); });
    if (descending) {
        for (qint32& rank : ranks)
            rank = -rank;
    }
    return ranks;
}

} // namespace pellory
