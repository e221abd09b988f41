// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The smallest and largest rank of every aligned block of positions, kept current under
// single-position changes, so that the range sort can find the next position it would
// stop at without walking the positions in between. Used by the range sort alone.

#include <QtGlobal>

#include <span>
#include <vector>

namespace pellory {

class RankTree
{
public:
    explicit RankTree(std::span<const qint32> ranks);

    void set(qint32 position, qint32 rank);

    // The first position in from..to whose rank is >= pivot, or -1.
    qint32 firstAtLeast(qint32 from, qint32 to, qint32 pivot) const;
    // The last position in from..to whose rank is <= pivot, or -1.
    qint32 lastAtMost(qint32 from, qint32 to, qint32 pivot) const;

private:
    struct Node
    {
        qint32 min;
        qint32 max;
    };

    qint32 m_leaves = 1; // a power of two, at least the number of positions
    std::vector<Node> m_nodes;
};

} // namespace pellory
