#include "PlainSort.h"
#include "catalogue/RangeSort.h"
#include "catalogue/SortOrders.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

using namespace pellory;
using namespace pellory::test;

namespace {

using RangeSortFn = void (*)(Catalogue&, qint32, qint32);
const RangeSortFn kRangeSorts[6] = {SortNameAsc, SortNameDesc, SortExtAsc,
                                    SortExtDesc, SortDateAsc,  SortDateDesc};

// Nearly sorted and sawtooth inputs make the sort skip long stretches of positions after
// it has swapped inside them, which is where a stale index would show.
enum class Shape
{
    Random,
    Ascending,
    Descending,
    NearlySorted,
    Sawtooth
};

// Zero-padded, so that the text order of the keys is their numeric order.
QString keyText(int k)
{
    return QStringLiteral("K%1").arg(k, 7, 10, QLatin1Char(u'0'));
}

std::vector<int> keyColumn(std::mt19937& rng, int count, int distinct, Shape shape)
{
    std::uniform_int_distribution<int> pick(0, distinct - 1);
    std::vector<int> column;
    for (int k = 0; k < count; ++k)
        column.push_back(pick(rng));
    if (shape == Shape::Ascending)
        std::sort(column.begin(), column.end());
    if (shape == Shape::Descending)
        std::sort(column.begin(), column.end(), std::greater<>());
    if (shape == Shape::NearlySorted) {
        std::sort(column.begin(), column.end());
        for (int swaps = count / 50; swaps > 0; --swaps)
            std::swap(column[rng() % count], column[rng() % count]);
    }
    if (shape == Shape::Sawtooth) {
        const int tooth = std::max(1, count / 7);
        for (int first = 0; first < count; first += tooth)
            std::sort(column.begin() + first, column.begin() + std::min(count, first + tooth));
    }
    return column;
}

// Records whose three keys are the three columns; the file name is the scan position,
// so that the order of equal keys shows in the result.
std::vector<FileRecord> makeRecords(const std::vector<int> (&columns)[3])
{
    std::vector<FileRecord> records(columns[0].size());
    for (size_t k = 0; k < records.size(); ++k) {
        records[k].FileName = QString::number(k);
        records[k].NameKey = keyText(columns[0][k]);
        records[k].ExtKey = keyText(columns[1][k]);
        records[k].WriteTime = quint64(columns[2][k]);
    }
    return records;
}

// The name order from the ranks alone with walking turned off, so that every stop of
// every partition comes from the index of ranks and every swap must keep it current.
QString indexOnlyOrder(const std::vector<int>& keys)
{
    std::vector<qint32> ranks(keys.begin(), keys.end());
    std::vector<qint32> items(keys.size());
    std::iota(items.begin(), items.end(), 0);
    partitionSort(ranks, items, PartitionTuning{0, 0, 0});
    QStringList order;
    for (const qint32 item : items)
        order.append(QString::number(item));
    return order.join(',');
}

// One range sort on lo..hi, or with lo 0 the whole sort order `which`, fast against plain.
void compare(const std::vector<FileRecord>& input, int which, qint32 lo, qint32 hi)
{
    Catalogue fast;
    fast.FileRecords = input;
    std::vector<FileRecord> plain = input;
    if (lo == 0) {
        sortCatalogue(fast, which);
        plainSortFiles(plain, which);
    } else {
        kRangeSorts[which](fast, lo, hi);
        plainRangeSort(plain, which, lo, hi);
    }
    QCOMPARE(fileNames(fast.FileRecords).join(','), fileNames(plain).join(','));
}

} // namespace

class TestRangeSort : public QObject
{
    Q_OBJECT

private slots:
    void randomInputs_data();
    void randomInputs();
    void everySmallInput_data();
    void everySmallInput();
};

void TestRangeSort::randomInputs_data()
{
    QTest::addColumn<int>("minCount");
    QTest::addColumn<int>("maxCount");
    QTest::addColumn<int>("distinct");
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<int>("trials");

    // clang-format off
    QTest::newRow("small, many ties") << 0 << 12 << 3 << Shape::Random << 400;
    QTest::newRow("all equal keys") << 150 << 300 << 1 << Shape::Random << 20;
    QTest::newRow("mostly distinct") << 0 << 400 << 100000 << Shape::Random << 20;
    QTest::newRow("ascending with ties") << 1000 << 2000 << 700 << Shape::Ascending << 6;
    QTest::newRow("descending distinct") << 750 << 1500 << 1000000 << Shape::Descending << 4;
    QTest::newRow("nearly sorted with ties") << 1000 << 2000 << 600 << Shape::NearlySorted << 6;
    QTest::newRow("sawtooth with ties") << 1000 << 2000 << 300 << Shape::Sawtooth << 6;
    QTest::newRow("40000 records, past 16-bit positions") << 40000 << 40000 << 9000 << Shape::Random << 1;
    // clang-format on
}

// Every range sort on a random sub-range, every sort order on the whole catalogue, and
// the name order once more from the index alone.
void TestRangeSort::randomInputs()
{
    QFETCH(int, minCount);
    QFETCH(int, maxCount);
    QFETCH(int, distinct);
    QFETCH(Shape, shape);
    QFETCH(int, trials);

    std::mt19937 rng(20261205u + quint32(maxCount) * 31u + quint32(distinct));
    for (int trial = 0; trial < trials && !QTest::currentTestFailed(); ++trial) {
        const int count = std::uniform_int_distribution<int>(minCount, maxCount)(rng);
        const std::vector<int> columns[3] = {keyColumn(rng, count, distinct, shape),
                                             keyColumn(rng, count, distinct, shape),
                                             keyColumn(rng, count, distinct, shape)};
        const auto input = makeRecords(columns);
        for (int whichSort = 0; whichSort < 6; ++whichSort) {
            qint32 lo = 1;
            qint32 hi = count;
            if (count > 0 && trial % 2 == 1) {
                lo = std::uniform_int_distribution<qint32>(1, count)(rng);
                hi = std::uniform_int_distribution<qint32>(lo, count)(rng);
            }
            compare(input, whichSort, lo, hi);
            compare(input, whichSort, 0, 0);
        }
        std::vector<FileRecord> plain = input;
        plainRangeSort(plain, 0, 1, count);
        QCOMPARE(indexOnlyOrder(columns[0]), fileNames(plain).join(','));
    }
}

void TestRangeSort::everySmallInput_data()
{
    QTest::addColumn<int>("order");
    for (int order = 0; order < 6; ++order)
        // clang-format off
        QTest::addRow("order %d", order) << order;
    // clang-format on
}

// Every catalogue of up to six records whose keys come from three values: names from
// "A", "B", "C", extensions and write times from the same digits read differently, so
// that extension runs hold names in every arrangement.
void TestRangeSort::everySmallInput()
{
    QFETCH(int, order);
    for (int count = 0; count <= 6; ++count) {
        for (int code = 0, all = int(std::pow(3, count)); code < all; ++code) {
            std::vector<FileRecord> input(static_cast<size_t>(count));
            int digits = code;
            for (int k = 0; k < count; ++k, digits /= 3) {
                const int digit = digits % 3;
                input[k].FileName = QString::number(k);
                input[k].NameKey = QString(QChar(u'A' + digit));
                input[k].ExtKey = QString(QChar(u'A' + (digit + k) % 3));
                input[k].WriteTime = quint64(2 - digit);
            }
            compare(input, order, 0, 0);
            if (order == 2 || order == 3)
                compare(input, order, 1, count);
            if (QTest::currentTestFailed())
                return;
        }
    }
}

QTEST_GUILESS_MAIN(TestRangeSort)
#include "tst_rangesort.moc"
