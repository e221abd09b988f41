// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Reads when a QuickTime or MPEG-4 movie (MOV, MP4, M4V, 3GP) was made: the creation time
// of its movie header ("moov" then "mvhd"). Walks the boxes by their sizes and reads only
// their headers, within fixed limits, so that a damaged or hostile file costs a few
// small reads at most. Knows nothing of files: the bytes come through a ByteSource.

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

namespace pellory {

// Bytes at offsets of something of a known size: a file, or memory for the tests and
// the fuzzer.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    virtual qint64 size() const = 0;
    // Reads up to `count` bytes at `offset` into `into`; the count read, -1 on an error.
    virtual qint64 readAt(qint64 offset, char* into, qint64 count) = 0;
};

class MemorySource : public ByteSource
{
public:
    explicit MemorySource(QByteArrayView bytes) : m_bytes(bytes) {}
    qint64 size() const override { return m_bytes.size(); }
    qint64 readAt(qint64 offset, char* into, qint64 count) override;

private:
    QByteArrayView m_bytes;
};

// At most this many boxes are looked at, top-level and inside "moov" together.
constexpr int MovieBoxLimit = 1024;

// The movie header's creation time as seconds since 1970-01-01 UTC. Nothing when there is
// no movie header within the limits, when the boxes do not fit together, or when the time
// is 0 (never set) or beyond the year 9999.
std::optional<qint64> movieCreationTime(ByteSource& source);

} // namespace pellory
