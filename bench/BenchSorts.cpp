// The six sort orders on the input shapes that decide a partition sort's cost, each
// against std::sort of the same keys in the same arrangement.

#include "BenchTable.h"

#include "catalogue/SortOrders.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <utility>

namespace pellory::bench {

namespace {

enum class Shape
{
    Random,
    Ordered,
    Reversed,
    AllEqual,
    HalfDuplicate
};

const char* const kShapeNames[] = {"random", "ordered", "reversed", "all equal", "half duplicate"};
const char* const kOrderNames[] = {"name A-Z", "name Z-A",     "ext A-Z",
                                   "ext Z-A",  "date old-new", "date new-old"};

struct Keys
{
    int name;
    int ext;
    int time;
};

FileRecord recordFor(const Keys& keys, int index, bool fewExtensions)
{
    static const char* const common[] = {"JPG", "GIF", "PNG", "TIF", "RAW", ""};
    FileRecord record;
    record.NameKey = QStringLiteral("IMG_%1.JPG").arg(keys.name, 6, 10, QLatin1Char('0'));
    record.FileName = record.NameKey.toLower() + u'#' + QString::number(index);
    record.ExtKey = fewExtensions ? QString::fromLatin1(common[keys.ext % 6])
                                  : QStringLiteral("E%1").arg(keys.ext, 6, 10, QLatin1Char('0'));
    record.WriteTime = 132000000000000000ull + quint64(keys.time) * 10000000ull;
    return record;
}

// Three-way comparison of two records under `order`, ascending or descending as it says.
int compareFor(int order, const FileRecord& a, const FileRecord& b)
{
    int c = 0;
    if (order == ExtAscending || order == ExtDescending)
        c = QString::compare(a.ExtKey, b.ExtKey);
    if (c == 0 && order <= ExtDescending)
        c = QString::compare(a.NameKey, b.NameKey);
    if (order >= DateOldToNew)
        c = a.WriteTime < b.WriteTime ? -1 : (a.WriteTime > b.WriteTime ? 1 : 0);
    return order % 2 == 0 ? c : -c;
}

std::vector<FileRecord> makeInput(Shape shape, int order, std::mt19937& rng)
{
    const int n = kDesignLimit;
    std::vector<int> perm(n);
    std::iota(perm.begin(), perm.end(), 0);
    std::vector<Keys> keys(n);
    for (int Keys::*column : {&Keys::name, &Keys::ext, &Keys::time}) {
        std::shuffle(perm.begin(), perm.end(), rng);
        for (int k = 0; k < n; ++k) {
            const int value = shape == Shape::AllEqual        ? 0
                              : shape == Shape::HalfDuplicate ? perm[k] / 2
                                                              : perm[k];
            keys[k].*column = value;
        }
    }
    const bool fewExtensions =
        shape == Shape::Random || shape == Shape::Ordered || shape == Shape::Reversed;
    std::vector<FileRecord> records;
    for (int k = 0; k < n; ++k)
        records.push_back(recordFor(keys[k], k, fewExtensions));
    if (shape == Shape::Ordered || shape == Shape::Reversed) {
        const int sign = shape == Shape::Ordered ? 1 : -1;
        std::stable_sort(records.begin(), records.end(), [&](const auto& a, const auto& b) {
            return sign * compareFor(order, a, b) < 0;
        });
    }
    return records;
}

// The baseline: std::sort of the same keys, held in a plain vector.
double baselineMs(int order, const std::vector<FileRecord>& input)
{
    if (order >= DateOldToNew) {
        std::vector<quint64> times, work;
        for (const auto& record : input)
            times.push_back(record.WriteTime);
        return medianMs(
            7, [&] { work = times; },
            [&] {
                if (order == DateOldToNew)
                    std::sort(work.begin(), work.end());
                else
                    std::sort(work.begin(), work.end(), std::greater<>());
            });
    }
    using KeyPair = std::pair<QString, QString>;
    std::vector<KeyPair> pairs, work;
    for (const auto& record : input)
        pairs.emplace_back(order <= NameDescending ? QString() : record.ExtKey, record.NameKey);
    return medianMs(
        7, [&] { work = pairs; },
        [&] {
            if (order % 2 == 0)
                std::sort(work.begin(), work.end());
            else
                std::sort(work.begin(), work.end(), std::greater<>());
        });
}

} // namespace

void benchSorts(BenchTable& table)
{
    std::mt19937 rng(32767);
    for (int order = 0; order < 6; ++order) {
        for (int s = 0; s < 5; ++s) {
            const auto input = makeInput(Shape(s), order, rng);
            Catalogue catalogue;
            const double ms = medianMs(
                7, [&] { catalogue.FileRecords = input; },
                [&] { sortCatalogue(catalogue, order); });
            table.add(QStringLiteral("sort %1, %2").arg(kOrderNames[order], kShapeNames[s]), ms,
                      baselineMs(order, input), 20);
        }
    }
}

} // namespace pellory::bench
