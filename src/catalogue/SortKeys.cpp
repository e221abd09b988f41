// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "catalogue/SortKeys.h"

#include "camera/CaptureTime.h"
#include "platform/FileTime.h"

#include <QHash>

#include <algorithm>
#include <optional>
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
    case SortKey::Taken:
        break; // its keys are worked out once for the whole run (takenKeys)
    }
    return 0;
}

constexpr quint64 kTicksPerSecond = 10000000;
constexpr qint64 kSecondsFrom1601To1970 = 11644473600;

// The moments records are ordered by under SortKey::Taken. A capture time without an
// offset is read in the computer's time zone, and each such reading looks the zone's rules
// up again (without TZ set, from the disk): a folder of 32767 photos took a quarter of a
// second. Zones change their offset at a quarter hour nearly always, so the offset found at
// both ends of a quarter hour of the wall clock serves every time within it; a quarter hour
// with a change inside has each of its times read on its own.
class TakenMoments
{
public:
    CaptureKey of(const FileRecord& record)
    {
        if (!record.TakenRead || !record.Taken.isValid())
            return {qint64(record.WriteTime / kTicksPerSecond) - kSecondsFrom1601To1970,
                    qint32(record.WriteTime % kTicksPerSecond / 10)};
        const CaptureTime& time = record.Taken;
        if (time.hasOffset)
            return captureKey(time);
        const qint64 quarter =
            time.wallSeconds / kQuarterHour - (time.wallSeconds % kQuarterHour < 0 ? 1 : 0);
        auto shift = m_shifts.constFind(quarter);
        if (shift == m_shifts.cend())
            shift = m_shifts.insert(quarter, shiftWithin(time, quarter * kQuarterHour));
        return *shift ? CaptureKey{time.wallSeconds + **shift, time.microseconds}
                      : captureKey(time);
    }

private:
    static constexpr qint64 kQuarterHour = 15 * 60;

    // UTC minus the wall clock throughout the quarter hour from `first`; nothing when the
    // zone changes its offset within it.
    static std::optional<qint64> shiftWithin(CaptureTime time, qint64 first)
    {
        const auto shiftAt = [&time](qint64 wall) {
            time.wallSeconds = wall;
            return captureKey(time).utcSeconds - wall;
        };
        const qint64 shift = shiftAt(first);
        return shift == shiftAt(first + kQuarterHour - 1) ? std::optional(shift) : std::nullopt;
    }

    QHash<qint64, std::optional<qint64>> m_shifts; // by quarter hour of the wall clock
};

std::vector<CaptureKey> takenKeys(std::span<const FileRecord> records)
{
    TakenMoments moments;
    std::vector<CaptureKey> keys;
    keys.reserve(records.size());
    for (const FileRecord& record : records)
        keys.push_back(moments.of(record));
    return keys;
}

int compareTaken(const std::vector<CaptureKey>& keys, std::span<const FileRecord> records, size_t a,
                 size_t b)
{
    return compareCaptures(keys[a], records[a].RawName, keys[b], records[b].RawName);
}

// The first code units of `text` after `skip`, packed into one number so that numbers
// compare as the texts do: eight 8-bit units while `narrow`, else four 16-bit ones; a
// shorter text pads with zeros. Clears `narrow` and returns 0 on a unit that needs more
// than 8 bits, for the caller to pack every text again the wide way.
quint64 packedHead(QStringView text, qsizetype skip, bool& narrow)
{
    const QStringView rest = text.sliced(skip);
    const qsizetype units = narrow ? 8 : 4;
    quint64 head = 0;
    for (qsizetype c = 0; c < units; ++c) {
        const char16_t unit = c < rest.size() ? rest[c].unicode() : u'\0';
        if (narrow && unit > 0xFF) {
            narrow = false;
            return 0;
        }
        head = head << (narrow ? 8 : 16) | unit;
    }
    return head;
}

qsizetype sharedStart(QStringView a, QStringView b)
{
    const qsizetype most = std::min(a.size(), b.size());
    return std::mismatch(a.begin(), a.begin() + most, b.begin()).first - a.begin();
}

// Names and extensions compare by UTF-16 code units. The code units every key starts with
// decide nothing; the next ones, packed into one number, decide most comparisons of a
// folder of camera names without reading the texts: the keys are sorted as numbers, and
// only runs of equal heads by their texts.
std::vector<qint32> textRanks(std::span<const FileRecord> records, QString FileRecord::*key)
{
    struct Keyed
    {
        quint64 head;
        qint32 index;
    };
    const auto text = [&](qint32 index) -> QStringView { return records[size_t(index)].*key; };
    const auto count = static_cast<qint32>(records.size());
    std::vector<Keyed> keyed(records.size());
    // The start shared by the first and the last key, shortened as soon as a key does not
    // share it, so that each text is read once in the usual case.
    qsizetype common = count == 0 ? 0 : sharedStart(text(0), text(count - 1));
    bool narrow = true;
    for (qint32 k = 0; k < count; ++k) {
        const QStringView t = text(k);
        const qsizetype shared = sharedStart(t.first(std::min(common, t.size())), text(0));
        const bool wasNarrow = narrow;
        const quint64 head = packedHead(t, std::min(common, shared), narrow);
        if (shared < common || narrow != wasNarrow) {
            common = std::min(common, shared);
            k = -1; // every head so far was packed for another start or width
            continue;
        }
        keyed[size_t(k)] = {head, k};
    }
    const auto compare = [&](const Keyed& a, const Keyed& b) {
        if (a.head != b.head)
            return a.head < b.head ? -1 : 1;
        return text(a.index).sliced(common).compare(text(b.index).sliced(common));
    };
    std::sort(keyed.begin(), keyed.end(),
              [](const Keyed& a, const Keyed& b) { return a.head < b.head; });
    for (auto first = keyed.begin(); first != keyed.end();) {
        auto last = std::find_if(first + 1, keyed.end(),
                                 [&](const Keyed& k) { return k.head != first->head; });
        if (last - first > 1)
            std::sort(first, last,
                      [&](const Keyed& a, const Keyed& b) { return compare(a, b) < 0; });
        first = last;
    }
    std::vector<qint32> ranks(records.size());
    qint32 rank = 0;
    for (size_t k = 0; k < keyed.size(); ++k) {
        if (k > 0 && compare(keyed[k - 1], keyed[k]) != 0)
            ++rank;
        ranks[static_cast<size_t>(keyed[k].index)] = rank;
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

// Capture times sorted beside their record indices, as write times are, each moment one
// number (microseconds since 1970 reach past the year 9999 in 64 bits); equal moments by
// the names' bytes.
std::vector<qint32> takenRanks(std::span<const FileRecord> records)
{
    const std::vector<CaptureKey> keys = takenKeys(records);
    std::vector<std::pair<qint64, qint32>> moments(records.size());
    for (size_t k = 0; k < records.size(); ++k)
        moments[k] = {keys[k].utcSeconds * 1000000 + keys[k].microseconds, qint32(k)};
    std::sort(moments.begin(), moments.end());
    const auto name = [&](qint32 index) { return QByteArrayView(records[size_t(index)].RawName); };
    for (auto first = moments.begin(); first != moments.end();) {
        const auto last = std::find_if(first + 1, moments.end(),
                                       [&](const auto& m) { return m.first != first->first; });
        if (last - first > 1)
            std::sort(first, last, [&](const auto& a, const auto& b) {
                return name(a.second).compare(name(b.second)) < 0;
            });
        first = last;
    }
    std::vector<qint32> ranks(records.size());
    qint32 rank = 0;
    for (size_t k = 0; k < moments.size(); ++k) {
        if (k > 0 && (moments[k - 1].first != moments[k].first ||
                      name(moments[k - 1].second) != name(moments[k].second)))
            ++rank;
        ranks[static_cast<size_t>(moments[k].second)] = rank;
    }
    return ranks;
}

} // namespace

KeyTrend keyTrend(std::span<const FileRecord> records, SortKey key, bool descending)
{
    bool up = true;
    bool down = true;
    bool level = true;
    const std::vector<CaptureKey> keys =
        key == SortKey::Taken ? takenKeys(records) : std::vector<CaptureKey>();
    for (size_t k = 1; k < records.size() && (up || down || level); ++k) {
        int c = key == SortKey::Taken ? compareTaken(keys, records, k - 1, k)
                                      : compareKeys(records[k - 1], records[k], key);
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
    std::vector<qint32> ranks;
    switch (key) {
    case SortKey::Name:
        ranks = textRanks(records, &FileRecord::NameKey);
        break;
    case SortKey::Ext:
        ranks = textRanks(records, &FileRecord::ExtKey);
        break;
    case SortKey::Date:
        ranks = timeRanks(records);
        break;
    case SortKey::Taken:
        ranks = takenRanks(records);
        break;
    }
    if (descending) {
        for (qint32& rank : ranks)
            rank = -rank;
    }
    return ranks;
}

} // namespace pellory
