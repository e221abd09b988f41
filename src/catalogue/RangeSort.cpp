// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "catalogue/RangeSort.h"

#include "catalogue/RankTree.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <utility>
#include <vector>

namespace pellory {

namespace {

struct Range
{
    qint32 lo;
    qint32 hi;
};

class Partitioner
{
public:
    Partitioner(std::span<qint32> ranks, std::span<qint32> items, PartitionTuning tuning)
        : m_ranks(ranks), m_items(items), m_tuning(tuning),
          m_walkBudget(qint64(tuning.walkBudgetPerPosition) * qint64(ranks.size()))
    {}

    // Sub-ranges are disjoint, so handling them from a stack in any order gives the same
    // result as the recursion, with no depth that grows with the catalogue.
    void run()
    {
        std::vector<Range> pending{{0, static_cast<qint32>(m_ranks.size()) - 1}};
        while (!pending.empty()) {
            const Range range = pending.back();
            pending.pop_back();
            // Nothing outside a walked range looks at its positions again, so the index
            // need not be kept current for them.
            const qint32 i = partition(range, range.hi - range.lo >= m_tuning.walkedRange);
            if (i + 1 < range.hi)
                pending.push_back({i + 1, range.hi});
            if (range.lo < i - 1)
                pending.push_back({range.lo, i - 1});
        }
    }

private:
    qint32 partition(Range range, bool indexed)
    {
        const qint32 pivot = m_ranks[range.hi];
        qint32 i = range.lo - 1;
        qint32 j = range.hi;
        for (;;) {
            i = advance(i + 1, j, pivot, indexed);
            j = retreat(j - 1, i, pivot, indexed);
            if (j <= i)
                break;
            swap(i, j, indexed);
        }
        if (i != range.hi)
            swap(i, range.hi, indexed);
        return i;
    }

    // The first position from `start` on whose rank is not below the pivot; the
    // comparison comes before the bound, so the walk stops at j at the latest.
    qint32 advance(qint32 start, qint32 j, qint32 pivot, bool indexed)
    {
        const qint32 end = indexed ? std::min(j, start + m_tuning.scanAhead) : j;
        for (qint32 k = start; k < end; ++k) {
            if (m_ranks[k] >= pivot)
                return k;
        }
        qint32 k = end;
        for (; k < j && !m_tree && m_walkBudget > 0; ++k, --m_walkBudget) {
            if (m_ranks[k] >= pivot)
                return k;
        }
        if (k >= j)
            return j;
        const qint32 found = tree().firstAtLeast(k, j - 1, pivot);
        return found < 0 ? j : found;
    }

    // The last position from `start` down whose rank is not above the pivot, stopping at
    // i at the latest; a start at or below i stays where it is.
    qint32 retreat(qint32 start, qint32 i, qint32 pivot, bool indexed)
    {
        if (start <= i)
            return start;
        const qint32 end = indexed ? std::max(i, start - m_tuning.scanAhead) : i;
        for (qint32 k = start; k > end; --k) {
            if (m_ranks[k] <= pivot)
                return k;
        }
        qint32 k = end;
        for (; k > i && !m_tree && m_walkBudget > 0; --k, --m_walkBudget) {
            if (m_ranks[k] <= pivot)
                return k;
        }
        if (k <= i)
            return i;
        const qint32 found = tree().lastAtMost(i + 1, k, pivot);
        return found < 0 ? i : found;
    }

    void swap(qint32 a, qint32 b, bool indexed)
    {
        std::swap(m_ranks[a], m_ranks[b]);
        std::swap(m_items[a], m_items[b]);
        if (indexed && m_tree) {
            m_tree->set(a, m_ranks[a]);
            m_tree->set(b, m_ranks[b]);
        }
    }

    // Built once the walk budget is spent, from the ranks as they stand then.
    const RankTree& tree()
    {
        if (!m_tree)
            m_tree.emplace(m_ranks);
        return *m_tree;
    }

    std::span<qint32> m_ranks;
    std::span<qint32> m_items;
    PartitionTuning m_tuning;
    std::optional<RankTree> m_tree;
    qint64 m_walkBudget;
};

bool strictlyAscending(std::span<const qint32> ranks)
{
    return std::adjacent_find(ranks.begin(), ranks.end(), std::greater_equal<>()) == ranks.end();
}

bool allDistinct(std::span<const qint32> ranks)
{
    const auto [low, high] = std::minmax_element(ranks.begin(), ranks.end());
    const qint64 spread = qint64(*high) - qint64(*low) + 1;
    if (spread > 4 * qint64(ranks.size())) {
        std::vector<qint32> sorted(ranks.begin(), ranks.end());
        std::sort(sorted.begin(), sorted.end());
        return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
    }
    std::vector<bool> seen(static_cast<size_t>(spread));
    for (const qint32 rank : ranks) {
        if (seen[static_cast<size_t>(rank - *low)])
            return false;
        seen[static_cast<size_t>(rank - *low)] = true;
    }
    return true;
}

// With no two keys equal the partition sort has only one possible result. Ranks that
// are distinct and dense give each item its place directly.
void sortDistinct(std::span<qint32> ranks, std::span<qint32> items)
{
    const auto [low, high] = std::minmax_element(ranks.begin(), ranks.end());
    if (qint64(*high) - qint64(*low) + 1 == qint64(ranks.size())) {
        std::vector<qint32> placed(ranks.size());
        for (size_t k = 0; k < ranks.size(); ++k)
            placed[static_cast<size_t>(ranks[k] - *low)] = items[k];
        std::iota(ranks.begin(), ranks.end(), *low);
        std::copy(placed.begin(), placed.end(), items.begin());
        return;
    }
    std::vector<std::pair<qint32, qint32>> pairs(ranks.size());
    for (size_t k = 0; k < ranks.size(); ++k)
        pairs[k] = {ranks[k], items[k]};
    std::sort(pairs.begin(), pairs.end());
    for (size_t k = 0; k < ranks.size(); ++k)
        std::tie(ranks[k], items[k]) = pairs[k];
}

} // namespace

void partitionSort(std::span<qint32> ranks, std::span<qint32> items)
{
    partitionSort(ranks, items, PartitionTuning{});
}

void partitionSort(std::span<qint32> ranks, std::span<qint32> items, PartitionTuning tuning)
{
    Q_ASSERT(ranks.size() == items.size());
    // Already in order: every partition keeps its pivot at the end and swaps nothing.
    if (ranks.size() < 2 || strictlyAscending(ranks))
        return;
    if (allDistinct(ranks)) {
        sortDistinct(ranks, items);
        return;
    }
    Partitioner(ranks, items, tuning).run();
}

} // namespace pellory
