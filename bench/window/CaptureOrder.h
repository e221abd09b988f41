// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The listed files in capture order, as the window's Taken order makes it: their capture
// times read through a cache on the thread pool while the event loop runs, then the
// records sorted by them. A second order() comes from what the first kept.

#include <QByteArray>
#include <QStringList>

#include <memory>

namespace pellory {
class Catalogue;
class CaptureCache;
} // namespace pellory

namespace pellory::bench {

class CaptureOrder
{
public:
    CaptureOrder(); // nothing read yet, as in a window just started
    ~CaptureOrder();
    CaptureOrder(const CaptureOrder&) = delete;
    CaptureOrder& operator=(const CaptureOrder&) = delete;

    // The names of `listed`, files of `folder` (its exact bytes), in capture order.
    QStringList order(const Catalogue& listed, const QByteArray& folder);

private:
    std::unique_ptr<CaptureCache> m_cache;
};

} // namespace pellory::bench
