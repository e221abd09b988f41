// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

// The six sort orders on the record arrangements that decide a partition sort's cost
// (random, already in order, reversed, all keys equal, every key twice), each against
// std::sort of the same keys in the same arrangement. The window's sort steps only ever
// see a camera folder, whose keys all rise together; these rows see the rest.

#include "BenchRunner.h"

#include "catalogue/SortOrders.h"

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <iterator>
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

const char* const kShapeNames[] = {"random", "in order", "reversed", "all equal", "half duplicate"};
const char* const kOrderNames[] = {"Name (A to Z)", "Name (Z to A)",     "Ext (A to Z)",
                                   "Ext (Z to A)",  "Date (Old to New)", "Date (New to Old)"};

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
    const SortOrder& sort = kSortOrders[size_t(order)];
    int c = 0;
    if (sort.key == SortKey::Ext)
        c = QString::compare(a.ExtKey, b.ExtKey);
    if (c == 0 && sort.key != SortKey::Date)
        c = QString::compare(a.NameKey, b.NameKey);
    if (sort.key == SortKey::Date)
        c = a.WriteTime < b.WriteTime ? -1 : (a.WriteTime > b.WriteTime ? 1 : 0);
    return sort.descending ? -c : c;
}

std::vector<FileRecord> makeInput(Shape shape, int order, int count, std::mt19937& rng)
{
    std::vector<int> perm(count);
    std::iota(perm.begin(), perm.end(), 0);
    std::vector<Keys> keys(count);
    for (int Keys::*column : {&Keys::name, &Keys::ext, &Keys::time}) {
        std::shuffle(perm.begin(), perm.end(), rng);
        for (int k = 0; k < count; ++k) {
            keys[k].*column = shape == Shape::AllEqual        ? 0
                              : shape == Shape::HalfDuplicate ? perm[k] / 2
                                                              : perm[k];
        }
    }
    const bool fewExtensions =
        shape == Shape::Random || shape == Shape::Ordered || shape == Shape::Reversed;
    std::vector<FileRecord> records;
    for (int k = 0; k < count; ++k)
        records.push_back(recordFor(keys[k], k, fewExtensions));
    if (shape == Shape::Ordered || shape == Shape::Reversed) {
        const int sign = shape == Shape::Ordered ? 1 : -1;
        std::stable_sort(records.begin(), records.end(), [&](const auto& a, const auto& b) {
            return sign * compareFor(order, a, b) < 0;
        });
    }
    return records;
}

double timedMs(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

// The floor: std::sort of the keys `order` compares, held in a plain vector.
double stdSortMs(int order, const std::vector<FileRecord>& input)
{
    const SortOrder& sort = kSortOrders[size_t(order)];
    const bool descending = sort.descending;
    if (sort.key == SortKey::Date) {
        std::vector<quint64> times;
        for (const auto& record : input)
            times.push_back(record.WriteTime);
        return timedMs([&] {
            descending ? std::sort(times.begin(), times.end(), std::greater<>())
                       : std::sort(times.begin(), times.end());
        });
    }
    std::vector<std::pair<QString, QString>> pairs;
    for (const auto& record : input)
        pairs.emplace_back(sort.key == SortKey::Name ? QString() : record.ExtKey, record.NameKey);
    return timedMs([&] {
        descending ? std::sort(pairs.begin(), pairs.end(), std::greater<>())
                   : std::sort(pairs.begin(), pairs.end());
    });
}

StepLine sortStep(int order, Shape shape, const std::vector<FileRecord>& input)
{
    Catalogue catalogue;
    catalogue.FileRecords = input;
    StepLine line;
    line.name = QStringLiteral("sort %1, %2").arg(kOrderNames[order], kShapeNames[int(shape)]);
    line.ms = timedMs([&] { sortCatalogue(catalogue, order); });
    line.floorMs = stdSortMs(order, input);
    const auto& sorted = catalogue.FileRecords;
    const auto wrong = std::adjacent_find(sorted.begin(), sorted.end(), [&](auto& a, auto& b) {
        return compareFor(order, a, b) > 0;
    });
    if (sorted.size() != input.size() || wrong != sorted.end()) {
        line.ok = false;
        line.note = QStringLiteral("out of order at record %1").arg(wrong - sorted.begin());
    }
    return line;
}

} // namespace

Samples sortShapes(const Size& size)
{
    Samples samples;
    samples.place = {QStringLiteral("sort orders in memory"), QString(), 0};
    samples.size = size;
    std::mt19937 rng(32767);
    // The orders named above, whose keys every record holds without reading its file.
    for (int order = 0; order < int(std::size(kOrderNames)); ++order) {
        for (const Shape shape : {Shape::Random, Shape::Ordered, Shape::Reversed, Shape::AllEqual,
                                  Shape::HalfDuplicate}) {
            const auto input = makeInput(shape, order, size.count, rng);
            for (int run = 0; run < size.runs; ++run)
                samples.add(sortStep(order, shape, input));
        }
    }
    return samples;
}

} // namespace pellory::bench
