// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "camera/MovieHeader.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace pellory {

namespace {

// Movie times count seconds from 1904-01-01 UTC.
constexpr qint64 SecondsFrom1904To1970 = 2082844800;
// 9999-12-31 23:59:59 UTC, the last second a date in a name can show.
constexpr qint64 LastUtcSecond = 253402300799;

struct Box
{
    qint64 start = 0;   // of its header
    qint64 content = 0; // after its header
    qint64 end = 0;     // one past its last byte
    char type[4] = {};
};

// The walk over sibling boxes between two offsets, sharing one budget of boxes.
class BoxWalk
{
public:
    BoxWalk(ByteSource& source, int& budget) : m_source(source), m_budget(budget) {}

    // The next box that lies wholly within [at, end); nothing at the end, on a box that
    // does not fit, or when the budget is spent.
    std::optional<Box> next(qint64& at, qint64 end)
    {
        uchar header[16];
        if (at + 8 > end || --m_budget < 0 || !read(at, header, 8))
            return std::nullopt;
        Box box;
        box.start = at;
        std::memcpy(box.type, header + 4, 4);
        quint64 size = qFromBigEndian<quint32>(header);
        box.content = at + 8;
        if (size == 1) { // a 64-bit size follows the type
            if (at + 16 > end || !read(at + 8, header + 8, 8))
                return std::nullopt;
            size = qFromBigEndian<quint64>(header + 8);
            box.content = at + 16;
        } else if (size == 0) { // the box runs to the end of its parent
            size = quint64(end - at);
        }
        // A size smaller than its own header would never move the walk on.
        if (size < quint64(box.content - at) || size > quint64(end - at))
            return std::nullopt;
        box.end = at + qint64(size);
        at = box.end;
        return box;
    }

    bool read(qint64 offset, uchar* into, qint64 count)
    {
        return m_source.readAt(offset, reinterpret_cast<char*>(into), count) == count;
    }

private:
    ByteSource& m_source;
    int& m_budget;
};

bool isType(const Box& box, const char* type)
{
    return std::memcmp(box.type, type, 4) == 0;
}

// The creation time of an "mvhd" box: version 0 holds 32-bit times, version 1 64-bit.
std::optional<qint64> headerTime(BoxWalk& walk, const Box& mvhd)
{
    uchar fields[12];
    const qint64 length = mvhd.end - mvhd.content;
    if (length < 8 || !walk.read(mvhd.content, fields, std::min<qint64>(length, 12)))
        return std::nullopt;
    quint64 since1904 = 0;
    if (fields[0] == 0)
        since1904 = qFromBigEndian<quint32>(fields + 4);
    else if (fields[0] == 1 && length >= 12)
        since1904 = qFromBigEndian<quint64>(fields + 4);
    else
        return std::nullopt;
    if (since1904 == 0 || since1904 > quint64(LastUtcSecond + SecondsFrom1904To1970))
        return std::nullopt;
    return qint64(since1904) - SecondsFrom1904To1970;
}

} // namespace

qint64 MemorySource::readAt(qint64 offset, char* into, qint64 count)
{
    if (offset < 0 || count < 0 || offset > m_bytes.size())
        return -1;
    const qint64 n = std::min(count, m_bytes.size() - offset);
    if (n > 0)
        std::memcpy(into, m_bytes.data() + offset, size_t(n));
    return n;
}

std::optional<qint64> movieCreationTime(ByteSource& source)
{
    int budget = MovieBoxLimit;
    BoxWalk walk(source, budget);
    const qint64 end = source.size();
    for (qint64 at = 0; const std::optional<Box> top = walk.next(at, end);) {
        if (!isType(*top, "moov"))
            continue;
        for (qint64 inner = top->content;
             const std::optional<Box> box = walk.next(inner, top->end);)
            if (isType(*box, "mvhd"))
                return headerTime(walk, *box);
        return std::nullopt; // one movie per file: a second "moov" is not looked for
    }
    return std::nullopt;
}

} // namespace pellory
