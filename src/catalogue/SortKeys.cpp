#include "catalogue/SortKeys.h"

#include "platform/FileTime.h"

#include <algorithm>
#include <numeric>
#include <utility>

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

// Write times are sorted beside their record indices rather than through them: the
// records are large, and fetching each time from its record dominates the cost.
// Unsigned order is the order CompareFileTime gives.
std::vector<qint32> timeRanks(std::span<const FileRecord> records)
{
    std::vector<std::pair<quint64, qint32>> times(records.size());
    for (size_t k = 0; k < records.size(); ++k)
        times[k] = {records[k].WriteTime, static_cast<qint32>(k)};
    std::sort(times.begin(), times.end());
    std::vector<qint32> ranks(records.size());
    qint32 rank = 0;
    for (size_t k = 0; k < times.size(); ++k) {
        if (k > 0 && times[k - 1].first != times[k].first)
            ++rank;
        ranks[static_cast<size_t>(times[k].second)] = rank;
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
        ranks = timeRanks(records);
        break;
    }
    if (descending) {
        for (qint32& rank : ranks)
            rank = -rank;
    }
    return ranks;
}

} // namespace pellory
