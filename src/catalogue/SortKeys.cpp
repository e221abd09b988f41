#include "catalogue/SortKeys.h"

#include "platform/FileTime.h"

#include <algorithm>
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

// Names and extensions compare by UTF-16 code units. The code units every key starts with
// decide nothing; the next four, packed into one number, decide most comparisons of a
// folder of camera names without reading the texts: they are sorted as numbers, and only
// runs of equal heads by their texts. Packing is monotonic (a shorter text pads with
// zeros), so the two steps give the order of the texts.
std::vector<qint32> textRanks(std::span<const FileRecord> records, QString FileRecord::*key)
{
    struct Keyed
    {
        quint64 head;
        QStringView rest; // the text after the common start
        qint32 index;
    };
    qsizetype common = records.empty() ? 0 : (records.front().*key).size();
    for (const FileRecord& record : records) {
        const QString& first = records.front().*key;
        const QString& text = record.*key;
        common = std::min(common, text.size());
        common = std::mismatch(first.cbegin(), first.cbegin() + common, text.cbegin()).first -
                 first.cbegin();
    }
    std::vector<Keyed> keyed(records.size());
    for (size_t k = 0; k < records.size(); ++k) {
        const QStringView rest = QStringView(records[k].*key).sliced(common);
        quint64 head = 0;
        for (qsizetype c = 0; c < 4; ++c)
            head = head << 16 | (c < rest.size() ? rest[c].unicode() : 0u);
        keyed[k] = {head, rest, static_cast<qint32>(k)};
    }
    const auto compare = [](const Keyed& a, const Keyed& b) {
        return a.head != b.head ? (a.head < b.head ? -1 : 1) : a.rest.compare(b.rest);
    };
    std::sort(keyed.begin(), keyed.end(),
              [](const Keyed& a, const Keyed& b) { return a.head < b.head; });
    for (auto first = keyed.begin(); first != keyed.end();) {
        auto last = std::find_if(first + 1, keyed.end(),
                                 [&](const Keyed& k) { return k.head != first->head; });
        if (last - first > 1)
            std::sort(first, last,
                      [](const Keyed& a, const Keyed& b) { return a.rest.compare(b.rest) < 0; });
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
    }
    if (descending) {
        for (qint32& rank : ranks)
            rank = -rank;
    }
    return ranks;
}

} // namespace pellory
