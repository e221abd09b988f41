// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "catalogue/RankTree.h"

#include <algorithm>
#include <limits>

namespace pellory {

namespace {

// Leaves past the last position must never be found by either search.
constexpr qint32 kNoRankMin = std::numeric_limits<qint32>::max();
constexpr qint32 kNoRankMax = std::numeric_limits<qint32>::min();

// The nodes that exactly cover from..to, left to right. A bottom-up walk meets them from
// both ends; the right-hand ones arrive in reverse and are appended reversed.
struct Cover
{
    qint32 nodes[2 * 32];
    int count = 0;

    Cover(qint32 leaves, qint32 from, qint32 to)
    {
        qint32 right[32];
        int rightCount = 0;
        for (qint32 l = from + leaves, r = to + leaves + 1; l < r; l >>= 1, r >>= 1) {
            if (l & 1)
                nodes[count++] = l++;
            if (r & 1)
                right[rightCount++] = --r;
        }
        while (rightCount > 0)
            nodes[count++] = right[--rightCount];
    }
};

} // namespace

RankTree::RankTree(std::span<const qint32> ranks)
{
    const auto size = static_cast<qint32>(ranks.size());
    while (m_leaves < size)
        m_leaves *= 2;
    m_nodes.assign(2 * static_cast<size_t>(m_leaves), Node{kNoRankMin, kNoRankMax});
    for (qint32 k = 0; k < size; ++k)
        m_nodes[m_leaves + k] = Node{ranks[k], ranks[k]};
    for (qint32 n = m_leaves - 1; n >= 1; --n)
        m_nodes[n] = Node{std::min(m_nodes[2 * n].min, m_nodes[2 * n + 1].min),
                          std::max(m_nodes[2 * n].max, m_nodes[2 * n + 1].max)};
}

void RankTree::set(qint32 position, qint32 rank)
{
    qint32 n = position + m_leaves;
    m_nodes[n] = Node{rank, rank};
    for (n >>= 1; n >= 1; n >>= 1) {
        const Node updated{std::min(m_nodes[2 * n].min, m_nodes[2 * n + 1].min),
                           std::max(m_nodes[2 * n].max, m_nodes[2 * n + 1].max)};
        if (updated.min == m_nodes[n].min && updated.max == m_nodes[n].max)
            break; // nothing above can change either
        m_nodes[n] = updated;
    }
}

qint32 RankTree::firstAtLeast(qint32 from, qint32 to, qint32 pivot) const
{
    const Cover cover(m_leaves, from, to);
    for (int c = 0; c < cover.count; ++c) {
        qint32 n = cover.nodes[c];
        if (m_nodes[n].max < pivot)
            continue;
        while (n < m_leaves)
            n = m_nodes[2 * n].max >= pivot ? 2 * n : 2 * n + 1;
        return n - m_leaves;
    }
    return -1;
}

qint32 RankTree::lastAtMost(qint32 from, qint32 to, qint32 pivot) const
{
    const Cover cover(m_leaves, from, to);
    for (int c = cover.count - 1; c >= 0; --c) {
        qint32 n = cover.nodes[c];
        if (m_nodes[n].min > pivot)
            continue;
        while (n < m_leaves)
            n = m_nodes[2 * n + 1].min <= pivot ? 2 * n + 1 : 2 * n;
        return n - m_leaves;
    }
    return -1;
}

} // namespace pellory
