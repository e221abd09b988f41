#include "PlainSort.h"
#include "catalogue/RangeSort.h"
#include "catalogue/SortOrders.h"

#include <QTest>

#include <algorithm>
#include <numeric>
#include <random>

using namespace pellory;
using namespace pellory::test;

namespace {

using RangeSortFn = void (*)(Catalogue&, qint32, qint32);
const RangeSortFn kRangeSorts[6] = {SortNameAsc, SortNameDesc, SortExtAsc,
                                    SortExtDesc, SortDateAsc,  SortDateDesc};

// Random keys, each tooth of count / teeth keys sorted (teeth 0: none), then some random
// swaps. Nearly sorted and sawtooth inputs make the sort skip long stretches of positions
// after it has swapped inside them, which is where a stale index would show.
std::vector<int> keyColumn(std::mt19937& rng, int count, int distinct, int teeth, int swaps)
{
    std::vector<int> column(static_cast<size_t>(count));
    for (int& key : column)
        key = std::uniform_int_distribution<int>(0, distinct - 1)(rng);
    const int tooth = std::max(1, count / std::max(1, teeth));
    for (int first = 0; teeth && first < count; first += tooth)
        std::sort(column.begin() + first, column.begin() + std::min(count, first + tooth));
    for (int n = count * swaps / 100; n > 0; --n)
        std::swap(column[rng() % count], column[rng() % count]);
    return column;
}

// The name order from the ranks alone with walking turned off, so that every stop of
// every partition comes from the index of ranks and every swap must keep it current.
QString indexOnlyOrder(const std::vector<int>& keys)
{
    std::vector<qint32> ranks(keys.begin(), keys.end()), items(keys.size());
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
    QTest::addColumn<int>("teeth");
    QTest::addColumn<int>("swaps"); // per hundred keys
    QTest::addColumn<int>("trials");
    // clang-format off
    QTest::newRow("small, many ties") << 0 << 12 << 3 << 0 << 0 << 400;
    QTest::newRow("all equal keys") << 150 << 300 << 1 << 0 << 0 << 20;
    QTest::newRow("mostly distinct") << 0 << 400 << 100000 << 0 << 0 << 20;
    QTest::newRow("ascending with ties") << 1000 << 2000 << 700 << 1 << 0 << 6;
    QTest::newRow("nearly sorted with ties") << 1000 << 2000 << 600 << 1 << 2 << 6;
    QTest::newRow("sawtooth with ties") << 1000 << 2000 << 300 << 7 << 0 << 6;
    QTest::newRow("40000 records, past 16-bit positions") << 40000 << 40000 << 9000 << 0 << 0 << 1;
    // clang-format on
}

// Every range sort on a random sub-range, every sort order on the whole catalogue, and
// the name order once more from the index alone. The file name is the scan position, so
// that the order of equal keys shows in the result.
void TestRangeSort::randomInputs()
{
    QFETCH(int, minCount);
    QFETCH(int, maxCount);
    QFETCH(int, distinct);
    QFETCH(int, teeth);
    QFETCH(int, swaps);
    QFETCH(int, trials);
    std::mt19937 rng(20261205u + quint32(maxCount) * 31u + quint32(distinct));
    for (int trial = 0; trial < trials && !QTest::currentTestFailed(); ++trial) {
        const int count = std::uniform_int_distribution<int>(minCount, maxCount)(rng);
        std::vector<int> columns[3];
        for (auto& column : columns)
            column = keyColumn(rng, count, distinct, teeth, swaps);
        std::vector<FileRecord> input(static_cast<size_t>(count));
        for (int k = 0; k < count; ++k) {
            input[k].FileName = QString::number(k);
            // Zero-padded, so that the text order of the keys is their numeric order.
            input[k].NameKey = QString::asprintf("K%07d", columns[0][k]);
            input[k].ExtKey = QString::asprintf("K%07d", columns[1][k]);
            input[k].WriteTime = quint64(columns[2][k]);
        }
        for (int whichSort = 0; whichSort < 6; ++whichSort) {
            qint32 lo = 1, hi = count;
            if (count > 0 && trial % 2 == 1) {
                lo = std::uniform_int_distribution<qint32>(1, count)(rng);
                hi = std::uniform_int_distribution<qint32>(lo, count)(rng);
            }
            compare(input, whichSort, lo, hi);
            compare(input, whichSort, 0, 0);
        }
        plainRangeSort(input, 0, 1, count);
        QCOMPARE(indexOnlyOrder(columns[0]), fileNames(input).join(','));
    }
}

void TestRangeSort::everySmallInput_data()
{
    QTest::addColumn<int>("order");
    for (int order = 0; order < 6; ++order)
        QTest::addRow("order %d", order) << order;
}

// Every catalogue of up to six records whose keys come from three values: names from
// "A", "B", "C", extensions and write times from the same digits read differently, so
// that extension runs hold names in every arrangement.
void TestRangeSort::everySmallInput()
{
    QFETCH(int, order);
    for (int count = 0, all = 1; count <= 6 && !QTest::currentTestFailed(); ++count, all *= 3) {
        for (int code = 0; code < all && !QTest::currentTestFailed(); ++code) {
            std::vector<FileRecord> input(static_cast<size_t>(count));
            for (int k = 0, digits = code; k < count; ++k, digits /= 3) {
                input[k].FileName = QString::number(k);
                input[k].NameKey = QString(QChar(u'A' + digits % 3));
                input[k].ExtKey = QString(QChar(u'A' + (digits % 3 + k) % 3));
                input[k].WriteTime = quint64(2 - digits % 3);
            }
            compare(input, order, 0, 0);
            if (order == 2 || order == 3)
                compare(input, order, 1, count);
        }
    }
}

QTEST_GUILESS_MAIN(TestRangeSort)
#include "tst_rangesort.moc"
